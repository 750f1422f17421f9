// What the core paints on: the widget's painter in the program, a recording canvas in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/TextEncoding.h"

namespace platform {

// Pixels as 0xAARRGGBB, rows top to bottom without padding; alpha 0 lets what is below show.
struct PixelView {
  int width = 0;
  int height = 0;
  const std::uint32_t* pixels = nullptr;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(const Rect& area, Color color) = 0;
  // Draws bytes on a fixed grid, each character in its own cell from origin.x on (a wide character in two,
  // an invalid UTF-8 byte as one replacement mark); origin.y is the top of the cell. The background is left
  // as it is.
  virtual void DrawText(Point origin, FontHandle font, Color color, std::string_view bytes, int cellWidth,
                        TextEncoding encoding = TextEncoding::Cp1252) = 0;
  virtual void DrawLine(Point from, Point to, Color color) = 0;
  // Draws bytes in a proportional font, origin.y being the top of the font's cell; with a background the
  // run's cell is filled with it first (opaque), otherwise what is below shows through.
  virtual void DrawTextRun(Point origin, FontHandle font, Color color, std::string_view bytes,
                           std::optional<Color> background, TextEncoding encoding = TextEncoding::Cp1252) = 0;
  // Draws image stretched to box.
  virtual void DrawImage(const Rect& box, const PixelView& image) = 0;
  // An ellipse inside box, outlined in pen and filled when fill is given.
  virtual void DrawEllipse(const Rect& box, Color pen, std::optional<Color> fill) = 0;
  // Later drawing stays inside clip; no clip lifts the limit.
  virtual void SetClip(std::optional<Rect> clip) = 0;
};

}  // namespace platform
