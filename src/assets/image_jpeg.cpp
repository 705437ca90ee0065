// JPEG reading and writing through libjpeg.
//
// libjpeg's standard error manager ends the process on a fatal error; ours prints
// the library's message through the manager's own output routine and jumps back to
// the decoder instead. As with PNG, the libjpeg calls that can fail run inside small
// functions that set the jump target and hold no object with a destructor; buffers,
// the file and the codec object belong to their callers.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "assets/image.h"

namespace {

struct JpegErrorManager {
  jpeg_error_mgr manager;  // first, so the library's pointer to it is a pointer to this
  std::jmp_buf jump;
};

[[noreturn]] void ExitToCaller(j_common_ptr codec) {
  (*codec->err->output_message)(codec);
  JpegErrorManager* errors = reinterpret_cast<JpegErrorManager*>(codec->err);
  std::longjmp(errors->jump, 1);
}

// Bytes of working memory libjpeg may take (progressive files keep every
// coefficient of the picture); beyond it the file is refused.
constexpr long kMaxJpegMemory = 1024L * 1024L * 1024L;

struct JpegLayout {
  int width = 0;
  int height = 0;
  int components = 0;
  bool invertedCmyk = false;
};

// Reads the header and starts decompression to RGB (grey files are widened by the
// library; CMYK files are converted by the caller, the library cannot).
bool StartJpegDecode(jpeg_decompress_struct* codec, JpegErrorManager* errors, std::FILE* file,
                     int maxSide, JpegLayout* layout) {
  if (setjmp(errors->jump)) return false;
  jpeg_stdio_src(codec, file);
  jpeg_read_header(codec, TRUE);
  if (codec->image_width > static_cast<JDIMENSION>(maxSide) ||
      codec->image_height > static_cast<JDIMENSION>(maxSide)) {
    return false;
  }
  const bool cmyk = codec->jpeg_color_space == JCS_CMYK || codec->jpeg_color_space == JCS_YCCK;
  codec->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  layout->invertedCmyk = cmyk && codec->saw_Adobe_marker;
  jpeg_start_decompress(codec);
  layout->width = static_cast<int>(codec->output_width);
  layout->height = static_cast<int>(codec->output_height);
  layout->components = codec->output_components;
  return true;
}

// Reads every scanline: the first goes to the last row of pixels (the top of the
// picture), each next one to the row below. row is a scratch row of the file's size.
bool ReadJpegRows(jpeg_decompress_struct* codec, JpegErrorManager* errors,
                  const JpegLayout* layout, unsigned char* pixels, unsigned char* row) {
  if (setjmp(errors->jump)) return false;
  const size_t outRowBytes = static_cast<size_t>(layout->width) * 3;
  for (int y = layout->height - 1; y >= 0; --y) {
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(codec, rows, 1) != 1) return false;
    unsigned char* out = pixels + static_cast<size_t>(y) * outRowBytes;
    if (layout->components == 3) {
      std::memcpy(out, row, outRowBytes);
      continue;
    }
    // CMYK to RGB. Adobe's files store the inks inverted (255 = no ink).
    for (int x = 0; x < layout->width; ++x) {
      const unsigned char* ink = row + static_cast<size_t>(x) * 4;
      for (int c = 0; c < 3; ++c) {
        const unsigned amount = layout->invertedCmyk ? ink[c] : 255u - ink[c];
        const unsigned black = layout->invertedCmyk ? ink[3] : 255u - ink[3];
        out[x * 3 + c] = static_cast<unsigned char>((amount * black + 127) / 255);
      }
    }
  }
  jpeg_finish_decompress(codec);
  return true;
}

bool WriteJpegRows(jpeg_compress_struct* codec, JpegErrorManager* errors, std::FILE* file,
                   const Image* image, int quality) {
  if (setjmp(errors->jump)) return false;
  jpeg_stdio_dest(codec, file);
  codec->image_width = static_cast<JDIMENSION>(image->width);
  codec->image_height = static_cast<JDIMENSION>(image->height);
  codec->input_components = image->bitsPerPixel / 8;
  codec->in_color_space = image->bitsPerPixel == 8 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(codec);
  jpeg_set_quality(codec, quality, TRUE);
  jpeg_start_compress(codec, TRUE);
  const size_t rowBytes = image->RowBytes();
  while (codec->next_scanline < codec->image_height) {
    // The buffer is bottom-up; the file starts with the top row.
    const size_t y = static_cast<size_t>(image->height) - 1 - codec->next_scanline;
    JSAMPROW rows[1] = {image->pixels.get() + y * rowBytes};
    jpeg_write_scanlines(codec, rows, 1);
  }
  jpeg_finish_compress(codec);
  return true;
}

}  // namespace

bool DecodeJpegStream(std::FILE* file, const std::string& name, Image& image, int maxSide) {
  jpeg_decompress_struct codec;
  JpegErrorManager errors;
  codec.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = ExitToCaller;
  jpeg_create_decompress(&codec);
  codec.mem->max_memory_to_use = kMaxJpegMemory;

  JpegLayout layout;
  bool ok = StartJpegDecode(&codec, &errors, file, maxSide, &layout);
  if (ok && !(layout.components == 3 || layout.components == 4)) ok = false;
  Image decoded;
  if (ok && layout.width > 0 && layout.height > 0) {
    decoded = Image::Allocate(layout.width, layout.height, 24);
    std::vector<unsigned char> row(static_cast<size_t>(layout.width) * layout.components);
    ok = ReadJpegRows(&codec, &errors, &layout, decoded.pixels.get(), row.data());
  } else {
    ok = false;
  }
  // libjpeg only warns about damaged data ("Premature end of JPEG file" for a file cut
  // short) and fills what is missing with grey; a picture with a grey band is still a
  // damaged file, and the caller is told so like for any other.
  if (codec.err->num_warnings > 0) ok = false;
  jpeg_destroy_decompress(&codec);
  if (!ok) {
    std::fprintf(stderr, "can't decode %s\n", name.c_str());
    return false;
  }
  image = std::move(decoded);
  return true;
}

bool DecodeJpeg(const std::string& path, Image& image) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "can't open %s\n", path.c_str());
    return false;
  }
  const bool ok = DecodeJpegStream(file, path, image);
  std::fclose(file);
  return ok;
}

bool EncodeJpeg(const std::string& path, const Image& image, int quality) {
  if (image.width < 1 || image.height < 1 || image.pixels == nullptr ||
      !(image.bitsPerPixel == 8 || image.bitsPerPixel == 24) || image.width > 65500 ||
      image.height > 65500) {
    std::fprintf(stderr, "can't write %s: not an 8 or 24-bit image\n", path.c_str());
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "can't open %s\n", path.c_str());
    return false;
  }
  jpeg_compress_struct codec;
  JpegErrorManager errors;
  codec.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = ExitToCaller;
  jpeg_create_compress(&codec);
  bool ok = WriteJpegRows(&codec, &errors, file, &image, std::clamp(quality, 1, 100));
  jpeg_destroy_compress(&codec);
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::fprintf(stderr, "can't write %s\n", path.c_str());
    std::remove(path.c_str());
  }
  return ok;
}
