// Reading style sheets. The text is read in one pass with comments removed first; blocks are found by
// counting braces outside strings, so no sheet can nest the reader deeper than its @media limit.
#include "preview/CssSheet.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/TextBits.h"
#include "preview/CssValues.h"

namespace preview {
namespace {

constexpr int kMaxMediaNesting = 8;

constexpr std::array<std::string_view, kCssPropertyCount> kPropertyNames = {
    "color",
    "font-family",
    "font-size",
    "font-weight",
    "font-style",
    "text-align",
    "text-indent",
    "text-transform",
    "white-space",
    "line-height",
    "visibility",
    "list-style-type",
    "border-collapse",
    "border-spacing",
    "text-decoration",
    "display",
    "background-color",
    "background-image",
    "margin-top",
    "margin-right",
    "margin-bottom",
    "margin-left",
    "padding-top",
    "padding-right",
    "padding-bottom",
    "padding-left",
    "border-top-width",
    "border-right-width",
    "border-bottom-width",
    "border-left-width",
    "border-top-style",
    "border-right-style",
    "border-bottom-style",
    "border-left-style",
    "border-top-color",
    "border-right-color",
    "border-bottom-color",
    "border-left-color",
    "width",
    "min-width",
    "max-width",
    "height",
    "float",
    "clear",
    "vertical-align",
};

std::string Lower(std::string_view s) { return platform::AsciiLower(std::string(s)); }

// Steps through quoted strings: true when s[i] opens, continues or ends one (i moves past an escaped
// character). A string left open ends at its line's end, as CSS reads it.
bool StepString(std::string_view s, std::size_t& i, char& quote) {
  const char c = s[i];
  if (!quote) {
    if (c != '"' && c != '\'') return false;
    quote = c;
    return true;
  }
  if (c == '\\' && i + 1 < s.size())
    ++i;
  else if (c == quote || c == '\n' || c == '\r')
    quote = 0;
  return true;
}

// The text without its comments; strings are kept as written.
std::string WithoutComments(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t from = i;
    if (StepString(text, i, quote)) {
      out.append(text.substr(from, i - from + 1));
    } else if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 1;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

// The index of the first character from `from` on that stop accepts outside strings, parentheses and
// brackets, or the text's size.
template <typename Stop>
std::size_t FindOutside(std::string_view s, std::size_t from, Stop stop) {
  int depth = 0;
  char quote = 0;
  for (std::size_t i = from; i < s.size(); ++i) {
    if (StepString(s, i, quote)) continue;
    const char c = s[i];
    if (c == '(' || c == '[') {
      ++depth;
    } else if ((c == ')' || c == ']') && depth > 0) {
      --depth;
    } else if (depth == 0 && stop(c)) {
      return i;
    }
  }
  return s.size();
}

// Splits at sep (a blank stands for any blank) outside strings, parentheses and brackets; empty parts go.
std::vector<std::string_view> SplitOutside(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0; start < s.size();) {
    const std::size_t end = FindOutside(s, start, [sep](char c) { return sep == ' ' ? IsCssBlank(c) : c == sep; });
    if (end > start) parts.push_back(s.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::optional<CssProperty> FindProperty(std::string_view name) {
  const auto found = std::find(kPropertyNames.begin(), kPropertyNames.end(), name);
  if (found == kPropertyNames.end()) return std::nullopt;
  return static_cast<CssProperty>(found - kPropertyNames.begin());
}

CssProperty Offset(CssProperty first, int side) { return static_cast<CssProperty>(static_cast<int>(first) + side); }

bool IsBorderStyle(std::string_view v) {
  static constexpr std::string_view kStyles[] = {"none",   "hidden", "solid", "dashed", "dotted",
                                                 "double", "groove", "ridge", "inset",  "outset"};
  return std::find(std::begin(kStyles), std::end(kStyles), v) != std::end(kStyles);
}
bool StartsLength(std::string_view v) {
  return !v.empty() && ((v[0] >= '0' && v[0] <= '9') || v[0] == '.' || v[0] == '-' || v[0] == '+');
}
bool IsBorderWidth(std::string_view v) { return StartsLength(v) || v == "thin" || v == "medium" || v == "thick"; }

class DeclarationSink {
 public:
  DeclarationSink(std::vector<CssDeclaration>& out, bool important) : out_(out), important_(important) {}
  void Set(CssProperty property, std::string_view value) { out_.push_back({property, important_, std::string(value)}); }
  // One to four values over top, right, bottom, left, as margin and its kin give them.
  bool Sides(CssProperty top, const std::vector<std::string_view>& v) {
    if (v.empty() || v.size() > 4) return false;
    const std::size_t map[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}};
    for (int side = 0; side < 4; ++side) Set(Offset(top, side), v[map[v.size() - 1][side]]);
    return true;
  }
  void Border(int firstSide, int sides, const std::vector<std::string_view>& v) {
    std::string_view width = "initial", style = "initial", color = "initial";
    for (std::string_view part : v) {
      const std::string lower = Lower(part);
      if (IsBorderStyle(lower))
        style = part;
      else if (IsBorderWidth(lower))
        width = part;
      else
        color = part;
    }
    for (int side = firstSide; side < firstSide + sides; ++side) {
      Set(Offset(CssProperty::BorderTopWidth, side), width);
      Set(Offset(CssProperty::BorderTopStyle, side), style);
      Set(Offset(CssProperty::BorderTopColor, side), color);
    }
  }
  void Background(const std::vector<std::string_view>& v) {
    std::string_view color = "transparent", image = "none";
    for (std::string_view part : v) {
      const std::string lower = Lower(part);
      if (lower.rfind("url(", 0) == 0)
        image = part;
      else if (!IsBackgroundWord(lower))
        color = part;
    }
    Set(CssProperty::BackgroundColor, color);
    Set(CssProperty::BackgroundImage, image);
  }
  bool Font(std::string_view value, const std::vector<std::string_view>& v) {
    std::string_view style = "normal", weight = "normal";
    std::size_t i = 0;
    for (; i < v.size(); ++i) {
      const std::string lower = Lower(v[i]);
      if (lower == "italic" || lower == "oblique")
        style = v[i];
      else if (lower == "bold" || lower == "bolder" || lower == "lighter" || (lower.size() == 3 && lower[1] == '0'))
        weight = v[i];
      else if (lower != "normal" && lower != "small-caps")
        break;
    }
    if (i + 1 >= v.size()) return false;  // a size and a family are required
    std::string_view size = v[i];
    std::string_view lineHeight;
    if (const auto slash = size.find('/'); slash != std::string_view::npos) {
      lineHeight = size.substr(slash + 1);
      size = size.substr(0, slash);
    }
    const std::size_t familyStart = v[i + 1].data() - value.data();
    const std::string_view family = CssTrim(value.substr(familyStart));
    if (family.empty()) return false;
    Set(CssProperty::FontStyle, style);
    Set(CssProperty::FontWeight, weight);
    Set(CssProperty::FontSize, size);
    Set(CssProperty::LineHeight, lineHeight.empty() ? "normal" : lineHeight);
    Set(CssProperty::FontFamily, family);
    return true;
  }
  void ListStyle(const std::vector<std::string_view>& v) {
    for (std::string_view part : v) {
      const std::string lower = Lower(part);
      if (lower != "inside" && lower != "outside" && lower.rfind("url(", 0) != 0) Set(CssProperty::ListStyleType, part);
    }
  }

 private:
  static bool IsBackgroundWord(std::string_view v) {
    static constexpr std::string_view kWords[] = {"repeat", "repeat-x", "repeat-y", "no-repeat", "scroll", "fixed",
                                                  "left",   "right",    "top",      "bottom",    "center", "none"};
    return std::find(std::begin(kWords), std::end(kWords), v) != std::end(kWords) || StartsLength(v);
  }

  std::vector<CssDeclaration>& out_;
  bool important_;
};

void AddDeclaration(std::string_view text, std::vector<CssDeclaration>& out) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return;
  const std::string name = Lower(CssTrim(text.substr(0, colon)));
  std::string_view value = CssTrim(text.substr(colon + 1));
  bool important = false;
  if (const std::size_t bang = value.rfind('!'); bang != std::string_view::npos) {
    if (Lower(CssTrim(value.substr(bang + 1))) != "important") return;
    important = true;
    value = CssTrim(value.substr(0, bang));
  }
  if (value.empty() || name.empty()) return;
  DeclarationSink sink(out, important);
  const std::vector<std::string_view> parts = SplitOutside(value, ' ');
  if (const auto property = FindProperty(name)) return sink.Set(*property, value);
  if (name == "margin")
    sink.Sides(CssProperty::MarginTop, parts);
  else if (name == "padding")
    sink.Sides(CssProperty::PaddingTop, parts);
  else if (name == "border-width")
    sink.Sides(CssProperty::BorderTopWidth, parts);
  else if (name == "border-style")
    sink.Sides(CssProperty::BorderTopStyle, parts);
  else if (name == "border-color")
    sink.Sides(CssProperty::BorderTopColor, parts);
  else if (name == "border")
    sink.Border(0, 4, parts);
  else if (name == "border-top")
    sink.Border(0, 1, parts);
  else if (name == "border-right")
    sink.Border(1, 1, parts);
  else if (name == "border-bottom")
    sink.Border(2, 1, parts);
  else if (name == "border-left")
    sink.Border(3, 1, parts);
  else if (name == "background")
    sink.Background(parts);
  else if (name == "font")
    sink.Font(value, parts);
  else if (name == "list-style")
    sink.ListStyle(parts);
}

// A length in a media feature, in pixels (em and rem at 16 pixels).
std::optional<float> MediaPixels(std::string_view text) {
  float number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc()) return std::nullopt;
  const std::string unit = Lower(CssTrim(std::string_view(end, text.data() + text.size() - end)));
  if (unit == "px" || (unit.empty() && number == 0)) return number;
  if (unit == "em" || unit == "rem") return number * 16;
  if (unit == "pt") return number * 4 / 3;
  return std::nullopt;
}

MediaQuery ParseMediaQuery(std::string_view text) {
  MediaQuery query;
  bool typeSeen = false;
  for (std::string_view part : SplitOutside(text, ' ')) {
    const std::string word = Lower(part);
    if (word == "only" || word == "and") continue;
    if (word == "not" && !typeSeen) {
      query.negated = true;
    } else if (word.front() == '(' && word.back() == ')') {
      const std::string_view inside(word.data() + 1, word.size() - 2);
      const std::size_t colon = inside.find(':');
      const std::string_view name = CssTrim(inside.substr(0, colon));
      const auto pixels =
          colon == std::string_view::npos ? std::nullopt : MediaPixels(CssTrim(inside.substr(colon + 1)));
      if ((name == "min-width" || name == "max-width") && pixels)
        query.widths.push_back({name == "min-width", *pixels});
      else
        query.unknownFeature = true;
    } else if (!typeSeen) {
      typeSeen = true;
      query.type = word == "all"      ? MediaQuery::Type::All
                   : word == "screen" ? MediaQuery::Type::Screen
                                      : MediaQuery::Type::Other;
    } else {
      query.unknownFeature = true;
    }
  }
  return query;
}

class RuleReader {
 public:
  RuleReader(std::string_view text, CssSheet& sheet) : s_(text), sheet_(sheet) {}

