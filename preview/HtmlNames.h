// The names the page reader knows: tags, attributes, entities and colours.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Color.h"
#include "platform/TextBits.h"

namespace preview {

// The first 48 tags (Html .. Tr) also have end tags; the rest have start tags only.
enum class Tag : std::uint8_t {
  Html,
  Title,
  Body,
  Head,
  B,
  I,
  H,
  Em,
  Strong,
  U,
  Cite,
  Var,
  Tt,
  Code,
  Kbd,
  Samp,
  Ol,
  Ul,
  Dir,
  Menu,
  Dl,
  A,
  Address,
  Blockquote,
  Pre,
  Center,
  Table,
  Td,
  Th,
  Caption,
  Form,
  Textarea,
  Select,
  Option,
  Font,
  Sub,
  Sup,
  Big,
  Small,
  P,
  Map,
  Frameset,
  Noframes,
  Script,
  Div,
  S,
  Strike,
  Tr,
  Li,
  Br,
  Hr,
  Dd,
  Dt,
  Img,
  Base,
  Button,
  Input,
  Selected,
  Basefont,
  Area,
  Frame,
  Bgsound,
  Wrap,
  Meta,
};
constexpr int kTagCount = 64;
constexpr bool HasEndTag(Tag tag) { return static_cast<int>(tag) < 48; }

enum class Attr : std::uint8_t {
  Href,
  Name,
  Src,
  Alt,
  Align,
  Text,
  BgColor,
  Link,
  Background,
  ColSpan,
  RowSpan,
  Border,
  CellPadding,
  CellSpacing,
  VAlign,
  Width,
  Start,
  Value,
  Type,
  Checkbox,
  Radio,
  Method,
  Action,
  Checked,
  Size,
  MaxLength,
  Cols,
  Rows,
  Multiple,
  Selected,
  Face,
  Color,
  Transp,
  Clear,
  IsMap,
  BorderColor,
  UseMap,
  Shape,
  Coords,
  NoHref,
  Height,
  Plain,
  Target,
  NoResize,
  Scrolling,
  HSpace,
  Language,
  FrameBorder,
  MarginWidth,
  MarginHeight,
  Loop,
  OnClick,
  Wrap,
  NoShade,
  HttpEquiv,
  Content,
  EncType,
  Unknown,  // every name not in the table
};

std::string_view TagName(Tag tag);
// name upper-cased, compared exactly.
std::optional<Tag> FindTag(std::string_view name);
// The tags whose attributes the parser uses; the attributes of the others are read and dropped.
bool KeepsAttributes(Tag tag);
// "?" for Unknown.
std::string_view AttrName(Attr attr);
Attr FindAttr(std::string_view upperName);
// The character a named entity stands for (names compared with their case), or nothing.
std::optional<char> FindEntity(std::string_view name);

// ASCII letters compared without regard to case, as every name and keyword of a page is.
bool SameText(std::string_view a, std::string_view b);

// A colour name (the first 10 characters of value, upper-cased) or six hexadecimal digits RRGGBB after the
// first "#" is removed; nothing when it is neither.
std::optional<platform::Color> ParseColor(std::string_view value);

}  // namespace preview
