// The cascade. Rules are indexed by the rightmost compound of each selector (its id, else its first class,
// else its tag), so an element is tested only against the rules that can match it. Declarations are
// applied in cascade order: the renderer's defaults, presentational attributes, author rules, style
// attributes, then the important ones of authors and style attributes, each by specificity and source order.
#include "preview/StyleEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "platform/TextBits.h"
#include "preview/CssValues.h"
#include "preview/PreviewFonts.h"

namespace preview {
namespace {

enum Level : std::uint8_t { kDefault, kPresentational, kAuthor, kStyleAttribute, kAuthorImportant, kStyleImportant };

constexpr float kPxPerPt = 4.0f / 3.0f;
constexpr std::size_t kMemoLimit = 1 << 16;

// What the renderer does with each tag, written as a sheet; a page without CSS computes to what it shows.
const char* const kDefaultSheet = R"(
html, body, p, div, center, address, blockquote, pre, form, hr, h1, h2, h3, h4, h5, h6, ul, ol, dir, menu, dl,
dt, dd, header, footer, nav, main, section, article, aside, figure, figcaption, details, summary, hgroup,
fieldset, legend, noframes, frameset, frame { display: block }
li { display: list-item }
table { display: table }
thead, tbody, tfoot { display: table-row-group }
tr { display: table-row }
td, th { display: table-cell }
caption { display: table-caption }
col, colgroup { display: table-column }
head, title, style, script, meta, link, base, basefont, bgsound, template, noscript, area, param, source, track,
svg, datalist { display: none }
b, strong, th, h1, h2, h3, h4, h5, h6 { font-weight: bold }
i, em, cite, var, address, dfn { font-style: italic }
u, ins { text-decoration: underline }
s, strike, del { text-decoration: line-through }
a:link { text-decoration: underline; color: -qm-link }
tt, code, kbd, samp, pre, listing, xmp, plaintext { font-family: monospace; font-size: 10pt }
pre, listing, xmp, plaintext { white-space: pre }
center, th, caption { text-align: center }
h1 { font-size: 24pt } h2 { font-size: 18pt } h3 { font-size: 15pt } h4 { font-size: 12pt }
h5 { font-size: 10pt } h6 { font-size: 8pt }
big { font-size: larger } small { font-size: smaller }
sub { vertical-align: sub; font-size: 75% } sup { vertical-align: super; font-size: 75% }
mark { background-color: yellow }
ol { list-style-type: decimal }
)";

bool OneOf(std::string_view v, std::initializer_list<std::string_view> list) {
  return std::find(list.begin(), list.end(), v) != list.end();
}

template <typename Enum, std::size_t N>
std::optional<Enum> Keyword(std::string_view v, const std::pair<std::string_view, Enum> (&table)[N]) {
  for (const auto& [name, value] : table)
    if (v == name) return value;
  return std::nullopt;
}

constexpr std::pair<std::string_view, CssDisplay> kDisplays[] = {{"inline", CssDisplay::Inline},
                                                                 {"block", CssDisplay::Block},
                                                                 {"list-item", CssDisplay::ListItem},
                                                                 {"inline-block", CssDisplay::InlineBlock},
                                                                 {"table", CssDisplay::Table},
                                                                 {"inline-table", CssDisplay::Table},
                                                                 {"table-row-group", CssDisplay::TableRowGroup},
                                                                 {"table-header-group", CssDisplay::TableRowGroup},
                                                                 {"table-footer-group", CssDisplay::TableRowGroup},
                                                                 {"table-row", CssDisplay::TableRow},
                                                                 {"table-cell", CssDisplay::TableCell},
                                                                 {"table-caption", CssDisplay::TableCaption},
                                                                 {"table-column", CssDisplay::TableColumn},
                                                                 {"table-column-group", CssDisplay::TableColumn},
                                                                 {"none", CssDisplay::None},
                                                                 {"flex", CssDisplay::Block},
                                                                 {"grid", CssDisplay::Block},
                                                                 {"flow-root", CssDisplay::Block},
                                                                 {"inline-flex", CssDisplay::InlineBlock},
                                                                 {"inline-grid", CssDisplay::InlineBlock},
                                                                 {"contents", CssDisplay::Inline}};
constexpr std::pair<std::string_view, CssTextAlign> kAligns[] = {{"left", CssTextAlign::Left},
                                                                 {"start", CssTextAlign::Left},
                                                                 {"center", CssTextAlign::Center},
                                                                 {"right", CssTextAlign::Right},
                                                                 {"end", CssTextAlign::Right},
                                                                 {"justify", CssTextAlign::Justify},
                                                                 {"-webkit-center", CssTextAlign::Center},
                                                                 {"-moz-center", CssTextAlign::Center}};
constexpr std::pair<std::string_view, CssListStyle> kListStyles[] = {{"disc", CssListStyle::Disc},
                                                                     {"circle", CssListStyle::Circle},
                                                                     {"square", CssListStyle::Square},
                                                                     {"decimal", CssListStyle::Decimal},
                                                                     {"decimal-leading-zero", CssListStyle::Decimal},
                                                                     {"lower-alpha", CssListStyle::LowerAlpha},
                                                                     {"lower-latin", CssListStyle::LowerAlpha},
                                                                     {"upper-alpha", CssListStyle::UpperAlpha},
                                                                     {"upper-latin", CssListStyle::UpperAlpha},
                                                                     {"lower-roman", CssListStyle::LowerRoman},
                                                                     {"upper-roman", CssListStyle::UpperRoman},
                                                                     {"none", CssListStyle::None}};
constexpr std::pair<std::string_view, CssWhiteSpace> kWhiteSpaces[] = {{"normal", CssWhiteSpace::Normal},
                                                                       {"pre", CssWhiteSpace::Pre},
                                                                       {"nowrap", CssWhiteSpace::Nowrap},
                                                                       {"pre-wrap", CssWhiteSpace::PreWrap},
                                                                       {"pre-line", CssWhiteSpace::PreLine}};
constexpr std::pair<std::string_view, CssTransform> kTransforms[] = {{"none", CssTransform::None},
                                                                     {"uppercase", CssTransform::Uppercase},
                                                                     {"lowercase", CssTransform::Lowercase},
                                                                     {"capitalize", CssTransform::Capitalize}};
constexpr std::pair<std::string_view, CssFloat> kFloats[] = {
    {"none", CssFloat::None}, {"left", CssFloat::Left}, {"right", CssFloat::Right}, {"both", CssFloat::Both}};
constexpr std::pair<std::string_view, CssVerticalAlign> kVerticalAligns[] = {
    {"baseline", CssVerticalAlign::Baseline}, {"sub", CssVerticalAlign::Sub},
    {"super", CssVerticalAlign::Super},       {"top", CssVerticalAlign::Top},
    {"middle", CssVerticalAlign::Middle},     {"bottom", CssVerticalAlign::Bottom},
    {"text-top", CssVerticalAlign::TextTop},  {"text-bottom", CssVerticalAlign::TextBottom}};
constexpr std::pair<std::string_view, CssBorderStyle> kBorderStyles[] = {
    {"none", CssBorderStyle::None},     {"hidden", CssBorderStyle::None},   {"solid", CssBorderStyle::Solid},
    {"dashed", CssBorderStyle::Dashed}, {"dotted", CssBorderStyle::Dotted}, {"double", CssBorderStyle::Double},
    {"groove", CssBorderStyle::Other},  {"ridge", CssBorderStyle::Other},   {"inset", CssBorderStyle::Other},
    {"outset", CssBorderStyle::Other}};

template <typename Enum, std::size_t N>
std::string_view NameOf(Enum value, const std::pair<std::string_view, Enum> (&table)[N]) {
  for (const auto& [name, v] : table)
    if (v == value) return name;
  return "?";
}

struct RuleRef {
  const CssRule* rule;
  std::uint32_t order;
  std::uint16_t selector;
  Level level;
  std::uint64_t ancestors;  // the keys some ancestor must have for the selector to match
};

// One bit for a tag, "#id" or ".class": an element's ancestors' bits, ORed, tell quickly that a selector
// needing an ancestor none of them has cannot match.
std::uint64_t KeyBit(char kind, std::string_view name) {
  std::uint64_t h = 1469598103934665603ull ^ static_cast<unsigned char>(kind);
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return 1ull << (h >> 58);
}

std::uint64_t CompoundKeys(const CssCompound& c) {
  std::uint64_t keys = 0;
  if (!c.tag.empty()) keys |= KeyBit('<', c.tag);
  if (!c.id.empty()) keys |= KeyBit('#', c.id);
  for (const std::string& name : c.classes) keys |= KeyBit('.', name);
  return keys;
}

// The compounds left of the rightmost that are reached by descendant and child steps only stand for
// ancestors.
std::uint64_t AncestorKeys(const CssSelector& selector) {
  std::uint64_t keys = 0;
  for (std::size_t i = selector.compounds.size() - 1; i-- > 0;) {
    const CssCombinator step = selector.combinators[i];
    if (step != CssCombinator::Descendant && step != CssCombinator::Child) break;
    keys |= CompoundKeys(selector.compounds[i]);
  }
  return keys;
}

std::uint64_t ElementKeys(const PageElement& e) {
  std::uint64_t keys = KeyBit('<', e.name);
  if (const std::string_view id = e.Id(); !id.empty()) keys |= KeyBit('#', id);
  e.ForEachClass([&](std::string_view c) {
    keys |= KeyBit('.', c);
    return false;
  });
  return keys;
}

struct Matched {
  Level level;
  std::uint32_t specificity;
  std::uint32_t order;
  const CssDeclaration* declaration;
};

// The nominal sizes of FONT SIZE 1..7, for the keywords and for larger and smaller.
float StepSize(float points, int step) {
  for (int i = 1; i <= 7; ++i)
    if (std::fabs(static_cast<float>(SizeOfIndex(i, false)) - points) < 0.01f) {
      const int next = i + step;
      if (next >= 1 && next <= 7) return static_cast<float>(SizeOfIndex(next, false));
      return points;
    }
  return step > 0 ? points * 1.2f : points / 1.2f;
}

}  // namespace

