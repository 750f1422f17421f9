// Fonts as the core sees them: a description, a typed handle from the font engine, and cell measures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

namespace platform {

enum FontStyleBit : std::uint8_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };
using FontStyle = std::uint8_t;  // a set of FontStyleBit

struct FontDesc {
  std::string family = "Courier New";
  int pointSize = 10;
  FontStyle style = 0;
  int pixelHeight = 0;  // when above 0, the font's height in pixels instead of pointSize
  int charSet = 1;      // the character set asked for; bytes are always shown through Windows-1252
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

struct FontHandle {
  int id = 0;  // 0: no font
  friend bool operator==(const FontHandle&, const FontHandle&) = default;
};

struct FontMetrics {
  int cellWidth = 0;     // advance of "M" plus overhang
  int cellHeight = 0;    // ascent plus descent
  int averageWidth = 0;  // the editor refuses a font whose average and maximum widths differ
  int maximumWidth = 0;
  int ascent = 0;
  int descent = 0;
  int externalLeading = 0;  // the gap the font asks for between lines, outside cellHeight
  int overhang = 0;         // what synthesised bold or italic adds to a run's extent
  bool IsFixedPitch() const { return averageWidth == maximumWidth; }
};

// Creates fonts and answers their measures. Handles stay valid as long as the engine lives.
class FontEngine {
 public:
  virtual ~FontEngine() = default;
  virtual FontHandle CreateFont(const FontDesc& desc) = 0;
  virtual FontMetrics Metrics(FontHandle font) const = 0;
  // The advance of a run of bytes drawn in font, overhang included.
  virtual int TextWidth(FontHandle font, std::string_view bytes,
                        TextEncoding encoding = TextEncoding::Cp1252) const = 0;
  // Whether fonts of the family are installed; engines that cannot tell answer yes.
  virtual bool HasFamily(const std::string& /*family*/) const { return true; }
};

}  // namespace platform
