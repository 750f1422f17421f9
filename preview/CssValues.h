// Reading CSS values: colours, lengths and the keywords of the properties the preview computes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Color.h"

namespace preview {

// A colour: a name, #rgb, #rrggbb, rgb() or rgba() (alpha 0 is transparent). Nothing for transparent and
// for what is not a colour; transparent sets isTransparent.
std::optional<platform::Color> CssColor(std::string_view value, bool* isTransparent = nullptr);

// The blanks of CSS, the text without them at its ends, and whether a blank-separated list holds word
// (compared with its case).
constexpr bool IsCssBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
std::string_view CssTrim(std::string_view s);
bool HasCssWord(std::string_view list, std::string_view word);

// "#RRGGBB" for a colour, system colours as the classic desktop scheme has them.
std::string CssHex(platform::Color color);

// A number with its unit, as written.
struct CssDimension {
  float number = 0;
  std::string_view unit;  // lower case: "px", "em", "%", ... or empty
};
std::optional<CssDimension> CssNumber(std::string_view value);

// A length in pixels: fontPx is the size em counts from, rootPx the root's for rem. Percentages are not
// lengths here; nothing for them and for what is not a length.
std::optional<float> CssPixels(const CssDimension& d, float fontPx, float rootPx);

}  // namespace preview