struct StyleEngine::Impl {
  std::vector<CssSheet> sheets;  // the default sheet first
  std::vector<RuleRef> rules;
  std::unordered_map<std::string, std::vector<std::uint32_t>> byId, byClass, byTag;
  std::vector<std::uint32_t> universal;
  std::uint32_t nextOrder = 0;
  bool dependsOnWidth = false;

  void Add(const CssSheet& sheet, Level level) {
    for (const CssRule& rule : sheet.rules) {
      const std::uint32_t order = nextOrder++;
      for (std::size_t s = 0; s < rule.selectors.size(); ++s) {
        const auto index = static_cast<std::uint32_t>(rules.size());
        rules.push_back({&rule, order, static_cast<std::uint16_t>(s), level, AncestorKeys(rule.selectors[s])});
        const CssCompound& right = rule.selectors[s].Rightmost();
        if (!right.id.empty())
          byId[right.id].push_back(index);
        else if (!right.classes.empty())
          byClass[right.classes.front()].push_back(index);
        else if (!right.tag.empty())
          byTag[right.tag].push_back(index);
        else
          universal.push_back(index);
      }
    }
  }
  bool MediaHold(const CssRule& rule, const CssSheet& sheet, int width) const {
    return std::all_of(rule.media.begin(), rule.media.end(),
                       [&](int m) { return sheet.media[static_cast<std::size_t>(m)].Holds(width); });
  }
};

