// Fixed-metric fonts for headless tests and qmtool.
#include "testsupport/FakeFont.h"

namespace platform::fakes {

FontHandle FakeFontEngine::CreateFont(const FontDesc& desc) {
  for (size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i] == desc) return FontHandle{static_cast<int>(i) + 1};
  fonts_.push_back(desc);
  return FontHandle{static_cast<int>(fonts_.size())};
}

FontMetrics FakeFontEngine::Metrics(FontHandle) const {
  return FontMetrics{kCellWidth, kCellHeight, kCellWidth, kCellWidth, 13};
}

}  // namespace platform::fakes
