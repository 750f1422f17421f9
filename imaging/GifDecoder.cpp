// GIF through giflib's record reader, so each frame's size is checked before its pixels are allocated.
#include <gif_lib.h>

#include <cstring>
#include <memory>

#include "imaging/Decoders.h"

namespace imaging {
namespace {

struct Reader {
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* reader = static_cast<Reader*>(gif->UserData);
  const size_t n = std::min(size_t(std::max(length, 0)), reader->bytes.size() - reader->offset);
  if (n == 0) return 0;  // an empty input has no data pointer to copy from
  std::memcpy(out, reader->bytes.data() + reader->offset, n);
  reader->offset += n;
  return int(n);
}

struct CloseGif {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

[[noreturn]] void Fail(int error) {
  const char* text = GifErrorString(error);
  throw EInvalidGraphic(std::string("GIF: ") + (text ? text : "unreadable data"));
}

// What a graphic control extension says about the next frame.
struct Control {
  int delayMs = 0;
  Disposal disposal = Disposal::Unspecified;
  int transparentIndex = -1;
};

Control ReadControl(const GifByteType* block) {
  Control c;
  if (block[0] < 4) return c;
  const int packed = block[1];
  c.disposal = static_cast<Disposal>(std::min((packed >> 2) & 7, 3));
  c.delayMs = (block[2] | block[3] << 8) * 10;
  if (packed & 1) c.transparentIndex = block[4];
  return c;
}

// The rows of an interlaced frame arrive in four passes.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = starts[pass]; y < height; y += steps[pass]) rows.push_back(y);
  return rows;
}

Frame ReadFrame(GifFileType* gif, const Control& control, const DecodeLimits& limits) {
  const GifImageDesc& desc = gif->Image;
  CheckSize(desc.Width, desc.Height, limits);
  Frame frame;
  frame.left = desc.Left;
  frame.top = desc.Top;
  frame.delayMs = control.delayMs;
  frame.disposal = control.disposal;
  frame.transparent = control.transparentIndex >= 0;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  uint32_t palette[256];
  for (int i = 0; i < 256; ++i) {
    // Indexes past the colour table are shown black, as browsers do.
    const bool known = map && i < map->ColorCount;
    palette[i] = known ? Opaque(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue) : Opaque(0, 0, 0);
  }
  if (frame.transparent) palette[control.transparentIndex] = 0;
  frame.image = Bitmap(desc.Width, desc.Height);
  std::vector<GifPixelType> line(size_t(desc.Width));
  for (int y : RowOrder(desc.Height, desc.Interlace)) {
    if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) Fail(gif->Error);
    for (int x = 0; x < desc.Width; ++x) frame.image.At(x, y) = palette[line[size_t(x)]];
  }
  return frame;
}

// Application extensions: "NETSCAPE2.0" (or its "ANIMEXTS1.0" twin) carries the loop count.
void ReadApplication(GifFileType* gif, GifByteType* block, Picture& picture) {
  const bool looping =
      block && block[0] == 11 &&
      (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
  while (true) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) Fail(gif->Error);
    if (!block) return;
    if (looping && block[0] >= 3 && block[1] == 1) picture.loopCount = block[2] | block[3] << 8;
  }
}

}  // namespace

Picture DecodeGif(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  Reader reader{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, CloseGif> gif(DGifOpen(&reader, ReadBytes, &error));
  if (!gif) Fail(error);
  Picture picture;
  picture.width = gif->SWidth;
  picture.height = gif->SHeight;
  Control control;
  // Many large frames are refused as a whole, not only one by one.
  int64_t framePixels = 0;
  GifRecordType record;
  do {
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
      // A file that simply stops after whole frames (no trailer) is shown as far as it goes.
      if (!picture.frames.empty() && reader.offset >= bytes.size()) break;
      Fail(gif->Error);
    }
    if (record == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif->Error);
      framePixels += int64_t(gif->Image.Width) * gif->Image.Height;
      if (framePixels > 4 * limits.maxPixels) throw EInvalidGraphic("GIF: the animation is too large");
      picture.frames.push_back(ReadFrame(gif.get(), control, limits));
      control = {};
    } else if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) Fail(gif->Error);
      if (code == APPLICATION_EXT_FUNC_CODE) {
        ReadApplication(gif.get(), block, picture);
        continue;
      }
      if (code == GRAPHICS_EXT_FUNC_CODE && block) control = ReadControl(block);
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) Fail(gif->Error);
      }
    }
  } while (record != TERMINATE_RECORD_TYPE);
  if (picture.frames.empty()) throw EInvalidGraphic("GIF: the file holds no image");
  // The canvas holds every frame, also frames that reach past the size the header gives.
  for (const Frame& f : picture.frames) {
    picture.width = std::max(picture.width, f.left + f.image.width);
    picture.height = std::max(picture.height, f.top + f.image.height);
  }
  CheckSize(picture.width, picture.height, limits);
  return picture;
}

}  // namespace imaging