  void ReadRules(std::vector<int>& media, int nesting, bool topLevel) {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (IsCssBlank(c) || c == ';') {
        ++i_;
      } else if (s_.compare(i_, 4, "<!--") == 0) {
        i_ += 4;
      } else if (s_.compare(i_, 3, "-->") == 0) {
        i_ += 3;
      } else if (c == '}') {
        ++i_;
        if (!topLevel) return;
      } else if (c == '@') {
        ReadAtRule(media, nesting);
      } else {
        ReadQualifiedRule(media);
      }
    }
  }

 private:
  // Up to (not past) the first of stops outside strings and brackets, or the end.
  std::string_view ReadUntil(std::string_view stops) {
    const std::size_t start = i_;
    i_ = FindOutside(s_, i_, [stops](char c) { return stops.find(c) != std::string_view::npos; });
    return s_.substr(start, i_ - start);
  }
  // With "{" current: the block's contents; past its "}" (or at the end when it is left open).
  std::string_view ReadBlock() {
    const std::size_t start = ++i_;
    int depth = 0;
    char quote = 0;
    for (; i_ < s_.size(); ++i_) {
      if (StepString(s_, i_, quote)) continue;
      const char c = s_[i_];
      if (c == '{') {
        ++depth;
      } else if (c == '}' && depth-- == 0) {
        return s_.substr(start, i_++ - start);
      }
    }
    return s_.substr(std::min(start, s_.size()));
  }

