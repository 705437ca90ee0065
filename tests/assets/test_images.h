#pragma once
// Image files written straight through libpng and libjpeg, rows top-down as the
// files store them, so the decoders' orientation and conversions are checked against
// something other than this project's own writers.
#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <png.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace test_images {

struct PngPicture {
  int width = 1;
  int height = 1;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS entries for a palette image
  std::vector<std::vector<png_byte>> rows;  // top row first, as stored in the file
};

inline void WritePng(const std::string& path, const PngPicture& picture) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("can't create " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw std::runtime_error("libpng failed on " + path);
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) {
    png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
  }
  if (!picture.paletteAlpha.empty()) {
    png_set_tRNS(png, info, picture.paletteAlpha.data(), static_cast<int>(picture.paletteAlpha.size()),
                 nullptr);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& row : picture.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// components 1 (grey), 3 (RGB) or 4 (CMYK, stored inverted as Adobe writes it).
inline void WriteJpeg(const std::string& path, int width, int height, int components,
                      const std::vector<unsigned char>& topDownPixels, int quality = 95) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("can't create " + path);
  jpeg_compress_struct codec;
  jpeg_error_mgr errors;
  codec.err = jpeg_std_error(&errors);
  jpeg_create_compress(&codec);
  jpeg_stdio_dest(&codec, file);
  codec.image_width = width;
  codec.image_height = height;
  codec.input_components = components;
  codec.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&codec);
  jpeg_set_quality(&codec, quality, TRUE);
  jpeg_start_compress(&codec, TRUE);
  while (codec.next_scanline < codec.image_height) {
    JSAMPROW row[1] = {const_cast<unsigned char*>(topDownPixels.data()) +
                       static_cast<size_t>(codec.next_scanline) * width * components};
    jpeg_write_scanlines(&codec, row, 1);
  }
  jpeg_finish_compress(&codec);
  jpeg_destroy_compress(&codec);
  std::fclose(file);
}

// A width × height JPEG of one colour.
inline void WriteSolidJpeg(const std::string& path, int width, int height, unsigned char r,
                           unsigned char g, unsigned char b) {
  std::vector<unsigned char> pixels;
  for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {r, g, b});
  WriteJpeg(path, width, height, 3, pixels);
}

}  // namespace test_images
