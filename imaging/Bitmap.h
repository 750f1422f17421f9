// Decoded pictures in a form no toolkit owns: 32-bit pixels, and for animations the frames with their
// positions, delays and disposal as the file gives them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace imaging {

// A picture that cannot be read or decoded.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Pixels as 0xAARRGGBB, rows top to bottom, no padding. Alpha is 0 (transparent) or 255 for every
// decoder here.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Bitmap() = default;
  Bitmap(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
  uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline constexpr uint32_t Opaque(uint8_t r, uint8_t g, uint8_t b) {
  return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// What happens to a frame's area before the next frame is drawn.
enum class Disposal { Unspecified, Keep, Background, Previous };

struct Frame {
  int left = 0;  // position on the picture's canvas
  int top = 0;
  Bitmap image;  // the frame's own rectangle; transparent pixels have alpha 0
  int delayMs = 0;
  Disposal disposal = Disposal::Unspecified;
  bool transparent = false;  // the frame names a transparent colour
};

// A decoded file: one frame for still pictures, every frame for an animation.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Frame> frames;
  int loopCount = -1;  // "NETSCAPE2.0" count: 0 forever, n that many loops; -1 when the file gives none
  bool IsAnimated() const { return frames.size() > 1; }
};

// Decoders refuse pictures with more pixels than this (per frame and canvas), so a hostile header
// cannot demand gigabytes.
struct DecodeLimits {
  int64_t maxPixels = int64_t(1) << 26;
};

// Raises EInvalidGraphic when a picture's size is zero or larger than the limits allow.
void CheckSize(int64_t width, int64_t height, const DecodeLimits& limits);

// Draws the frames of an animation in turn onto the canvas, honouring each frame's disposal.
class FrameCompositor {
 public:
  explicit FrameCompositor(const Picture& picture);
  // The canvas showing frame index (clamped to the last); stepping backwards starts over from frame 0.
  const Bitmap& Show(size_t index);

 private:
  void Draw(size_t index);
  const Picture& picture_;
  Bitmap canvas_;
  Bitmap saved_;  // the area under the current frame, when it is to be restored
  size_t shown_ = 0;
  bool started_ = false;
};

}  // namespace imaging
