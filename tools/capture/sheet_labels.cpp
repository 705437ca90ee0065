#include "capture/sheet_labels.h"

#include <memory>

#include "platform/tools/font.h"

LabelRenderer FontLabels(const std::string& fontPath, std::string& error) {
  auto face = std::make_shared<platform::FontFace>();
  if (!face->Open(fontPath, error)) return {};
  return [face](const std::string& text, int pixelHeight, LabelBitmap& label) {
    platform::TextBitmap line;
    if (!face->SetPixelSize(pixelHeight) || !face->RenderLine(text, line)) return false;
    label.width = line.width;
    label.height = line.height;
    label.coverage = std::move(line.coverage);
    return true;
  };
}
