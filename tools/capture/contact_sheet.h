#pragma once
// One picture of many frames: small copies of the frames in a grid, left to right and
// top to bottom, each with its label (the frame's time) in a band under it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "assets/image.h"

// A label's coverage, 0 (background) to 255 (text), rows top-down.
struct LabelBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};
// Renders one line of text; false when it cannot (the band stays empty).
using LabelRenderer = std::function<bool(const std::string& text, int pixelHeight, LabelBitmap& label)>;

class ContactSheet {
 public:
  // Thumbnails at most this wide (never wider than the frames).
  static constexpr int kThumbnailWidth = 320;
  static constexpr int kGap = 8;
  static constexpr int kLabelBand = 24;

  // A sheet with `count` cells for frames of frameWidth × frameHeight.
  ContactSheet(int count, int frameWidth, int frameHeight);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int ThumbnailWidth() const { return thumbWidth_; }
  int ThumbnailHeight() const { return thumbHeight_; }

  // Puts a frame (24 bits, bottom-up, the size given above) into a cell with its label.
  void Place(int cell, const Image& frame, const std::string& label, const LabelRenderer& renderLabel);
  // The sheet so far (24 bits, bottom-up, as the image writers take it).
  const Image& Picture() const { return sheet_; }

 private:
  // Top-left corner of a cell's thumbnail, counted from the sheet's top.
  int CellX(int cell) const;
  int CellY(int cell) const;
  unsigned char* At(int x, int yFromTop);

  int count_;
  int frameWidth_;
  int frameHeight_;
  int columns_ = 1;
  int rows_ = 1;
  int thumbWidth_ = 1;
  int thumbHeight_ = 1;
  Image sheet_;
};

// The label of a frame: its timeline time, "t = 123.450 s".
std::string SheetLabel(double seconds);
