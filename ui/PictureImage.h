// Decoded pictures as Qt images.
#pragma once

#include <QImage>

#include "imaging/Bitmap.h"

namespace ui {

QImage ToQImage(const imaging::Bitmap& bitmap);

}  // namespace ui
