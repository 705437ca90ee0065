#pragma once
// The look shared by the demo's pictures: one palette and a few text styles, so the
// title cards, greetings, credits, monitors and loading screen belong together.
#include "datagen/texture/text.h"

namespace datagen::style {

constexpr Color kInk{0.92f, 0.97f, 1.0f};         // near-white text
constexpr Color kCyan{0.35f, 0.85f, 1.0f};        // the glow of screens and signs
constexpr Color kAmber{1.0f, 0.66f, 0.18f};       // warnings, accents
constexpr Color kDeep{0.02f, 0.035f, 0.05f};      // backgrounds
constexpr Color kBarBlue = Color::Bytes(22, 160, 252);  // the loading bar

// The group behind the demo and the demo's title, as the cards spell them.
constexpr const char* kGroup = "LOWTIDE";
constexpr const char* kTitle = "DRIFT";

}  // namespace datagen::style