// Applies one declaration's value to the style being computed; values it cannot read change nothing.
struct StyleApplier {
  StyleEngine& engine;
  ComputedStyle& style;
  const ComputedStyle& parent;
  float rootPx;

  float FontPx() const { return style.fontSize * kPxPerPt; }

  std::optional<CssLength> Length(std::string_view v, float fontPx, bool allowAuto, bool allowPercent,
                                  bool allowNegative = true) const {
    if (allowAuto && v == "auto") return CssLength{CssLength::Unit::Auto, 0};
    const auto d = CssNumber(v);
    if (!d) return std::nullopt;
    if (!allowNegative && d->number < 0) return std::nullopt;
    if (d->unit == "%") {
      if (!allowPercent) return std::nullopt;
      return CssLength{CssLength::Unit::Percent, d->number};
    }
    const auto px = CssPixels(*d, fontPx, rootPx);
    if (!px) return std::nullopt;
    return CssLength{CssLength::Unit::Px, *px};
  }

  bool FontSize(std::string_view v) {
    const float parentPt = parent.fontSize;
    static constexpr std::pair<std::string_view, int> kKeywords[] = {
        {"x-small", 1}, {"small", 2}, {"medium", 3}, {"large", 4}, {"x-large", 5}, {"xx-large", 6}, {"xxx-large", 7}};
    for (const auto& [name, index] : kKeywords)
      if (v == name) {
        style.fontSize = static_cast<float>(SizeOfIndex(index, false));
        return true;
      }
    if (v == "xx-small") return style.fontSize = SizeOfIndex(1, false) * 0.75f, true;
    if (v == "larger") return style.fontSize = StepSize(parentPt, 1), true;
    if (v == "smaller") return style.fontSize = StepSize(parentPt, -1), true;
    const auto d = CssNumber(v);
    if (!d || d->number < 0) return false;
    if (d->unit == "%") return style.fontSize = parentPt * d->number / 100, true;
    const auto px = CssPixels(*d, parentPt * kPxPerPt, rootPx);
    if (!px) return false;
    style.fontSize = std::min(*px / kPxPerPt, 1000.0f);
    return true;
  }

