// Decoded pictures as Qt images.
#pragma once

#include <QImage>

#include "imaging/Bitmap.h"

namespace platform::qt {

QImage ToQImage(const imaging::Bitmap& bitmap);

}  // namespace platform::qt
