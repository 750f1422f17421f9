// Fonts through Qt. "Courier New", "Times New Roman" and "Arial" reach the metric-compatible Liberation
// fonts through fontconfig.
#pragma once

#include <QFont>
#include <vector>

#include "platform/Font.h"

namespace platform::qt {

class QtFontEngine : public FontEngine {
 public:
  FontHandle CreateFont(const FontDesc& desc) override;
  FontMetrics Metrics(FontHandle font) const override;
  int TextWidth(FontHandle font, std::string_view bytes, TextEncoding encoding = TextEncoding::Cp1252) const override;
  bool HasFamily(const std::string& family) const override;
  const QFont& Font(FontHandle font) const { return fonts_.at(font.id - 1).font; }

 private:
  struct Entry {
    FontDesc desc;
    QFont font;
    FontMetrics metrics;
    // The advance of every byte, measured once: pages measure text run by run, and summing is far
    // quicker than shaping a string each time. Kerning is off, so the sums match the drawn text.
    mutable std::vector<double> advances;
  };
  std::vector<Entry> fonts_;
};

}  // namespace platform::qt