  void FontFamily(std::string_view written) {
    std::string first;
    std::size_t start = 0;
    const std::string list(written);
    for (std::size_t i = 0; i <= list.size(); ++i) {
      if (i < list.size() && list[i] != ',') continue;
      std::string name = platform::Trimmed(list.substr(start, i - start));
      start = i + 1;
      if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front())
        name = name.substr(1, name.size() - 2);
      if (name.empty()) continue;
      const std::string lower = platform::AsciiLower(name);
      if (lower == "serif")
        name = engine.defaults_.fontName;
      else if (lower == "monospace")
        name = engine.defaults_.preFontName;
      else if (lower == "sans-serif" || lower == "cursive" || lower == "fantasy" || lower == "system-ui")
        name = lower;
      else if (engine.defaults_.familyInstalled && !engine.defaults_.familyInstalled(name)) {
        if (first.empty()) first = name;
        continue;
      }
      style.family = engine.Intern(engine.families_, name);
      return;
    }
    // No family of the list is installed: the first, which the font system substitutes.
    if (!first.empty()) style.family = engine.Intern(engine.families_, first);
  }

  bool Color(std::string_view v, platform::Color& into, bool allowTransparent, bool* transparent = nullptr) {
    if (v == "currentcolor") {
      into = style.color;
      return true;
    }
    if (v == "-qm-link") {
      into = engine.defaults_.linkColor;
      return true;
    }
    bool clear = false;
    if (const auto color = CssColor(v, &clear)) {
      into = *color;
      if (transparent) *transparent = false;
      return true;
    }
    if (clear && allowTransparent && transparent) *transparent = true;
    return clear && allowTransparent;
  }

  // Copies the parent's value (inherit) or puts the initial one.
  void Reset(CssProperty p, const ComputedStyle& from) {
    switch (p) {
      case CssProperty::Color:
        style.color = from.color;
        break;
      case CssProperty::FontFamily:
        style.family = from.family;
        break;
      case CssProperty::FontSize:
        style.fontSize = from.fontSize;
        break;
      case CssProperty::FontWeight:
        style.fontWeight = from.fontWeight;
        break;
      case CssProperty::FontStyle:
        style.italic = from.italic;
        break;
      case CssProperty::TextAlign:
        style.textAlign = from.textAlign;
        break;
      case CssProperty::TextIndent:
        style.textIndent = from.textIndent;
        break;
      case CssProperty::TextTransform:
        style.textTransform = from.textTransform;
        break;
      case CssProperty::WhiteSpace:
        style.whiteSpace = from.whiteSpace;
        break;
      case CssProperty::LineHeight:
        style.lineHeight = from.lineHeight;
        break;
      case CssProperty::Visibility:
        style.hidden = from.hidden;
        break;
      case CssProperty::ListStyleType:
        style.listStyle = from.listStyle;
        break;
      case CssProperty::BorderCollapse:
        style.borderCollapse = from.borderCollapse;
        break;
      case CssProperty::BorderSpacing:
        style.borderSpacing = from.borderSpacing;
        break;
      case CssProperty::TextDecoration:
        style.decoration = from.decoration;
        break;
      case CssProperty::Display:
        style.display = from.display;
        break;
      case CssProperty::BackgroundColor:
        style.hasBackground = from.hasBackground;
        style.background = from.background;
        break;
      case CssProperty::BackgroundImage:
        style.backgroundImage = from.backgroundImage;
        break;
      case CssProperty::Width:
        style.width = from.width;
        break;
      case CssProperty::MinWidth:
        style.minWidth = from.minWidth;
        break;
      case CssProperty::MaxWidth:
        style.maxWidth = from.maxWidth;
        break;
      case CssProperty::Height:
        style.height = from.height;
        break;
      case CssProperty::Float:
        style.floating = from.floating;
        break;
      case CssProperty::Clear:
        style.clear = from.clear;
        break;
      case CssProperty::VerticalAlign:
        style.verticalAlign = from.verticalAlign;
        break;
      default: {
        const int i = static_cast<int>(p);
        if (p >= CssProperty::MarginTop && p <= CssProperty::MarginLeft)
          style.margin[i - static_cast<int>(CssProperty::MarginTop)] =
              from.margin[i - static_cast<int>(CssProperty::MarginTop)];
        else if (p >= CssProperty::PaddingTop && p <= CssProperty::PaddingLeft)
          style.padding[i - static_cast<int>(CssProperty::PaddingTop)] =
              from.padding[i - static_cast<int>(CssProperty::PaddingTop)];
        else if (p >= CssProperty::BorderTopWidth && p <= CssProperty::BorderLeftWidth)
          style.borderWidth[i - static_cast<int>(CssProperty::BorderTopWidth)] =
              from.borderWidth[i - static_cast<int>(CssProperty::BorderTopWidth)];
        else if (p >= CssProperty::BorderTopStyle && p <= CssProperty::BorderLeftStyle)
          style.borderStyle[i - static_cast<int>(CssProperty::BorderTopStyle)] =
              from.borderStyle[i - static_cast<int>(CssProperty::BorderTopStyle)];
        else if (p >= CssProperty::BorderTopColor && p <= CssProperty::BorderLeftColor)
          style.borderColor[i - static_cast<int>(CssProperty::BorderTopColor)] =
              from.borderColor[i - static_cast<int>(CssProperty::BorderTopColor)];
      }
    }
  }

  // True when the value was read.
  bool Apply(const CssDeclaration& d) {
    const std::string lowered = platform::AsciiLower(d.value);
    const std::string_view v = lowered;
    const CssProperty p = d.property;
    if (v == "inherit") {
      Reset(p, parent);
      return true;
    }
    if (v == "initial" || v == "unset") {
      Reset(p, v == "unset" && IsInherited(p) ? parent : engine.initial_);
      return true;
    }
    const int side = static_cast<int>(p);
    switch (p) {
      case CssProperty::Color:
        return Color(v, style.color, false);
      case CssProperty::FontFamily:
        FontFamily(d.value);
        return true;
      case CssProperty::FontSize:
        return FontSize(v);
      case CssProperty::FontWeight:
        if (v == "normal")
          style.fontWeight = 400;
        else if (v == "bold")
          style.fontWeight = 700;
        else if (v == "bolder")
          style.fontWeight = parent.fontWeight >= 600 ? 900 : 700;
        else if (v == "lighter")
          style.fontWeight = parent.fontWeight >= 600 ? 400 : 100;
        else if (const auto n = CssNumber(v); n && n->unit.empty() && n->number >= 1 && n->number <= 1000)
          style.fontWeight = static_cast<std::uint16_t>(n->number);
        else
          return false;
        return true;
      case CssProperty::FontStyle:
        if (!OneOf(v, {"normal", "italic", "oblique"})) return false;
        style.italic = v != "normal";
        return true;
      case CssProperty::TextAlign:
        if (const auto a = Keyword(v, kAligns)) return style.textAlign = *a, true;
        return false;
      case CssProperty::TextIndent:
        if (const auto l = Length(v, FontPx(), false, false)) return style.textIndent = l->value, true;
        return false;
      case CssProperty::TextTransform:
        if (const auto t = Keyword(v, kTransforms)) return style.textTransform = *t, true;
        return false;
      case CssProperty::WhiteSpace:
        if (const auto w = Keyword(v, kWhiteSpaces)) return style.whiteSpace = *w, true;
        return false;
      case CssProperty::LineHeight:
        if (v == "normal") return style.lineHeight = {CssLength::Unit::Auto, 0}, true;
        if (const auto n = CssNumber(v); n && n->unit.empty() && n->number >= 0)
          return style.lineHeight = {CssLength::Unit::Number, n->number}, true;
        if (const auto n = CssNumber(v); n && n->unit == "%" && n->number >= 0)
          return style.lineHeight = {CssLength::Unit::Px, FontPx() * n->number / 100}, true;
        if (const auto l = Length(v, FontPx(), false, false, false)) return style.lineHeight = *l, true;
        return false;
      case CssProperty::Visibility:
        if (!OneOf(v, {"visible", "hidden", "collapse"})) return false;
        style.hidden = v != "visible";
        return true;
      case CssProperty::ListStyleType:
        if (const auto l = Keyword(v, kListStyles)) return style.listStyle = *l, true;
        return false;
      case CssProperty::BorderCollapse:
        if (!OneOf(v, {"collapse", "separate"})) return false;
        style.borderCollapse = v == "collapse";
        return true;
      case CssProperty::BorderSpacing: {
        const std::string_view first = v.substr(0, v.find(' '));
        if (const auto l = Length(first, FontPx(), false, false, false)) return style.borderSpacing = l->value, true;
        return false;
      }
      case CssProperty::TextDecoration: {
        std::uint8_t bits = 0;
        std::size_t i = 0;
        while (i < v.size()) {
          std::size_t end = v.find(' ', i);
          if (end == std::string_view::npos) end = v.size();
          const std::string_view word = v.substr(i, end - i);
          if (word == "underline")
            bits |= kDecorationUnderline;
          else if (word == "line-through")
            bits |= kDecorationLineThrough;
          else if (word == "overline")
            bits |= kDecorationOverline;
          i = end + 1;
        }
        // The decoration drawn: the parent's, and this element's own on top; colours and line styles of
        // the newer shorthand are read and left aside.
        style.decoration = parent.decoration | bits;
        return true;
      }
      case CssProperty::Display:
        if (const auto display = Keyword(v, kDisplays)) return style.display = *display, true;
        return false;
      case CssProperty::BackgroundColor: {
        bool transparent = false;
        if (!Color(v, style.background, true, &transparent)) return false;
        style.hasBackground = !transparent;
        if (transparent) style.background = 0;
        return true;
      }
      case CssProperty::BackgroundImage:
        if (v == "none") return style.backgroundImage = 0, true;
        if (v.rfind("url(", 0) == 0) {
          const std::string url = CssUrl(d.value);
          style.backgroundImage = url.empty() ? 0 : engine.Intern(engine.images_, url);
          return true;
        }
        return false;
      case CssProperty::Width:
      case CssProperty::Height:
      case CssProperty::MinWidth:
      case CssProperty::MaxWidth: {
        CssLength* target = p == CssProperty::Width      ? &style.width
                            : p == CssProperty::Height   ? &style.height
                            : p == CssProperty::MinWidth ? &style.minWidth
                                                         : &style.maxWidth;
        if (p == CssProperty::MaxWidth && v == "none") return *target = {CssLength::Unit::None, 0}, true;
        const auto l = Length(v, FontPx(), p == CssProperty::Width || p == CssProperty::Height, true, false);
        if (!l) return false;
        *target = *l;
        return true;
      }
      case CssProperty::Float:
        if (const auto f = Keyword(v, kFloats); f && *f != CssFloat::Both) return style.floating = *f, true;
        return false;
      case CssProperty::Clear:
        if (const auto c = Keyword(v, kFloats)) return style.clear = *c, true;
        return false;
      case CssProperty::VerticalAlign:
        if (const auto a = Keyword(v, kVerticalAligns)) return style.verticalAlign = *a, true;
        if (CssNumber(v)) return style.verticalAlign = CssVerticalAlign::Baseline, true;
        return false;
      default:
        break;
    }
    if (p >= CssProperty::MarginTop && p <= CssProperty::MarginLeft) {
      const auto l = Length(v, FontPx(), true, true);
      if (l) style.margin[side - static_cast<int>(CssProperty::MarginTop)] = *l;
      return l.has_value();
    }
    if (p >= CssProperty::PaddingTop && p <= CssProperty::PaddingLeft) {
      const auto l = Length(v, FontPx(), false, true, false);
      if (l) style.padding[side - static_cast<int>(CssProperty::PaddingTop)] = *l;
      return l.has_value();
    }
    if (p >= CssProperty::BorderTopWidth && p <= CssProperty::BorderLeftWidth) {
      float& width = style.borderWidth[side - static_cast<int>(CssProperty::BorderTopWidth)];
      if (v == "thin") return width = 1, true;
      if (v == "medium") return width = 3, true;
      if (v == "thick") return width = 5, true;
      const auto l = Length(v, FontPx(), false, false, false);
      if (l) width = l->value;
      return l.has_value();
    }
    if (p >= CssProperty::BorderTopStyle && p <= CssProperty::BorderLeftStyle) {
      const auto s = Keyword(v, kBorderStyles);
      if (s) style.borderStyle[side - static_cast<int>(CssProperty::BorderTopStyle)] = *s;
      return s.has_value();
    }
    if (p >= CssProperty::BorderTopColor && p <= CssProperty::BorderLeftColor)
      return Color(v, style.borderColor[side - static_cast<int>(CssProperty::BorderTopColor)], false);
    return false;
  }
};