  void ReadAtRule(std::vector<int>& media, int nesting) {
    ++i_;
    const std::size_t nameStart = i_;
    while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '-')) ++i_;
    const std::string name = Lower(s_.substr(nameStart, i_ - nameStart));
    const std::string_view prelude = CssTrim(ReadUntil(";{}"));
    const bool block = i_ < s_.size() && s_[i_] == '{';
    if (!block) {
      if (i_ < s_.size() && s_[i_] == ';') ++i_;
      if (name == "import" && sheet_.rules.empty() && media.empty()) ReadImport(prelude);
      return;
    }
    if (name == "media" && nesting < kMaxMediaNesting) {
      ++i_;
      sheet_.media.push_back(ParseMediaList(prelude));
      media.push_back(static_cast<int>(sheet_.media.size()) - 1);
      ReadRules(media, nesting + 1, false);
      media.pop_back();
      return;
    }
    ReadBlock();
  }

  void ReadImport(std::string_view prelude) {
    const std::vector<std::string_view> parts = SplitOutside(prelude, ' ');
    if (parts.empty()) return;
    CssImport import{CssUrl(parts[0]), -1};
    if (import.url.empty()) return;
    if (parts.size() > 1) {
      const std::size_t from = parts[1].data() - prelude.data();
      sheet_.media.push_back(ParseMediaList(prelude.substr(from)));
      import.media = static_cast<int>(sheet_.media.size()) - 1;
    }
    sheet_.imports.push_back(std::move(import));
  }

  void ReadQualifiedRule(const std::vector<int>& media) {
    const std::string_view prelude = ReadUntil("{}");
    if (i_ >= s_.size() || s_[i_] == '}') return;  // a selector with no block is dropped
    const std::string_view block = ReadBlock();
    CssRule rule{ParseSelectorGroup(CssTrim(prelude)), ParseDeclarations(block), media};
    if (!rule.selectors.empty() && !rule.declarations.empty()) sheet_.rules.push_back(std::move(rule));
  }

  std::string_view s_;
  std::size_t i_ = 0;
  CssSheet& sheet_;
};

}  // namespace

