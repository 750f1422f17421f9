// Size checks and frame composition.
#include "imaging/Bitmap.h"

#include <algorithm>

namespace imaging {

void CheckSize(int64_t width, int64_t height, const DecodeLimits& limits) {
  if (width <= 0 || height <= 0) throw EInvalidGraphic("the picture has no pixels");
  if (width > limits.maxPixels / height)
    throw EInvalidGraphic("the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels)");
}

FrameCompositor::FrameCompositor(const Picture& picture) : picture_(picture), canvas_(picture.width, picture.height) {}

const Bitmap& FrameCompositor::Show(size_t index) {
  if (picture_.frames.empty()) return canvas_;
  index = std::min(index, picture_.frames.size() - 1);
  if (!started_ || index < shown_) {
    std::fill(canvas_.pixels.begin(), canvas_.pixels.end(), 0u);
    started_ = true;
    shown_ = 0;
    Draw(0);
  }
  while (shown_ < index) {
    // Dispose of the frame on show, then draw the next one.
    const Frame& old = picture_.frames[shown_];
    const int x1 = std::max(0, old.left), y1 = std::max(0, old.top);
    const int x2 = std::min(canvas_.width, old.left + old.image.width);
    const int y2 = std::min(canvas_.height, old.top + old.image.height);
    if (old.disposal == Disposal::Background) {
      for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) canvas_.At(x, y) = 0;
    } else if (old.disposal == Disposal::Previous) {
      for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) canvas_.At(x, y) = saved_.At(x - x1, y - y1);
    }
    Draw(++shown_);
  }
  return canvas_;
}

void FrameCompositor::Draw(size_t index) {
  const Frame& frame = picture_.frames[index];
  const int x1 = std::max(0, frame.left), y1 = std::max(0, frame.top);
  const int x2 = std::min(canvas_.width, frame.left + frame.image.width);
  const int y2 = std::min(canvas_.height, frame.top + frame.image.height);
  if (frame.disposal == Disposal::Previous) {
    saved_ = Bitmap(std::max(0, x2 - x1), std::max(0, y2 - y1));
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) saved_.At(x - x1, y - y1) = canvas_.At(x, y);
  }
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) {
      const uint32_t pixel = frame.image.At(x - frame.left, y - frame.top);
      if (pixel >> 24) canvas_.At(x, y) = pixel;
    }
}

}  // namespace imaging
