// Small picture files made in memory for decoder tests: GIFs through giflib's encoder, JPEGs through
// libjpeg's, bitmaps byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testpictures {

struct GifFrameData {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> indexes;  // width * height colour indexes, rows top to bottom
  int delayCs = 0;
  int disposal = 0;
  int transparentIndex = -1;
  bool interlaced = false;
};

// A GIF of the given screen size with a four-colour global table (black, red, green, blue).
std::vector<uint8_t> MakeGif(int width, int height, const std::vector<GifFrameData>& frames, int loopCount = -1);

// A baseline JPEG of one flat colour.
std::vector<uint8_t> MakeJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b);

// A bitmap file with an info header; rows given bottom-up as the format stores them, each already padded.
std::vector<uint8_t> MakeBmp(int width, int height, int bitCount, const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& pixelData, uint32_t compression = 0);

}  // namespace testpictures
