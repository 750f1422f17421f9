// The value reader. Colour names are the CSS ones pages use most; rarer ones fall back to not being a
// colour, so their declaration is skipped as any unreadable one.
#include "preview/CssValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "platform/TextBits.h"
#include "preview/HtmlNames.h"

namespace preview {
namespace {

struct NamedColor {
  std::string_view name;
  int rgb;
};

constexpr std::array<NamedColor, 58> kCssColors = {{
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7},   {"beige", 0xF5F5DC},        {"brown", 0xA52A2A},
    {"coral", 0xFF7F50},     {"cornflowerblue", 0x6495ED}, {"crimson", 0xDC143C},      {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},  {"darkcyan", 0x008B8B},       {"darkgray", 0xA9A9A9},     {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},  {"darkorange", 0xFF8C00},     {"darkred", 0x8B0000},      {"darkslategray", 0x2F4F4F},
    {"dimgray", 0x696969},   {"dodgerblue", 0x1E90FF},     {"firebrick", 0xB22222},    {"forestgreen", 0x228B22},
    {"gainsboro", 0xDCDCDC}, {"gold", 0xFFD700},           {"goldenrod", 0xDAA520},    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},  {"hotpink", 0xFF69B4},        {"indigo", 0x4B0082},       {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},     {"lavender", 0xE6E6FA},       {"lightblue", 0xADD8E6},    {"lightcyan", 0xE0FFFF},
    {"lightgray", 0xD3D3D3}, {"lightgreen", 0x90EE90},     {"lightgrey", 0xD3D3D3},    {"lightyellow", 0xFFFFE0},
    {"linen", 0xFAF0E6},     {"magenta", 0xFF00FF},        {"midnightblue", 0x191970}, {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1}, {"orange", 0xFFA500},         {"orangered", 0xFF4500},    {"orchid", 0xDA70D6},
    {"pink", 0xFFC0CB},      {"plum", 0xDDA0DD},           {"royalblue", 0x4169E1},    {"salmon", 0xFA8072},
    {"seagreen", 0x2E8B57},  {"seashell", 0xFFF5EE},       {"sienna", 0xA0522D},       {"skyblue", 0x87CEEB},
    {"slategray", 0x708090}, {"snow", 0xFFFAFA},           {"steelblue", 0x4682B4},    {"tan", 0xD2B48C},
    {"tomato", 0xFF6347},    {"whitesmoke", 0xF5F5F5},
}};

platform::Color FromRgb(int rgb) { return platform::Rgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::optional<platform::Color> FunctionColor(std::string_view args, bool* isTransparent) {
  int channel[3] = {0, 0, 0};
  int count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= args.size() && count <= 4; ++i) {
    if (i < args.size() && args[i] != ',' && args[i] != ' ' && args[i] != '/') continue;
    const std::string_view part = CssTrim(args.substr(start, i - start));
    start = i + 1;
    if (part.empty()) continue;
    const auto d = CssNumber(part);
    if (!d || (!d->unit.empty() && d->unit != "%")) return std::nullopt;
    if (count == 3) {
      const float alpha = d->unit == "%" ? d->number / 100 : d->number;
      if (alpha <= 0) {
        if (isTransparent) *isTransparent = true;
        return std::nullopt;
      }
    } else if (count < 3) {
      const float value = d->unit == "%" ? d->number * 255 / 100 : d->number;
      channel[count] = static_cast<int>(std::clamp(value + 0.5f, 0.0f, 255.0f));
    }
    ++count;
  }
  if (count != 3 && count != 4) return std::nullopt;
  return platform::Rgb(channel[0], channel[1], channel[2]);
}

}  // namespace