namespace {

// The declarations an element's presentational attributes stand for, as browsers map them.
std::vector<CssDeclaration> PresentationalHints(const PageElement& e) {
  std::vector<CssDeclaration> out;
  const auto attribute = [&e](std::string_view name) -> std::optional<std::string> {
    const auto value = e.Attribute(name);
    return value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
  };
  const auto add = [&](CssProperty p, std::string value) { out.push_back({p, false, std::move(value)}); };
  const auto pixels = [](const std::string& value) {
    return !value.empty() && value.back() == '%' ? value : value + "px";
  };
  const std::string& n = e.name;
  const bool cell = n == "td" || n == "th";
  if (const auto align = attribute("align")) {
    const std::string a = platform::AsciiLower(*align);
    if (n == "img" || n == "table") {
      if (a == "left" || a == "right")
        add(CssProperty::Float, a);
      else if (n == "img" && OneOf(a, {"top", "middle", "bottom"}))
        add(CssProperty::VerticalAlign, a);
    } else if (OneOf(n, {"p", "div", "h1", "h2", "h3", "h4", "h5", "h6", "td", "th", "tr", "caption", "thead", "tbody",
                         "tfoot", "hr"})) {
      add(CssProperty::TextAlign, a);
    }
  }
  if (const auto color = attribute("bgcolor"); color && (n == "body" || cell || n == "tr" || n == "table"))
    add(CssProperty::BackgroundColor, CssColor(*color) ? *color : "#" + *color);
  if (const auto image = attribute("background"); image && (n == "body" || cell || n == "table"))
    add(CssProperty::BackgroundImage, "url(\"" + *image + "\")");
  if (const auto text = attribute("text"); text && n == "body")
    add(CssProperty::Color, CssColor(*text) ? *text : "#" + *text);
  if (n == "font") {
    if (const auto color = attribute("color")) add(CssProperty::Color, CssColor(*color) ? *color : "#" + *color);
    if (const auto face = attribute("face")) add(CssProperty::FontFamily, *face);
    if (const auto size = attribute("size")) {
      const std::string s = platform::Trimmed(*size);
      const bool relative = !s.empty() && (s[0] == '+' || s[0] == '-');
      if (const auto d = CssNumber(relative && s[0] == '+' ? s.substr(1) : s); d && d->unit.empty()) {
        const int index = std::clamp(static_cast<int>(relative ? 3 + d->number : d->number), 1, 7);
        add(CssProperty::FontSize, std::to_string(SizeOfIndex(index, false)) + "pt");
      }
    }
  }
  if (const auto width = attribute("width"); width && (cell || OneOf(n, {"table", "img", "hr", "col"})))
    add(CssProperty::Width, pixels(*width));
  if (const auto height = attribute("height"); height && (cell || OneOf(n, {"table", "img", "tr"})))
    add(CssProperty::Height, pixels(*height));
  if (const auto valign = attribute("valign"); valign && (cell || n == "tr"))
    add(CssProperty::VerticalAlign, platform::AsciiLower(*valign));
  if (cell && attribute("nowrap")) add(CssProperty::WhiteSpace, "nowrap");
  if (const auto spacing = attribute("cellspacing"); spacing && n == "table")
    add(CssProperty::BorderSpacing, *spacing + "px");
  if (const auto border = attribute("border"); border && (n == "table" || n == "img")) {
    const std::string w = border->empty() ? "1" : *border;
    for (CssProperty p : {CssProperty::BorderTopWidth, CssProperty::BorderRightWidth, CssProperty::BorderBottomWidth,
                          CssProperty::BorderLeftWidth})
      add(p, w + "px");
    for (CssProperty p : {CssProperty::BorderTopStyle, CssProperty::BorderRightStyle, CssProperty::BorderBottomStyle,
                          CssProperty::BorderLeftStyle})
      add(p, w == "0" ? "none" : "solid");
  }
  if (const auto type = attribute("type"); type && (n == "ol" || n == "ul" || n == "li")) {
    static constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
        {"1", "decimal"},     {"a", "lower-alpha"}, {"A", "upper-alpha"}, {"i", "lower-roman"},
        {"I", "upper-roman"}, {"disc", "disc"},     {"circle", "circle"}, {"square", "square"}};
    for (const auto& [written, style] : kTypes)
      if (*type == written || (written.size() > 1 && platform::AsciiLower(*type) == written))
        add(CssProperty::ListStyleType, std::string(style));
  }
  if (n == "br")
    if (const auto clear = attribute("clear")) {
      const std::string c = platform::AsciiLower(*clear);
      add(CssProperty::Clear, c == "all" ? "both" : c);
    }
  if (attribute("hidden")) add(CssProperty::Display, "none");
  return out;
}

