#include "tests/PictureEncoders.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

// libjpeg's header needs FILE and size_t declared first.
#include <gif_lib.h>
#include <jpeglib.h>

namespace testpictures {
namespace {

int WriteBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

void Check(int result) {
  if (result == GIF_ERROR) throw std::runtime_error("giflib could not write the test picture");
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> MakeGif(int width, int height, const std::vector<GifFrameData>& frames, int loopCount) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteBytes, &error);
  const GifColorType colours[] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  Check(EGifPutScreenDesc(gif, width, height, 2, 0, map));
  if (loopCount >= 0) {
    Check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE));
    Check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"));
    const uint8_t loop[] = {1, uint8_t(loopCount), uint8_t(loopCount >> 8)};
    Check(EGifPutExtensionBlock(gif, 3, loop));
    Check(EGifPutExtensionTrailer(gif));
  }
  for (const GifFrameData& f : frames) {
    GraphicsControlBlock gcb{f.disposal, false, f.delayCs, f.transparentIndex};
    GifByteType block[4];
    EGifGCBToExtension(&gcb, block);
    Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block));
    Check(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr));
    std::vector<int> rows;
    if (f.interlaced) {
      const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < f.height; y += steps[pass]) rows.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) rows.push_back(y);
    }
    for (int y : rows) {
      std::vector<GifPixelType> line(f.indexes.begin() + y * f.width, f.indexes.begin() + (y + 1) * f.width);
      Check(EGifPutLine(gif, line.data(), f.width));
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

std::vector<uint8_t> MakeJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = unsigned(width);
  cinfo.image_height = unsigned(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), {r, g, b});
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

std::vector<uint8_t> MakeBmp(int width, int height, int bitCount, const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& pixelData, uint32_t compression) {
  const uint32_t offset = 14 + 40 + 4 * uint32_t(palette.size());
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, offset + uint32_t(pixelData.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));
  out.insert(out.end(), {1, 0, uint8_t(bitCount), 0});
  Put32(out, compression);
  Put32(out, uint32_t(pixelData.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, uint32_t(palette.size()));
  Put32(out, 0);
  for (uint32_t colour : palette) Put32(out, colour);  // stored as B, G, R, 0
  out.insert(out.end(), pixelData.begin(), pixelData.end());
  return out;
}

}  // namespace testpictures
