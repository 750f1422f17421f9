// Test font engine: every font is fixed pitch with cells of 8 x 16 pixels, whatever its description.
#pragma once

#include <vector>

#include "platform/Font.h"

namespace platform::fakes {

class FakeFontEngine : public FontEngine {
 public:
  static constexpr int kCellWidth = 8;
  static constexpr int kCellHeight = 16;

  FontHandle CreateFont(const FontDesc& desc) override;
  FontMetrics Metrics(FontHandle font) const override;
  // The description a handle was made from, for recordings.
  const FontDesc& Desc(FontHandle font) const { return fonts_.at(font.id - 1); }

 private:
  std::vector<FontDesc> fonts_;
};

}  // namespace platform::fakes