std::string Number(float value) {
  std::ostringstream out;
  const float rounded = std::round(value * 100) / 100;
  out << (rounded == 0 ? 0.0f : rounded);
  return out.str();
}

std::string LengthText(const CssLength& l) {
  switch (l.unit) {
    case CssLength::Unit::Px:
      return Number(l.value) + "px";
    case CssLength::Unit::Percent:
      return Number(l.value) + "%";
    case CssLength::Unit::Auto:
      return "auto";
    case CssLength::Unit::None:
      return "none";
    case CssLength::Unit::Number:
      return Number(l.value);
  }
  return "?";
}

}  // namespace

StyleEngine::StyleEngine(StyleDefaults defaults) : impl_(std::make_unique<Impl>()), defaults_(std::move(defaults)) {
  families_.push_back(defaults_.fontName);
  images_.push_back("");
  initial_.color = defaults_.color;
  initial_.family = 0;
  impl_->sheets.push_back(ParseStyleSheet(kDefaultSheet));
  impl_->sheets.reserve(64);
  impl_->Add(impl_->sheets.front(), kDefault);
}

StyleEngine::~StyleEngine() = default;

void StyleEngine::AddAuthorSheet(CssSheet sheet, const std::vector<MediaList>& media) {
  for (const MediaList& list : media) {
    if (list.queries.empty()) continue;
    sheet.media.push_back(list);
    const int index = static_cast<int>(sheet.media.size()) - 1;
    for (CssRule& rule : sheet.rules) rule.media.push_back(index);
  }
  for (const MediaList& list : sheet.media) impl_->dependsOnWidth |= list.DependsOnWidth();
  // Rules point into their sheet, so sheets are kept where they were put.
  if (impl_->sheets.size() == impl_->sheets.capacity()) {
    std::vector<CssSheet> moved;
    moved.reserve(impl_->sheets.size() * 2);
    for (CssSheet& s : impl_->sheets) moved.push_back(std::move(s));
    impl_->sheets = std::move(moved);
  }
  impl_->sheets.push_back(std::move(sheet));
  impl_->Add(impl_->sheets.back(), kAuthor);
}

bool StyleEngine::DependsOnWidth() const { return impl_->dependsOnWidth; }

bool StyleEngine::SameMediaAt(int width, int other) const {
  for (const CssSheet& sheet : impl_->sheets)
    for (const MediaList& list : sheet.media)
      if (list.Holds(width) != list.Holds(other)) return false;
  return true;
}

