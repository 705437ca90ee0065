#pragma once
// The soundtrack of the demo, synthesised and encoded at build time.
#include <string>

namespace datagen {

// Renders the whole soundtrack and writes it as an MP3 (with the encoder's information
// frame, so the stream knows its exact length) to path. False with error set when the
// file cannot be written.
bool WriteSoundtrack(const std::string& path, std::string& error);

}  // namespace datagen
