// The worked-out schemes go through HSL: a colour's hue is what tells one kind of token from another, so
// it is kept, and only the lightness (and for High contrast the saturation) is moved to suit the page.
#include "app/ColourSchemes.h"

#include <algorithm>
#include <cmath>

#include "editor/CustomEdit.h"

namespace app {
namespace {

using platform::Color;
using platform::Rgb;

struct Hsl {
  double h, s, l;  // h in [0, 6), s and l in [0, 1]
};

Hsl ToHsl(Color c) {
  const double r = (c & 0xFF) / 255.0, g = ((c >> 8) & 0xFF) / 255.0, b = ((c >> 16) & 0xFF) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  const double l = (max + min) / 2, d = max - min;
  if (d == 0) return {0, 0, l};
  const double s = d / (1 - std::abs(2 * l - 1));
  double h = max == r ? std::fmod((g - b) / d + 6, 6) : max == g ? (b - r) / d + 2 : (r - g) / d + 4;
  return {h, s, l};
}

Color FromHsl(Hsl c) {
  const double chroma = (1 - std::abs(2 * c.l - 1)) * c.s;
  const double x = chroma * (1 - std::abs(std::fmod(c.h, 2) - 1));
  // The red, green and blue parts above the least one, for each sixth of the hue circle.
  const double sectors[6][3] = {{chroma, x, 0}, {x, chroma, 0}, {0, chroma, x},
                                {0, x, chroma}, {x, 0, chroma}, {chroma, 0, x}};
  const double* part = sectors[std::clamp(static_cast<int>(c.h), 0, 5)];
  const double m = c.l - chroma / 2;
  auto byte = [m](double v) { return static_cast<int>(std::lround(std::clamp(v + m, 0.0, 1.0) * 255)); };
  return Rgb(byte(part[0]), byte(part[1]), byte(part[2]));
}

// The lightness turned over and held within [low, high]; saturation at least minSaturation for a colour
// that has a hue at all.
Color Relight(Color classic, double low, double high, double minSaturation) {
  Hsl c = ToHsl(platform::ClassicRgb(classic));
  c.l = std::clamp(1 - c.l, low, high);
  if (c.s > 0) c.s = std::max(c.s, minSaturation);
  return FromHsl(c);
}

// The foreground's lightness moved away from the background's until the two read apart: the contrast
// that web guidelines ask of text.
Color ReadableOn(Color foreground, Color background) {
  constexpr double kReadable = 4.5;
  Hsl c = ToHsl(platform::ClassicRgb(foreground));
  const double step = RelativeLuminance(background) < 0.18 ? 0.02 : -0.02;
  Color out = FromHsl(c);
  while (ContrastRatio(out, background) < kReadable && (step > 0 ? c.l < 1 : c.l > 0)) {
    c.l = std::clamp(c.l + step, 0.0, 1.0);
    out = FromHsl(c);
  }
  return out;
}

// A language's Custom colours are one of its saved schemes, as the SQL scanner keeps its own.
std::string CustomKeyPath(std::string_view language) { return "Highlighters\\" + std::string(language) + "\\Custom"; }

enum class Kind { Classic, Light, Dark, HighContrast, Custom };

Kind KindOf(std::string_view scheme) {
  for (std::size_t i = 0; i < kSchemeNames.size(); ++i)
    if (kSchemeNames[i] == scheme) return static_cast<Kind>(i);
  return Kind::Classic;
}

}  // namespace

double RelativeLuminance(platform::Color color) {
  const Color rgb = platform::ClassicRgb(color);
  auto channel = [](Color v) {
    const double s = static_cast<double>(v & 0xFF) / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(rgb) + 0.7152 * channel(rgb >> 8) + 0.0722 * channel(rgb >> 16);
}

double ContrastRatio(platform::Color a, platform::Color b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

SchemeColours ColoursOf(std::string_view scheme) {
  using namespace platform;
  switch (KindOf(scheme)) {
    case Kind::Light:
      return {.background = Rgb(255, 255, 255),
              .text = Rgb(0, 0, 0),
              .gutter = Rgb(240, 240, 240),
              .gutterEdgeLight = Rgb(255, 255, 255),
              .gutterEdgeShadow = Rgb(160, 160, 160),
              .selectionBackground = Rgb(173, 214, 255),
              .selectionText = Rgb(0, 0, 0),
              .caretLine = Rgb(255, 255, 220),
              .rightEdge = Rgb(192, 192, 192),
              .previewBackground = Rgb(255, 255, 255),
              .previewText = Rgb(0, 0, 0),
              .previewLink = Rgb(0, 0, 238)};
    case Kind::Dark:
      return {.background = Rgb(30, 30, 30),
              .text = Rgb(212, 212, 212),
              .gutter = Rgb(40, 40, 42),
              .gutterEdgeLight = Rgb(64, 64, 68),
              .gutterEdgeShadow = Rgb(16, 16, 16),
              .selectionBackground = Rgb(38, 79, 120),
              .selectionText = Rgb(255, 255, 255),
              .caretLine = Rgb(44, 44, 48),
              .rightEdge = Rgb(70, 70, 70),
              .previewBackground = Rgb(30, 30, 30),
              .previewText = Rgb(212, 212, 212),
              .previewLink = Rgb(110, 170, 240)};
    case Kind::HighContrast:
      return {.background = Rgb(0, 0, 0),
              .text = Rgb(255, 255, 255),
              .gutter = Rgb(0, 0, 0),
              .gutterEdgeLight = Rgb(255, 255, 255),
              .gutterEdgeShadow = Rgb(255, 255, 255),
              .selectionBackground = Rgb(255, 255, 0),
              .selectionText = Rgb(0, 0, 0),
              .caretLine = Rgb(0, 0, 96),
              .rightEdge = Rgb(255, 255, 255),
              .previewBackground = Rgb(0, 0, 0),
              .previewText = Rgb(255, 255, 255),
              .previewLink = Rgb(255, 255, 0)};
    case Kind::Classic:
    case Kind::Custom:
      break;
  }
  return {.background = kColorWindow,
          .text = kColorWindowText,
          .gutter = kColorButtonFace,
          .gutterEdgeLight = kColorButtonHighlight,
          .gutterEdgeShadow = kColorButtonShadow,
          .selectionBackground = kColorHighlight,
          .selectionText = kColorHighlightText,
          .caretLine = Rgb(255, 255, 204),
          .rightEdge = kColorButtonShadow,
          .previewBackground = kColorWindow,
          .previewText = kColorButtonText,
          .previewLink = Rgb(0, 0, 255)};
}

std::string_view SchemeInEffect(std::string_view chosen, bool desktopDark) {
  for (std::string_view name : kSchemeNames)
    if (name == chosen) return name;
  return desktopDark ? "Dark" : "Classic";
}

TokenLook SchemeLook(std::string_view scheme, const TokenLook& classic) {
  const Kind kind = KindOf(scheme);
  if (kind == Kind::Classic || kind == Kind::Custom) return classic;
  const SchemeColours page = ColoursOf(scheme);
  // A token on the page's own colours (the window's, or the white and black they stand for) takes the
  // scheme's; any other colour is worked out from it.
  const Color fg = platform::ClassicRgb(classic.foreground), bg = platform::ClassicRgb(classic.background);
  const bool plainBackground = bg == Rgb(255, 255, 255);
  TokenLook look = classic;
  switch (kind) {
    case Kind::Light:
      look.background = plainBackground ? page.background : bg;
      look.foreground = fg;
      break;
    case Kind::Dark:
      look.background = plainBackground ? page.background : Relight(bg, 0.1, 0.2, 0);
      look.foreground = fg == Rgb(0, 0, 0) ? page.text : Relight(fg, 0.6, 0.85, 0);
      break;
    default:
      look.background = plainBackground ? page.background : Relight(bg, 0.08, 0.15, 1);
      look.foreground = fg == Rgb(0, 0, 0) ? page.text : Relight(fg, 0.7, 0.9, 1);
      break;
  }
  look.foreground = ReadableOn(look.foreground, look.background);
  return look;
}

TokenLook LookOf(const highlighters::TqeHighLightAttributes& attribute) {
  return {attribute.Foreground(), attribute.Background(), attribute.Style()};
}

void SetLook(highlighters::TqeHighLightAttributes& attribute, const TokenLook& look) {
  attribute.SetForeground(look.foreground);
  attribute.SetBackground(look.background);
  attribute.SetStyle(look.style);
}

HighlighterSchemes::HighlighterSchemes(MainHighlighters& highlighters) {
  for (const auto& [language, highlighter] : highlighters.Coloured())
    kept_.push_back({std::string(language), highlighter, {}});
  const auto classic = Looks();
  for (std::size_t k = 0; k < kept_.size(); ++k) kept_[k].classic = classic[k];
}

void HighlighterSchemes::Show(const std::vector<std::vector<TokenLook>>& looks) {
  for (std::size_t k = 0; k < kept_.size(); ++k)
    for (int i = 0; i < kept_[k].highlighter->AttributeCount(); ++i)
      SetLook(*kept_[k].highlighter->AttributeAt(i), looks[k][static_cast<std::size_t>(i)]);
}

std::vector<std::vector<TokenLook>> HighlighterSchemes::Looks() const {
  std::vector<std::vector<TokenLook>> looks;
  for (const Kept& kept : kept_) {
    auto& mine = looks.emplace_back();
    for (int i = 0; i < kept.highlighter->AttributeCount(); ++i)
      mine.push_back(LookOf(*kept.highlighter->AttributeAt(i)));
  }
  return looks;
}

void HighlighterSchemes::Apply(std::string_view scheme, std::string_view base, platform::Registry& settings) {
  const bool custom = scheme == "Custom";
  if (custom && !custom_.empty()) return Show(custom_);
  std::vector<std::vector<TokenLook>> looks;
  for (const Kept& kept : kept_) {
    auto& mine = looks.emplace_back();
    for (const TokenLook& classic : kept.classic) mine.push_back(SchemeLook(custom ? base : scheme, classic));
  }
  Show(looks);
  if (!custom) return;
  for (const Kept& kept : kept_)
    kept.highlighter->LoadAttributes(settings, kHighlighterColoursRoot, CustomKeyPath(kept.language));
  custom_ = Looks();
}

void HighlighterSchemes::MakeCustom() { custom_ = Looks(); }

void HighlighterSchemes::SetCustomLook(highlighters::TqeCustomHighLighter& highlighter, int attribute,
                                       const TokenLook& look) {
  if (custom_.empty()) MakeCustom();
  for (std::size_t k = 0; k < kept_.size(); ++k)
    if (kept_[k].highlighter == &highlighter && attribute >= 0 && attribute < highlighter.AttributeCount())
      custom_[k][static_cast<std::size_t>(attribute)] = look;
  Show(custom_);
}

void HighlighterSchemes::SaveCustom(platform::Registry& settings) {
  if (custom_.empty()) return;
  for (const Kept& kept : kept_)
    kept.highlighter->SaveAttributes(settings, kHighlighterColoursRoot, CustomKeyPath(kept.language));
}

void ApplyToView(const SchemeColours& colours, editor::TqeCustomEdit& view) {
  view.SetColor(colours.background);
  view.SetFontColor(colours.text);
  view.Gutter().SetColor(colours.gutter);
  view.Gutter().SetEdgeColors(colours.gutterEdgeLight, colours.gutterEdgeShadow);
  view.SelectedColor().Background = colours.selectionBackground;
  view.SelectedColor().Foreground = colours.selectionText;
  view.SetRightEdgeColor(colours.rightEdge);
  view.SetCaretLineColor(colours.caretLine);
}

}  // namespace app