std::uint16_t StyleEngine::Intern(std::vector<std::string>& names, const std::string& name) {
  const auto found = std::find(names.begin(), names.end(), name);
  if (found != names.end()) return static_cast<std::uint16_t>(found - names.begin());
  if (names.size() >= 65535) return 0;
  names.push_back(name);
  return static_cast<std::uint16_t>(names.size() - 1);
}

std::uint32_t StyleEngine::Keep(const ComputedStyle& style) {
  std::string key(reinterpret_cast<const char*>(&style), sizeof style);
  const auto [it, added] = styleIndex_.try_emplace(std::move(key), static_cast<std::uint32_t>(styles_.size()));
  if (added) styles_.push_back(style);
  return it->second;
}

std::vector<std::uint32_t> StyleEngine::Compute(const std::vector<PageElement>& elements, int width) {
  std::vector<std::uint32_t> result(elements.size());
  std::vector<bool> ruleHolds(impl_->rules.size());
  {
    // Media hold or fail for a whole sheet's rules at once; sheets are kept in rule order.
    std::size_t r = 0;
    for (const CssSheet& sheet : impl_->sheets)
      for (const CssRule& rule : sheet.rules) {
        const bool holds = impl_->MediaHold(rule, sheet, width);
        for (; r < impl_->rules.size() && impl_->rules[r].rule == &rule; ++r) ruleHolds[r] = holds;
      }
  }
  std::vector<std::uint32_t> candidates;
  std::vector<std::uint64_t> ancestorKeys(elements.size());  // each element's keys and its ancestors'
  std::vector<Matched> matched;
  std::string key;
  std::unordered_map<std::string, std::uint32_t> memo;
  std::vector<CssDeclaration> hints, inline_;
  float rootPx = initial_.fontSize * kPxPerPt;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const PageElement& e = elements[i];
    const ComputedStyle& parent = e.parent >= 0 ? styles_[result[static_cast<std::size_t>(e.parent)]] : initial_;
    candidates.clear();
    const auto gather = [&](const std::unordered_map<std::string, std::vector<std::uint32_t>>& index,
                            const std::string& key) {
      if (const auto found = index.find(key); found != index.end())
        candidates.insert(candidates.end(), found->second.begin(), found->second.end());
    };
    if (const std::string_view id = e.Id(); !id.empty()) gather(impl_->byId, std::string(id));
    if (!impl_->byClass.empty())
      e.ForEachClass([&](std::string_view c) {
        gather(impl_->byClass, std::string(c));
        return false;
      });
    gather(impl_->byTag, e.name);
    candidates.insert(candidates.end(), impl_->universal.begin(), impl_->universal.end());
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    // Elements of one name and the same attributes, matched by the same rules under parents of the same
    // style, compute alike: the cascade runs once for them all.
    key.clear();
    const std::uint32_t parentIndex = e.parent >= 0 ? result[static_cast<std::size_t>(e.parent)] : ~0u;
    key.append(reinterpret_cast<const char*>(&parentIndex), sizeof parentIndex);
    const std::uint64_t above = e.parent >= 0 ? ancestorKeys[static_cast<std::size_t>(e.parent)] : 0;
    ancestorKeys[i] = above | ElementKeys(e);
    std::erase_if(candidates, [&](std::uint32_t c) {
      const RuleRef& ref = impl_->rules[c];
      return !ruleHolds[c] || (ref.ancestors & ~above) != 0 ||
             !ref.rule->selectors[ref.selector].Matches(elements, static_cast<int>(i));
    });
    key.append(reinterpret_cast<const char*>(candidates.data()), candidates.size() * sizeof candidates[0]);
    key += e.name;
    key += '\0';
    if (e.attributes) key += e.attributes->Bytes(e.attributesBegin, e.attributesEnd);
    if (const auto known = memo.find(key); known != memo.end()) {
      result[i] = known->second;
      continue;
    }

    ComputedStyle style = initial_;
    StyleApplier applier{*this, style, parent, rootPx};
    for (int p = 0; p <= static_cast<int>(CssProperty::TextDecoration); ++p)
      applier.Reset(static_cast<CssProperty>(p), parent);
    constexpr std::uint64_t kInheritedBits = (2ull << static_cast<int>(CssProperty::TextDecoration)) - 1;
    style.authored = parent.authored & kInheritedBits;

    matched.clear();
    for (std::uint32_t c : candidates) {
      const RuleRef& ref = impl_->rules[c];
      const CssSelector& selector = ref.rule->selectors[ref.selector];
      // A rule matched by two selectors of its group counts once, with the higher specificity.
      if (!matched.empty() && matched.back().order == ref.order) {
        const std::uint32_t best = std::max(matched.back().specificity, selector.specificity);
        for (auto it = matched.rbegin(); it != matched.rend() && it->order == ref.order; ++it) it->specificity = best;
        continue;
      }
      for (const CssDeclaration& d : ref.rule->declarations)
        matched.push_back(
            {d.important && ref.level == kAuthor ? kAuthorImportant : ref.level, selector.specificity, ref.order, &d});
    }
    hints = PresentationalHints(e);
    for (const CssDeclaration& d : hints) matched.push_back({kPresentational, 0, 0, &d});
    inline_.clear();
    if (const auto attribute = e.Attribute("style")) inline_ = ParseDeclarations(*attribute);
    for (const CssDeclaration& d : inline_)
      matched.push_back({d.important ? kStyleImportant : kStyleAttribute, 0, 0, &d});
    std::stable_sort(matched.begin(), matched.end(), [](const Matched& a, const Matched& b) {
      if (a.level != b.level) return a.level < b.level;
      if (a.specificity != b.specificity) return a.specificity < b.specificity;
      return a.order < b.order;
    });

    // Font size first: em lengths of the other properties count from it.
    for (int pass = 0; pass < 2; ++pass)
      for (const Matched& m : matched) {
        const bool fontSize = m.declaration->property == CssProperty::FontSize;
        if (fontSize != (pass == 0)) continue;
        if (!applier.Apply(*m.declaration)) continue;
        const std::uint64_t bit = 1ull << static_cast<int>(m.declaration->property);
        if (m.level >= kAuthor)
          style.authored |= bit;
        else
          style.authored &= ~bit;
      }
    for (int s = 0; s < 4; ++s)
      if (style.borderStyle[s] == CssBorderStyle::None) style.borderWidth[s] = 0;
    if (e.parent < 0) rootPx = style.fontSize * kPxPerPt;
    result[i] = Keep(style);
    if (memo.size() >= kMemoLimit) memo.clear();  // pages of unique attributes would only fill it
    memo.emplace(key, result[i]);
  }
  return result;
}

