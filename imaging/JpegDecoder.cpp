// JPEG through libjpeg, to 24-bit colour. libjpeg reports fatal errors through a callback that must not
// return; it jumps back here, and the message becomes an EInvalidGraphic.
#include <csetjmp>
#include <cstdio>

// libjpeg's headers need FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "imaging/Decoders.h"

namespace imaging {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
  bool endedEarly = false;
};

void OnFatal(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1); }

// Warnings are not printed; the one for data that ends early is remembered, as a cut-off file is an error.
void OnMessage(j_common_ptr cinfo, int level) {
  auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF) errors->endedEarly = true;
}

std::string MessageOf(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  cinfo->err->format_message(cinfo, text);
  return std::string("JPEG: ") + text;
}

// Fills picture; returns an error text instead of raising, because this frame holds the jump target and
// nothing with a destructor may be skipped by the jump.
std::string Decode(jpeg_decompress_struct& cinfo, ErrorManager& errors, std::span<const uint8_t> bytes,
                   const DecodeLimits& limits, Picture& picture, std::vector<JSAMPLE>& row) {
  if (setjmp(errors.escape)) return MessageOf(reinterpret_cast<j_common_ptr>(&cinfo));
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  try {
    CheckSize(cinfo.image_width, cinfo.image_height, limits);
  } catch (const EInvalidGraphic& e) {
    return std::string("JPEG: ") + e.what();
  }
  jpeg_start_decompress(&cinfo);
  Bitmap& image = picture.frames.emplace_back().image;
  image = Bitmap(int(cinfo.output_width), int(cinfo.output_height));
  row.resize(size_t(cinfo.output_width) * size_t(cinfo.output_components));
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = int(cinfo.output_scanline);
    JSAMPROW rows[] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    for (int x = 0; x < image.width; ++x) {
      const JSAMPLE* p = row.data() + size_t(x) * size_t(cinfo.output_components);
      if (cmyk) {
        // Adobe writes CMYK inverted: each stored value is already 255 minus the ink.
        image.At(x, y) = Opaque(uint8_t(p[0] * p[3] / 255), uint8_t(p[1] * p[3] / 255), uint8_t(p[2] * p[3] / 255));
      } else {
        image.At(x, y) = Opaque(p[0], p[1], p[2]);
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  if (errors.endedEarly) return "JPEG: the file ends before the picture does";
  picture.width = image.width;
  picture.height = image.height;
  return {};
}

}  // namespace

Picture DecodeJpeg(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnFatal;
  errors.base.emit_message = OnMessage;
  Picture picture;
  std::vector<JSAMPLE> row;
  const std::string error = Decode(cinfo, errors, bytes, limits, picture, row);
  jpeg_destroy_decompress(&cinfo);
  if (!error.empty()) throw EInvalidGraphic(error);
  return picture;
}

}  // namespace imaging
