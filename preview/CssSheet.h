// Style sheets as the preview reads them: rules of selectors and declarations, @media conditions and
// @import links. The reader follows the CSS error rules: a rule whose selector it does not understand is
// dropped whole, a declaration it cannot read is skipped and the rest of its block applies, and anything
// left open at the end of the text is closed there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/CssSelector.h"

namespace preview {

enum class CssProperty : std::uint8_t {
  Color,
  FontFamily,
  FontSize,
  FontWeight,
  FontStyle,
  TextAlign,
  TextIndent,
  TextTransform,
  WhiteSpace,
  LineHeight,
  Visibility,
  ListStyleType,
  BorderCollapse,
  BorderSpacing,
  TextDecoration,
  Display,
  BackgroundColor,
  BackgroundImage,
  MarginTop,
  MarginRight,
  MarginBottom,
  MarginLeft,
  PaddingTop,
  PaddingRight,
  PaddingBottom,
  PaddingLeft,
  BorderTopWidth,
  BorderRightWidth,
  BorderBottomWidth,
  BorderLeftWidth,
  BorderTopStyle,
  BorderRightStyle,
  BorderBottomStyle,
  BorderLeftStyle,
  BorderTopColor,
  BorderRightColor,
  BorderBottomColor,
  BorderLeftColor,
  Width,
  MinWidth,
  MaxWidth,
  Height,
  Float,
  Clear,
  VerticalAlign,
};
constexpr int kCssPropertyCount = static_cast<int>(CssProperty::VerticalAlign) + 1;
// The properties from Color to TextDecoration pass to children; TextDecoration does so as the decoration
// a parent draws through its children's text.
constexpr bool IsInherited(CssProperty p) { return p <= CssProperty::TextDecoration; }
std::string_view CssPropertyName(CssProperty property);

struct CssDeclaration {
  CssProperty property;
  bool important = false;
  std::string value;  // trimmed, without "!important"
};

// A declaration block's text ("color: red; margin: 0 auto") as longhand declarations; shorthands are
// spread over the properties they set, unknown properties and empty values dropped.
std::vector<CssDeclaration> ParseDeclarations(std::string_view block);

// One media query: a type and width conditions, all of which must hold.
struct MediaQuery {
  enum class Type : std::uint8_t { All, Screen, Other } type = Type::All;
  bool negated = false;
  bool unknownFeature = false;                 // never holds
  std::vector<std::pair<bool, float>> widths;  // (minimum?, pixels)
  bool Holds(int width) const;
};
// A comma list holds when any query does; an empty list always holds.
struct MediaList {
  std::vector<MediaQuery> queries;
  bool Holds(int width) const;
  bool DependsOnWidth() const;
};
MediaList ParseMediaList(std::string_view text);

struct CssRule {
  std::vector<CssSelector> selectors;
  std::vector<CssDeclaration> declarations;
  std::vector<int> media;  // indexes into the sheet's media lists, all of which must hold
};

struct CssImport {
  std::string url;
  int media = -1;
};

struct CssSheet {
  std::vector<CssImport> imports;
  std::vector<CssRule> rules;
  std::vector<MediaList> media;
};

CssSheet ParseStyleSheet(std::string_view text);
// The text of url(...) or a quoted string, unquoted; empty when text is neither.
std::string CssUrl(std::string_view text);

}  // namespace preview
