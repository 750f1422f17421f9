#include "ui/PictureImage.h"

#include <cstring>

namespace ui {

QImage ToQImage(const imaging::Bitmap& bitmap) {
  // Both use 0xAARRGGBB words; the copy lets the image outlive the bitmap.
  QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.height; ++y)
    std::memcpy(image.scanLine(y), bitmap.pixels.data() + size_t(y) * size_t(bitmap.width), size_t(bitmap.width) * 4);
  return image;
}

}  // namespace ui