std::optional<platform::Color> CssColor(std::string_view value, bool* isTransparent) {
  value = CssTrim(value);
  const std::string lower = platform::AsciiLower(std::string(value));
  if (lower == "transparent") {
    if (isTransparent) *isTransparent = true;
    return std::nullopt;
  }
  if (lower.size() == 4 && lower[0] == '#') {
    int rgb = 0;
    for (int i = 1; i < 4; ++i) {
      const int digit = platform::HexDigitValue(lower[i]);
      if (digit < 0) return std::nullopt;
      rgb = rgb << 8 | digit * 17;
    }
    return FromRgb(rgb);
  }
  if ((lower.rfind("rgb(", 0) == 0 || lower.rfind("rgba(", 0) == 0) && lower.back() == ')') {
    const std::size_t open = lower.find('(');
    return FunctionColor(std::string_view(lower).substr(open + 1, lower.size() - open - 2), isTransparent);
  }
  if (lower.size() == 7 && lower[0] == '#') return ParseColor(lower);
  for (const NamedColor& named : kCssColors)
    if (lower == named.name) return FromRgb(named.rgb);
  if (lower.empty() || lower[0] == '#' || lower.size() > 10) return std::nullopt;
  // The sixteen HTML names; a bare six-digit number is not a colour in a style sheet.
  if (lower.size() == 6 &&
      std::all_of(lower.begin(), lower.end(), [](char c) { return platform::HexDigitValue(c) >= 0; }))
    return std::nullopt;
  return ParseColor(lower);
}

std::string_view CssTrim(std::string_view s) {
  while (!s.empty() && IsCssBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsCssBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool HasCssWord(std::string_view list, std::string_view word) {
  if (word.empty()) return false;
  std::size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && IsCssBlank(list[i])) ++i;
    std::size_t end = i;
    while (end < list.size() && !IsCssBlank(list[end])) ++end;
    if (list.substr(i, end - i) == word) return true;
    i = end;
  }
  return false;
}

std::string CssHex(platform::Color color) {
  static const char* const kHex = "0123456789ABCDEF";
  const platform::Color rgb = platform::ClassicRgb(color);
  std::string text = "#";
  for (const int shift : {0, 8, 16}) {
    text += kHex[(rgb >> (shift + 4)) & 15];
    text += kHex[(rgb >> shift) & 15];
  }
  return text;
}

std::optional<CssDimension> CssNumber(std::string_view value) {
  value = CssTrim(value);
  if (!value.empty() && value.front() == '+') value.remove_prefix(1);
  float number = 0;
  const char* end = value.data();
  // from_chars does not take ".5"; read it as "0.5".
  if (!value.empty() && value.front() == '.') {
    const std::string padded = "0" + std::string(value);
    const auto [stop, error] = std::from_chars(padded.data(), padded.data() + padded.size(), number);
    if (error != std::errc()) return std::nullopt;
    end = value.data() + (stop - padded.data()) - 1;
  } else if (!value.empty() && value.front() == '-' && value.size() > 1 && value[1] == '.') {
    const std::string padded = "-0" + std::string(value.substr(1));
    const auto [stop, error] = std::from_chars(padded.data(), padded.data() + padded.size(), number);
    if (error != std::errc()) return std::nullopt;
    end = value.data() + (stop - padded.data()) - 1;
  } else {
    const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc()) return std::nullopt;
    end = stop;
  }
  if (!(number == number) || number > 1e6f || number < -1e6f) return std::nullopt;
  CssDimension d{number, std::string_view(end, value.data() + value.size() - end)};
  for (char c : d.unit)
    if (!((c >= 'a' && c <= 'z') || c == '%')) return std::nullopt;
  return d;
}

std::optional<float> CssPixels(const CssDimension& d, float fontPx, float rootPx) {
  const std::string_view u = d.unit;
  if (u == "px" || (u.empty() && d.number == 0)) return d.number;
  if (u == "pt") return d.number * 4 / 3;
  if (u == "em") return d.number * fontPx;
  if (u == "rem") return d.number * rootPx;
  if (u == "ex") return d.number * fontPx / 2;
  if (u == "in") return d.number * 96;
  if (u == "cm") return d.number * 96 / 2.54f;
  if (u == "mm") return d.number * 96 / 25.4f;
  if (u == "pc") return d.number * 16;
  return std::nullopt;
}

}  // namespace preview