std::string_view CssPropertyName(CssProperty property) { return kPropertyNames[static_cast<int>(property)]; }

std::vector<CssDeclaration> ParseDeclarations(std::string_view block) {
  const std::string text = WithoutComments(block);
  std::vector<CssDeclaration> out;
  for (std::string_view part : SplitOutside(text, ';')) AddDeclaration(part, out);
  return out;
}

bool MediaQuery::Holds(int width) const {
  bool holds = type != Type::Other && !unknownFeature;
  for (const auto& [minimum, pixels] : widths)
    if (minimum ? width < pixels : width > pixels) holds = false;
  return negated ? !holds : holds;
}

bool MediaList::Holds(int width) const {
  return queries.empty() ||
         std::any_of(queries.begin(), queries.end(), [width](const MediaQuery& q) { return q.Holds(width); });
}

bool MediaList::DependsOnWidth() const {
  return std::any_of(queries.begin(), queries.end(), [](const MediaQuery& q) { return !q.widths.empty(); });
}

MediaList ParseMediaList(std::string_view text) {
  MediaList list;
  for (std::string_view part : SplitOutside(text, ','))
    if (!CssTrim(part).empty()) list.queries.push_back(ParseMediaQuery(CssTrim(part)));
  return list;
}

CssSheet ParseStyleSheet(std::string_view text) {
  const std::string clean = WithoutComments(text);
  CssSheet sheet;
  std::vector<int> media;
  RuleReader(clean, sheet).ReadRules(media, 0, true);
  return sheet;
}

std::string CssUrl(std::string_view text) {
  text = CssTrim(text);
  if (Lower(text.substr(0, 4)) == "url(" && text.back() == ')') text = CssTrim(text.substr(4, text.size() - 5));
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    return std::string(text.substr(1, text.size() - 2));
  if (!text.empty() && (text.front() == '"' || text.front() == '\'')) return {};
  return std::string(text);
}

}  // namespace preview
