// Fixed-metric fonts for qmtool and the tests.
#include "platform/headless/CellFont.h"

#include <algorithm>

namespace platform::headless {

FontHandle CellFontEngine::CreateFont(const FontDesc& desc) {
  for (size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i] == desc) return FontHandle{static_cast<int>(i) + 1};
  fonts_.push_back(desc);
  return FontHandle{static_cast<int>(fonts_.size())};
}

FontMetrics CellFontEngine::Metrics(FontHandle) const {
  return FontMetrics{kCellWidth, kCellHeight, kCellWidth, kCellWidth, 13, 3};
}

int CellFontEngine::TextWidth(FontHandle, std::string_view bytes, TextEncoding encoding) const {
  return GridCells(bytes, encoding) * kCellWidth;
}

// Rounding to the nearest integer: (n + 1) / 3 rounds n / 3, which never lies halfway.
FontMetrics PageFontEngine::Metrics(FontHandle font) const {
  const int points = std::max(Desc(font).pointSize, 1);
  FontMetrics m;
  m.cellWidth = m.averageWidth = m.maximumWidth = Advance(points);
  m.cellHeight = Height(points);
  m.descent = m.cellHeight / 4;
  m.ascent = m.cellHeight - m.descent;
  return m;
}

int PageFontEngine::TextWidth(FontHandle font, std::string_view bytes, TextEncoding encoding) const {
  return GridCells(bytes, encoding) * Advance(std::max(Desc(font).pointSize, 1));
}

}  // namespace platform::headless
