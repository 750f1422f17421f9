// The style engine: the cascade of the renderer's defaults, presentational attributes, author sheets and
// style attributes over the page's elements, giving each element its computed style. Equal styles are
// kept once, so a page of a million elements holds a few hundred styles.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Color.h"
#include "preview/CssSheet.h"
#include "preview/PageTree.h"

namespace preview {

struct CssLength {
  enum class Unit : std::uint8_t { Px, Percent, Auto, None, Number } unit = Unit::Px;
  float value = 0;
  bool operator==(const CssLength&) const = default;
};

enum class CssDisplay : std::uint8_t {
  Inline,
  Block,
  ListItem,
  InlineBlock,
  Table,
  TableRowGroup,
  TableRow,
  TableCell,
  TableCaption,
  TableColumn,
  None
};
enum class CssTextAlign : std::uint8_t { Left, Center, Right, Justify };
enum class CssListStyle : std::uint8_t {
  Disc,
  Circle,
  Square,
  Decimal,
  LowerAlpha,
  UpperAlpha,
  LowerRoman,
  UpperRoman,
  None
};
enum class CssWhiteSpace : std::uint8_t { Normal, Pre, Nowrap, PreWrap, PreLine };
enum class CssTransform : std::uint8_t { None, Uppercase, Lowercase, Capitalize };
enum class CssFloat : std::uint8_t { None, Left, Right, Both };
enum class CssVerticalAlign : std::uint8_t { Baseline, Sub, Super, Top, Middle, Bottom, TextTop, TextBottom };
enum class CssBorderStyle : std::uint8_t { None, Solid, Dashed, Dotted, Double, Other };
// Whether an element of this display starts a block of its own.
constexpr bool IsBlockLevel(CssDisplay d) {
  return d != CssDisplay::Inline && d != CssDisplay::InlineBlock && d != CssDisplay::None;
}
constexpr std::uint8_t kDecorationUnderline = 1, kDecorationLineThrough = 2, kDecorationOverline = 4;

// Every value as computed: lengths in pixels (or a percentage), font sizes in points. Plain data, kept
// once per distinct byte image.
struct ComputedStyle {
  platform::Color color = 0;
  float fontSize = 12;
  float textIndent = 0;
  float borderSpacing = 0;
  CssLength lineHeight{CssLength::Unit::Auto, 0};
  std::uint16_t family = 0;  // index into the engine's family names
  std::uint16_t fontWeight = 400;
  std::uint16_t backgroundImage = 0;  // index into the engine's image names; 0 for none
  bool italic = false;
  bool hidden = false;
  bool borderCollapse = false;
  bool hasBackground = false;
  CssTextAlign textAlign = CssTextAlign::Left;
  CssTransform textTransform = CssTransform::None;
  CssWhiteSpace whiteSpace = CssWhiteSpace::Normal;
  CssListStyle listStyle = CssListStyle::Disc;
  std::uint8_t decoration = 0;  // what the element's text is drawn with, its ancestors' included
  CssDisplay display = CssDisplay::Inline;
  CssFloat floating = CssFloat::None;
  CssFloat clear = CssFloat::None;
  CssVerticalAlign verticalAlign = CssVerticalAlign::Baseline;
  platform::Color background = 0;
  CssLength margin[4];
  CssLength padding[4];
  float borderWidth[4] = {0, 0, 0, 0};
  CssBorderStyle borderStyle[4] = {CssBorderStyle::None, CssBorderStyle::None, CssBorderStyle::None,
                                   CssBorderStyle::None};
  platform::Color borderColor[4] = {0, 0, 0, 0};
  CssLength width{CssLength::Unit::Auto, 0};
  CssLength minWidth;
  CssLength maxWidth{CssLength::Unit::None, 0};
  CssLength height{CssLength::Unit::Auto, 0};
  // One bit per property: its value comes from an author sheet or a style attribute, on this element or
  // (for the inherited ones) an ancestor. The renderer draws its own defaults where the bit is clear.
  std::uint64_t authored = 0;

  bool Authored(CssProperty p) const { return (authored >> static_cast<int>(p)) & 1; }
};

struct StyleDefaults {
  std::string fontName = "Times New Roman";
  std::string preFontName = "Courier New";
  platform::Color color = 0;
  platform::Color linkColor = platform::Rgb(0, 0, 255);
  // Whether a font family is installed; the first installed family of a list is taken.
  std::function<bool(const std::string&)> familyInstalled;
};

class StyleEngine {
 public:
  explicit StyleEngine(StyleDefaults defaults);
  ~StyleEngine();
  StyleEngine(const StyleEngine&) = delete;
  StyleEngine& operator=(const StyleEngine&) = delete;

  // An author sheet, after the sheets it imports; each of media must hold for any of its rules to apply.
  void AddAuthorSheet(CssSheet sheet, const std::vector<MediaList>& media = {});
  // True when a rule's media depend on the layout width, so that a relayout to another width may style
  // the page anew.
  bool DependsOnWidth() const;
  // Whether the media of the author rules hold at width in the same way as at other.
  bool SameMediaAt(int width, int other) const;

  // The style of every element, by index into Styles(), computed at layout width (for @media).
  std::vector<std::uint32_t> Compute(const std::vector<PageElement>& elements, int width);
  const ComputedStyle& Style(std::uint32_t index) const { return styles_[index]; }
  std::size_t StyleCount() const { return styles_.size(); }
  const std::string& Family(std::uint16_t index) const { return families_[index]; }
  const std::string& Image(std::uint16_t index) const { return images_[index]; }
  // "property value; ..." for the properties where style differs from parent (or from the initial
  // values when there is no parent).
  std::string Differences(const ComputedStyle& style, const ComputedStyle* parent) const;
  const ComputedStyle& Initial() const { return initial_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  StyleDefaults defaults_;
  ComputedStyle initial_;
  std::vector<ComputedStyle> styles_;
  std::unordered_map<std::string, std::uint32_t> styleIndex_;
  std::vector<std::string> families_;
  std::vector<std::string> images_;

  friend struct StyleApplier;
  std::uint16_t Intern(std::vector<std::string>& names, const std::string& name);
  std::uint32_t Keep(const ComputedStyle& style);
};

}  // namespace preview