std::string StyleEngine::Differences(const ComputedStyle& s, const ComputedStyle* parentStyle) const {
  // Inherited properties are compared with the parent's, the others with their initial values: what the
  // element would have from its parent alone.
  const ComputedStyle& p = parentStyle ? *parentStyle : initial_;
  const ComputedStyle& i0 = initial_;
  std::string out;
  const auto add = [&](std::string_view name, const std::string& value) {
    out += (out.empty() ? "" : "; ") + std::string(name) + " " + value;
  };
  if (s.display != i0.display) add("display", std::string(NameOf(s.display, kDisplays)));
  if (s.color != p.color) add("color", CssHex(s.color));
  if (s.family != p.family) add("font-family", families_[s.family]);
  if (s.fontSize != p.fontSize) add("font-size", Number(s.fontSize) + "pt");
  if (s.fontWeight != p.fontWeight) add("font-weight", std::to_string(s.fontWeight));
  if (s.italic != p.italic) add("font-style", s.italic ? "italic" : "normal");
  if (s.decoration != p.decoration) {
    std::string words;
    if (s.decoration & kDecorationUnderline) words += " underline";
    if (s.decoration & kDecorationLineThrough) words += " line-through";
    if (s.decoration & kDecorationOverline) words += " overline";
    add("text-decoration", words.empty() ? "none" : words.substr(1));
  }
  if (s.textAlign != p.textAlign) add("text-align", std::string(NameOf(s.textAlign, kAligns)));
  if (s.textIndent != p.textIndent) add("text-indent", Number(s.textIndent) + "px");
  if (s.textTransform != p.textTransform) add("text-transform", std::string(NameOf(s.textTransform, kTransforms)));
  if (s.whiteSpace != p.whiteSpace) add("white-space", std::string(NameOf(s.whiteSpace, kWhiteSpaces)));
  if (!(s.lineHeight == p.lineHeight))
    add("line-height", s.lineHeight.unit == CssLength::Unit::Auto ? "normal" : LengthText(s.lineHeight));
  if (s.hidden != p.hidden) add("visibility", s.hidden ? "hidden" : "visible");
  if (s.listStyle != p.listStyle) add("list-style-type", std::string(NameOf(s.listStyle, kListStyles)));
  if (s.borderCollapse != p.borderCollapse) add("border-collapse", s.borderCollapse ? "collapse" : "separate");
  if (s.borderSpacing != p.borderSpacing) add("border-spacing", Number(s.borderSpacing) + "px");
  if (s.hasBackground != i0.hasBackground || (s.hasBackground && s.background != i0.background))
    add("background-color", s.hasBackground ? CssHex(s.background) : "transparent");
  if (s.backgroundImage != i0.backgroundImage)
    add("background-image", s.backgroundImage ? "url(" + images_[s.backgroundImage] + ")" : "none");
  static constexpr const char* kSides[] = {"top", "right", "bottom", "left"};
  for (int i = 0; i < 4; ++i) {
    if (!(s.margin[i] == i0.margin[i])) add(std::string("margin-") + kSides[i], LengthText(s.margin[i]));
  }
  for (int i = 0; i < 4; ++i)
    if (!(s.padding[i] == i0.padding[i])) add(std::string("padding-") + kSides[i], LengthText(s.padding[i]));
  for (int i = 0; i < 4; ++i) {
    const std::string border = std::string("border-") + kSides[i];
    if (s.borderWidth[i] != i0.borderWidth[i]) add(border + "-width", Number(s.borderWidth[i]) + "px");
    if (s.borderStyle[i] != i0.borderStyle[i])
      add(border + "-style", std::string(NameOf(s.borderStyle[i], kBorderStyles)));
    if (s.borderColor[i] != i0.borderColor[i] && s.borderStyle[i] != CssBorderStyle::None)
      add(border + "-color", CssHex(s.borderColor[i]));
  }
  if (!(s.width == i0.width)) add("width", LengthText(s.width));
  if (!(s.minWidth == i0.minWidth)) add("min-width", LengthText(s.minWidth));
  if (!(s.maxWidth == i0.maxWidth)) add("max-width", LengthText(s.maxWidth));
  if (!(s.height == i0.height)) add("height", LengthText(s.height));
  if (s.floating != i0.floating) add("float", std::string(NameOf(s.floating, kFloats)));
  if (s.clear != i0.clear) add("clear", std::string(NameOf(s.clear, kFloats)));
  if (s.verticalAlign != i0.verticalAlign) add("vertical-align", std::string(NameOf(s.verticalAlign, kVerticalAligns)));
  return out;
}

}  // namespace preview
