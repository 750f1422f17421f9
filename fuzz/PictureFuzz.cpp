// The picture decoders over arbitrary bytes, chosen by signature as the preview does, and when the
// signature names none, by the first byte. Every decoded picture must be whole: each frame's pixels
// match its size, and composing every frame stays inside the canvas.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imaging/Decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  imaging::PictureKind kind = imaging::KindBySignature(bytes);
  if (kind == imaging::PictureKind::Unknown && !bytes.empty()) {
    kind = static_cast<imaging::PictureKind>(1 + bytes[0] % 3);
    bytes = bytes.subspan(1);
  }
  try {
    const imaging::Picture picture = imaging::Decode(kind, bytes, imaging::DecodeLimits{int64_t(1) << 20});
    if (picture.frames.empty() || picture.width <= 0 || picture.height <= 0) std::abort();
    for (const imaging::Frame& frame : picture.frames)
      if (frame.image.pixels.size() != size_t(frame.image.width) * size_t(frame.image.height)) std::abort();
    imaging::FrameCompositor compositor(picture);
    const imaging::Bitmap& last = compositor.Show(picture.frames.size() - 1);
    if (last.width != picture.width || last.height != picture.height) std::abort();
  } catch (const imaging::EInvalidGraphic&) {
  }
  return 0;
}
