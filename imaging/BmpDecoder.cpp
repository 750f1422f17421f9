// Windows bitmaps: the core and info headers (and their later versions), 1, 4, 8, 16, 24 and 32 bits per
// pixel, palettes, bit-field masks, and RLE4/RLE8 compression. Every read is bounds-checked.
#include <bit>

#include "imaging/Decoders.h"

namespace imaging {
namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

[[noreturn]] void Fail(const std::string& reason) { throw EInvalidGraphic("BMP: " + reason); }

struct Bytes {
  std::span<const uint8_t> data;
  uint32_t U8(size_t at) const {
    if (at >= data.size()) Fail("the file ends early");
    return data[at];
  }
  uint32_t U16(size_t at) const { return U8(at) | U8(at + 1) << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  int32_t S32(size_t at) const { return static_cast<int32_t>(U32(at)); }
};

// A channel described by a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m >> shift);
    // Wider channels keep their top eight bits.
    if (bits > 8) shift += bits - 8, bits = 8;
  }
  uint8_t Of(uint32_t pixel) const {
    if (!mask) return 0;
    const uint32_t v = ((pixel & mask) >> shift) & ((1u << bits) - 1);
    return uint8_t(v * 255 / ((1u << bits) - 1));
  }
};

struct Header {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = kRgb;
  uint32_t masks[4] = {};  // red, green, blue, alpha
  std::vector<uint32_t> palette;
};

Header ReadHeader(const Bytes& in, const DecodeLimits& limits) {
  Header h;
  const uint32_t size = in.U32(14);
  size_t paletteAt = 14 + size;
  int paletteEntry = 4;
  int64_t height = 0;
  if (size == 12) {  // the old core header
    h.width = int(in.U16(18));
    height = int16_t(in.U16(20));
    h.bitCount = int(in.U16(24));
    paletteEntry = 3;
  } else if (size >= 40 && size <= 124) {
    h.width = in.S32(18);
    height = in.S32(22);
    h.bitCount = int(in.U16(28));
    h.compression = in.U32(30);
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
      for (int i = 0; i < (h.compression == kAlphaBitFields ? 4 : 3); ++i) h.masks[i] = in.U32(54 + 4 * size_t(i));
      if (size == 40) paletteAt += h.compression == kAlphaBitFields ? 16 : 12;
      if (size >= 56) h.masks[3] = in.U32(66);
    }
  } else {
    Fail("unknown header size " + std::to_string(size));
  }
  h.topDown = height < 0;
  CheckSize(h.width, height < 0 ? -height : height, limits);
  h.height = int(height < 0 ? -height : height);
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      Fail("unsupported depth of " + std::to_string(h.bitCount) + " bits");
  }
  if ((h.compression == kRle8 && h.bitCount != 8) || (h.compression == kRle4 && h.bitCount != 4) ||
      h.compression > kAlphaBitFields || h.compression == 4 || h.compression == 5)
    Fail("unsupported compression " + std::to_string(h.compression));
  if (h.bitCount <= 8) {
    uint32_t count = size == 12 ? 0 : in.U32(46);
    if (count == 0 || count > (1u << h.bitCount)) count = 1u << h.bitCount;
    for (uint32_t i = 0; i < count; ++i) {
      const size_t at = paletteAt + size_t(i) * size_t(paletteEntry);
      // Some writers leave the palette short; missing entries are black.
      if (at + 2 >= in.data.size()) break;
      h.palette.push_back(Opaque(uint8_t(in.U8(at + 2)), uint8_t(in.U8(at + 1)), uint8_t(in.U8(at))));
    }
    h.palette.resize(size_t(1) << h.bitCount, Opaque(0, 0, 0));
  }
  if (h.bitCount == 16 && h.compression == kRgb) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
  }
  return h;
}

void ReadUncompressed(const Bytes& in, size_t offset, const Header& h, Bitmap& image) {
  const size_t stride = (size_t(h.width) * size_t(h.bitCount) + 31) / 32 * 4;
  if (offset + stride * size_t(h.height) > in.data.size()) Fail("the file ends early");
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  const bool masked = h.bitCount == 16 || (h.bitCount == 32 && h.compression != kRgb);
  for (int row = 0; row < h.height; ++row) {
    const int y = h.topDown ? row : h.height - 1 - row;
    const uint8_t* p = in.data.data() + offset + stride * size_t(row);
    for (int x = 0; x < h.width; ++x) {
      uint32_t& out = image.At(x, y);
      switch (h.bitCount) {
        case 1:
          out = h.palette[(p[x / 8] >> (7 - x % 8)) & 1];
          break;
        case 4:
          out = h.palette[(p[x / 2] >> (x % 2 ? 0 : 4)) & 15];
          break;
        case 8:
          out = h.palette[p[x]];
          break;
        case 24:
          out = Opaque(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
          break;
        default: {
          const uint32_t v =
              h.bitCount == 16
                  ? uint32_t(p[2 * x] | p[2 * x + 1] << 8)
                  : uint32_t(p[4 * x] | p[4 * x + 1] << 8 | p[4 * x + 2] << 16 | uint32_t(p[4 * x + 3]) << 24);
          if (!masked) {
            out = Opaque(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
          } else {
            // Alpha is kept as all or nothing, like every other decoder here.
            const bool clear = alpha.mask && alpha.Of(v) < 128;
            out = clear ? 0 : Opaque(red.Of(v), green.Of(v), blue.Of(v));
          }
        }
      }
    }
  }
}

// Run-length data: pixels not written stay transparent, as the format intends for skipped areas.
void ReadRunLength(const Bytes& in, size_t at, const Header& h, Bitmap& image) {
  const bool four = h.compression == kRle4;
  int x = 0, row = 0;
  auto put = [&](uint32_t index) {
    if (x < h.width && row < h.height) image.At(x, h.topDown ? row : h.height - 1 - row) = h.palette[index];
    ++x;
  };
  while (row < h.height) {
    const uint32_t count = in.U8(at), value = in.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i) put(four ? (i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++row;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      x += int(in.U8(at)), row += int(in.U8(at + 1));
      at += 2;
    } else {
      for (uint32_t i = 0; i < value; ++i) {
        const uint32_t byte = in.U8(at + (four ? i / 2 : i));
        put(four ? (i % 2 ? byte & 15 : byte >> 4) : byte);
      }
      const size_t used = four ? (value + 1) / 2 : value;
      at += (used + 1) / 2 * 2;  // runs of literal pixels are padded to a whole word
    }
  }
}

}  // namespace

Picture DecodeBmp(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  const Bytes in{bytes};
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') Fail("not a bitmap file");
  const Header h = ReadHeader(in, limits);
  const size_t offset = in.U32(10);
  if (offset >= bytes.size()) Fail("the file ends early");
  Picture picture;
  picture.width = h.width;
  picture.height = h.height;
  Bitmap& image = picture.frames.emplace_back().image;
  image = Bitmap(h.width, h.height);
  if (h.compression == kRle8 || h.compression == kRle4)
    ReadRunLength(in, offset, h, image);
  else
    ReadUncompressed(in, offset, h, image);
  return picture;
}

}  // namespace imaging
