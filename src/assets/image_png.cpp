// PNG reading and writing through libpng.
//
// libpng reports errors by calling an error handler that must not return; ours
// records the message and jumps back with longjmp. Every libpng call that can fail
// therefore runs inside a small function that sets the jump target and holds no
// object with a destructor, so the jump never skips C++ clean-up: buffers and the
// file belong to the callers of those functions.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "assets/image.h"

namespace {

struct PngMessage {
  char text[200] = "";
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
  PngMessage* target = static_cast<PngMessage*>(png_get_error_ptr(png));
  if (target != nullptr) std::snprintf(target->text, sizeof target->text, "%s", message);
  png_longjmp(png, 1);
}

// Warnings (unknown or damaged ancillary chunks and the like) do not change the
// pixels; they are not worth a line on every load.
void OnPngWarning(png_structp, png_const_charp) {}

struct PngLayout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int channels = 0;
  size_t rowBytes = 0;
};

// Reads the header and chooses the conversions to 8-bit grey, RGB or RGBA.
bool ReadPngHeader(png_structp png, png_infop info, std::FILE* file, int maxSide,
                   PngLayout* layout) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (bitDepth == 16) png_set_scale_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  } else if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
    png_set_expand_gray_1_2_4_to_8(png);
  }
  // Grey with alpha has no layout of its own in a texture; it becomes RGBA.
  if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout->width = png_get_image_width(png, info);
  layout->height = png_get_image_height(png, info);
  layout->channels = png_get_channels(png, info);
  layout->rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadPngRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

bool WritePngRows(png_structp png, png_infop info, std::FILE* file, const Image* image,
                  png_bytepp rows, PngCompression compression) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  if (compression == PngCompression::kFast) {
    // zlib's fastest level with one cheap filter: a third of the time, files a little
    // larger. For the many frames of an offline capture.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  }
  const int colorType = image->bitsPerPixel == 8    ? PNG_COLOR_TYPE_GRAY
                        : image->bitsPerPixel == 24 ? PNG_COLOR_TYPE_RGB
                                                    : PNG_COLOR_TYPE_RGB_ALPHA;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->width),
               static_cast<png_uint_32>(image->height), 8, colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool DecodePngStream(std::FILE* file, const std::string& name, Image& image, int maxSide) {
  PngMessage message;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, OnPngError, OnPngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }

  PngLayout layout;
  bool ok = ReadPngHeader(png, info, file, maxSide, &layout);
  if (ok && !(layout.channels == 1 || layout.channels == 3 || layout.channels == 4)) {
    std::snprintf(message.text, sizeof message.text, "unsupported layout of %d channels",
                  layout.channels);
    ok = false;
  }
  if (ok && layout.rowBytes != static_cast<size_t>(layout.width) * layout.channels) {
    std::snprintf(message.text, sizeof message.text, "unexpected row size");
    ok = false;
  }
  Image decoded;
  if (ok) {
    decoded = Image::Allocate(static_cast<int>(layout.width), static_cast<int>(layout.height),
                              layout.channels * 8);
    // Row i of the file (top-down) lands in buffer row height - 1 - i (bottom-up).
    std::vector<png_bytep> rows(layout.height);
    for (png_uint_32 i = 0; i < layout.height; ++i) {
      rows[i] = decoded.pixels.get() + (layout.height - 1 - i) * layout.rowBytes;
    }
    ok = ReadPngRows(png, rows.data());
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    std::fprintf(stderr, "can't decode %s: %s\n", name.c_str(),
                 message.text[0] != '\0' ? message.text : "not a readable PNG file");
    return false;
  }
  image = std::move(decoded);
  return true;
}

bool DecodePng(const std::string& path, Image& image) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "can't open %s\n", path.c_str());
    return false;
  }
  const bool ok = DecodePngStream(file, path, image);
  std::fclose(file);
  return ok;
}

bool EncodePng(const std::string& path, const Image& image, PngCompression compression) {
  const int bpp = image.bitsPerPixel;
  if (image.width < 1 || image.height < 1 || image.pixels == nullptr ||
      !(bpp == 8 || bpp == 24 || bpp == 32)) {
    std::fprintf(stderr, "can't write %s: not an 8, 24 or 32-bit image\n", path.c_str());
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "can't open %s\n", path.c_str());
    return false;
  }
  PngMessage message;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, OnPngError, OnPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = info != nullptr;
  if (ok) {
    // The file is written top-down; the buffer's last row is the picture's top.
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (int i = 0; i < image.height; ++i) {
      rows[static_cast<size_t>(i)] =
          image.pixels.get() + static_cast<size_t>(image.height - 1 - i) * image.RowBytes();
    }
    ok = WritePngRows(png, info, file, &image, rows.data(), compression);
  }
  png_destroy_write_struct(&png, &info);
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::fprintf(stderr, "can't write %s: %s\n", path.c_str(),
                 message.text[0] != '\0' ? message.text : "write error");
    std::remove(path.c_str());
  }
  return ok;
}
