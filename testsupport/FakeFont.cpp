// Fixed-metric fonts for headless tests and qmtool.
#include "testsupport/FakeFont.h"

#include <algorithm>

namespace platform::fakes {

FontHandle FakeFontEngine::CreateFont(const FontDesc& desc) {
  for (size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i] == desc) return FontHandle{static_cast<int>(i) + 1};
  fonts_.push_back(desc);
  return FontHandle{static_cast<int>(fonts_.size())};
}

FontMetrics FakeFontEngine::Metrics(FontHandle) const {
  return FontMetrics{kCellWidth, kCellHeight, kCellWidth, kCellWidth, 13, 3};
}

int FakeFontEngine::TextWidth(FontHandle, std::string_view bytes, TextEncoding encoding) const {
  return GridCells(bytes, encoding) * kCellWidth;
}

// Rounding to the nearest integer: (n + 1) / 3 rounds n / 3, which never lies halfway.
FontMetrics ScaledFakeFontEngine::Metrics(FontHandle font) const {
  const int points = std::max(Desc(font).pointSize, 1);
  FontMetrics m;
  m.cellWidth = m.averageWidth = m.maximumWidth = Advance(points);
  m.cellHeight = Height(points);
  m.descent = m.cellHeight / 4;
  m.ascent = m.cellHeight - m.descent;
  return m;
}

int ScaledFakeFontEngine::TextWidth(FontHandle font, std::string_view bytes, TextEncoding encoding) const {
  return GridCells(bytes, encoding) * Advance(std::max(Desc(font).pointSize, 1));
}

}  // namespace platform::fakes
