// Painting mark glyphs with rectangles, lines and one character.
#include "editor/MarkGlyphs.h"

#include <algorithm>
#include <string>

namespace editor {
namespace {

constexpr int kGlyphWidth = 11;

// A framed square of the glyph's size with a character centred on it.
void Badge(platform::Canvas& canvas, platform::Point at, int rowHeight, platform::Color fill, platform::Color ink,
           char symbol, platform::FontHandle font, int cellWidth) {
  const int height = std::max(4, rowHeight - 2);
  const platform::Rect box{at.x, at.y + 1, at.x + kGlyphWidth, at.y + 1 + height};
  canvas.FillRect(box, fill);
  canvas.DrawLine({box.left, box.bottom - 1}, {box.right - 1, box.bottom - 1}, platform::Rgb(0, 0, 0));
  canvas.DrawLine({box.right - 1, box.top}, {box.right - 1, box.bottom - 1}, platform::Rgb(0, 0, 0));
  canvas.DrawText({at.x + (kGlyphWidth - cellWidth) / 2, at.y}, font, ink, std::string(1, symbol), cellWidth);
}

}  // namespace

void InternalMarkGlyphs::Draw(platform::Canvas& canvas, int index, platform::Point at, int rowHeight,
                              platform::FontHandle font, int cellWidth) const {
  if (index < 0 || index > 9) return;
  Badge(canvas, at, rowHeight, platform::Rgb(0, 0, 160), platform::Rgb(255, 255, 255), static_cast<char>('0' + index),
        font, cellWidth);
}

void LineStatusImages::Draw(platform::Canvas& canvas, int index, platform::Point at, int rowHeight,
                            platform::FontHandle font, int cellWidth) const {
  switch (index) {
    case 0:
    case 1:
      InternalMarkGlyphs().Draw(canvas, index, at, rowHeight, font, cellWidth);
      break;
    case 2: {
      const int size = std::min(kGlyphWidth, std::max(4, rowHeight - 4));
      const platform::Color red = platform::Rgb(208, 0, 0);
      for (int d = 0; d < 2; ++d) {
        canvas.DrawLine({at.x + d, at.y + 2}, {at.x + size - 1 + d, at.y + 1 + size}, red);
        canvas.DrawLine({at.x + d, at.y + 1 + size}, {at.x + size - 1 + d, at.y + 2}, red);
      }
      break;
    }
    case 3:
      Badge(canvas, at, rowHeight, platform::Rgb(96, 160, 255), platform::Rgb(255, 255, 255), '?', font, cellWidth);
      break;
    case 4:
      Badge(canvas, at, rowHeight, platform::Rgb(255, 192, 0), platform::Rgb(0, 0, 0), '!', font, cellWidth);
      break;
    default:
      break;
  }
}

}  // namespace editor
