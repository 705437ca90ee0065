#include "capture/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
const unsigned char kBackground[3] = {24, 24, 28};
const unsigned char kText[3] = {235, 235, 235};
constexpr int kLabelPixels = 15;
}  // namespace

ContactSheet::ContactSheet(int count, int frameWidth, int frameHeight)
    : count_(std::max(count, 1)), frameWidth_(std::max(frameWidth, 1)), frameHeight_(std::max(frameHeight, 1)) {
  // Roughly as wide as high in cells: six by four for 24 frames of a wide screen.
  columns_ = std::min(count_, static_cast<int>(std::ceil(std::sqrt(1.5 * count_))));
  rows_ = (count_ + columns_ - 1) / columns_;
  thumbWidth_ = std::min(kThumbnailWidth, frameWidth_);
  thumbHeight_ = std::max(1, static_cast<int>(std::lround(static_cast<double>(frameHeight_) * thumbWidth_ / frameWidth_)));
  const int width = kGap + columns_ * (thumbWidth_ + kGap);
  const int height = kGap + rows_ * (thumbHeight_ + kLabelBand + kGap);
  sheet_ = Image::Allocate(width, height, 24);
  for (std::size_t i = 0; i < sheet_.Bytes(); i += 3) std::memcpy(sheet_.pixels.get() + i, kBackground, 3);
}

int ContactSheet::CellX(int cell) const { return kGap + (cell % columns_) * (thumbWidth_ + kGap); }
int ContactSheet::CellY(int cell) const { return kGap + (cell / columns_) * (thumbHeight_ + kLabelBand + kGap); }

unsigned char* ContactSheet::At(int x, int yFromTop) {
  const int row = sheet_.height - 1 - yFromTop;
  return sheet_.pixels.get() + static_cast<std::size_t>(row) * sheet_.RowBytes() + static_cast<std::size_t>(x) * 3;
}

void ContactSheet::Place(int cell, const Image& frame, const std::string& label, const LabelRenderer& renderLabel) {
  if (cell < 0 || cell >= count_ || frame.pixels == nullptr || frame.bitsPerPixel != 24 ||
      frame.width != frameWidth_ || frame.height != frameHeight_) {
    return;
  }
  const int left = CellX(cell);
  const int top = CellY(cell);
  // Each thumbnail pixel is the mean of the frame pixels it covers.
  for (int ty = 0; ty < thumbHeight_; ++ty) {
    const int y0 = ty * frameHeight_ / thumbHeight_;
    const int y1 = std::max(y0 + 1, (ty + 1) * frameHeight_ / thumbHeight_);
    for (int tx = 0; tx < thumbWidth_; ++tx) {
      const int x0 = tx * frameWidth_ / thumbWidth_;
      const int x1 = std::max(x0 + 1, (tx + 1) * frameWidth_ / thumbWidth_);
      unsigned sum[3] = {0, 0, 0};
      for (int y = y0; y < y1; ++y) {
        // Frame rows are bottom-up; y counts from the top.
        const unsigned char* row = frame.pixels.get() + static_cast<std::size_t>(frameHeight_ - 1 - y) * frame.RowBytes();
        for (int x = x0; x < x1; ++x) {
          for (int c = 0; c < 3; ++c) sum[c] += row[x * 3 + c];
        }
      }
      const unsigned area = static_cast<unsigned>((y1 - y0) * (x1 - x0));
      unsigned char* out = At(left + tx, top + ty);
      for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>((sum[c] + area / 2) / area);
    }
  }

  LabelBitmap text;
  if (!renderLabel || !renderLabel(label, kLabelPixels, text) || text.width <= 0 || text.height <= 0 ||
      text.coverage.size() < static_cast<std::size_t>(text.width) * text.height) {
    return;
  }
  // Centred in the band under the thumbnail, clipped to the cell.
  const int bandTop = top + thumbHeight_;
  const int x0 = left + std::max(0, (thumbWidth_ - text.width) / 2);
  const int y0 = bandTop + std::max(0, (kLabelBand - text.height) / 2);
  for (int y = 0; y < text.height && y0 + y < bandTop + kLabelBand; ++y) {
    for (int x = 0; x < text.width && x0 + x < left + thumbWidth_; ++x) {
      const unsigned a = text.coverage[static_cast<std::size_t>(y) * text.width + x];
      unsigned char* out = At(x0 + x, y0 + y);
      for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>((kText[c] * a + out[c] * (255 - a) + 127) / 255);
    }
  }
}

std::string SheetLabel(double seconds) {
  char text[48];
  std::snprintf(text, sizeof text, "t = %.3f s", seconds);
  return text;
}
