#pragma once
// The contact sheet's labels, drawn with a DejaVu font through FreeType.
#include <string>

#include "capture/contact_sheet.h"

// Where Debian's fonts-dejavu-core puts the font.
constexpr char kLabelFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// A renderer over the font file; empty, with error set, when it cannot be opened (the
// sheet then has no labels).
LabelRenderer FontLabels(const std::string& fontPath, std::string& error);
