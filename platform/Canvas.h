// What the core paints on: the widget's painter in the program, a recording canvas in tests.
#pragma once

#include <string_view>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

namespace platform {

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(const Rect& area, Color color) = 0;
  // Draws bytes (Windows-1252) on a fixed grid: glyph i's cell starts at origin.x + i * cellWidth;
  // origin.y is the top of the cell. The background is left as it is.
  virtual void DrawText(Point origin, FontHandle font, Color color, std::string_view bytes, int cellWidth) = 0;
  virtual void DrawLine(Point from, Point to, Color color) = 0;
};

}  // namespace platform
