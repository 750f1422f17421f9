// Fonts without a screen: every font is fixed pitch with cells of 8 x 16 pixels, whatever its description
// (the editor in qmtool and the tests), and the page font the preview is measured with in qmtool layout.
#pragma once

#include <vector>

#include "platform/Font.h"

namespace platform::headless {

class CellFontEngine : public FontEngine {
 public:
  static constexpr int kCellWidth = 8;
  static constexpr int kCellHeight = 16;

  FontHandle CreateFont(const FontDesc& desc) override;
  FontMetrics Metrics(FontHandle font) const override;
  int TextWidth(FontHandle font, std::string_view bytes, TextEncoding encoding = TextEncoding::Cp1252) const override;
  // The description a handle was made from, for recordings.
  const FontDesc& Desc(FontHandle font) const { return fonts_.at(font.id - 1); }

 private:
  std::vector<FontDesc> fonts_;
};

// The page test font: every face and style measures by its point size S alone. Height round(S * 4 / 3),
// descent height / 4, no leading or overhang, and every byte advances round(S * 2 / 3) pixels; so 12
// points are 8 x 16 pixels. Layout dumps and golden files rest on these numbers.
class PageFontEngine : public CellFontEngine {
 public:
  static int Height(int points) { return (points * 4 + 1) / 3; }
  static int Advance(int points) { return (points * 2 + 1) / 3; }
  FontMetrics Metrics(FontHandle font) const override;
  int TextWidth(FontHandle font, std::string_view bytes, TextEncoding encoding = TextEncoding::Cp1252) const override;
};

}  // namespace platform::headless
