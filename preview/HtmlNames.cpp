// The tables behind the page reader's names.
#include "preview/HtmlNames.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "platform/TextBits.h"

namespace preview {
namespace {

constexpr std::array<std::string_view, kTagCount> kTagNames = {
    "HTML",  "TITLE",    "BODY",     "HEAD",       "B",    "I",      "H",      "EM",       "STRONG",   "U",
    "CITE",  "VAR",      "TT",       "CODE",       "KBD",  "SAMP",   "OL",     "UL",       "DIR",      "MENU",
    "DL",    "A",        "ADDRESS",  "BLOCKQUOTE", "PRE",  "CENTER", "TABLE",  "TD",       "TH",       "CAPTION",
    "FORM",  "TEXTAREA", "SELECT",   "OPTION",     "FONT", "SUB",    "SUP",    "BIG",      "SMALL",    "P",
    "MAP",   "FRAMESET", "NOFRAMES", "SCRIPT",     "DIV",  "S",      "STRIKE", "TR",       "LI",       "BR",
    "HR",    "DD",       "DT",       "IMG",        "BASE", "BUTTON", "INPUT",  "SELECTED", "BASEFONT", "AREA",
    "FRAME", "BGSOUND",  "WRAP",     "META",
};

constexpr std::array<std::string_view, static_cast<int>(Attr::Unknown)> kAttrNames = {
    "HREF",        "NAME",         "SRC",     "ALT",         "ALIGN",       "TEXT",        "BGCOLOR",    "LINK",
    "BACKGROUND",  "COLSPAN",      "ROWSPAN", "BORDER",      "CELLPADDING", "CELLSPACING", "VALIGN",     "WIDTH",
    "START",       "VALUE",        "TYPE",    "CHECKBOX",    "RADIO",       "METHOD",      "ACTION",     "CHECKED",
    "SIZE",        "MAXLENGTH",    "COLS",    "ROWS",        "MULTIPLE",    "SELECTED",    "FACE",       "COLOR",
    "TRANSP",      "CLEAR",        "ISMAP",   "BORDERCOLOR", "USEMAP",      "SHAPE",       "COORDS",     "NOHREF",
    "HEIGHT",      "PLAIN",        "TARGET",  "NORESIZE",    "SCROLLING",   "HSPACE",      "LANGUAGE",   "FRAMEBORDER",
    "MARGINWIDTH", "MARGINHEIGHT", "LOOP",    "ONCLICK",     "WRAP",        "NOSHADE",     "HTTP-EQUIV", "CONTENT",
    "ENCTYPE",
};

// The first four stand for & < > and the double quote; the others for the codes 160 to 255 in order.
constexpr std::array<std::string_view, 100> kEntityNames = {
    "amp",    "lt",     "gt",     "quot",   "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",
    "brvbar", "sect",   "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
    "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",
    "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute",
    "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",
    "igrave", "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde",
    "ouml",   "divide", "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

static_assert(kTagNames.back() == "META" && kAttrNames.back() == "ENCTYPE" && kEntityNames.back() == "yuml",
              "every table entry lines up with its enumerator");

struct NamedColor {
  std::string_view name;
  platform::Color color;
};
constexpr std::array<NamedColor, 16> kColorNames = {{
    {"BLACK", platform::Rgb(0x00, 0x00, 0x00)},
    {"SILVER", platform::Rgb(0xC0, 0xC0, 0xC0)},
    {"MAROON", platform::Rgb(0x80, 0x00, 0x00)},
    {"RED", platform::Rgb(0xFF, 0x00, 0x00)},
    {"GREEN", platform::Rgb(0x00, 0x80, 0x00)},
    {"LIME", platform::Rgb(0x00, 0xFF, 0x00)},
    {"OLIVE", platform::Rgb(0x80, 0x80, 0x00)},
    {"YELLOW", platform::Rgb(0xFF, 0xFF, 0x00)},
    {"NAVY", platform::Rgb(0x00, 0x00, 0x80)},
    {"BLUE", platform::Rgb(0x00, 0x00, 0xFF)},
    {"PURPLE", platform::Rgb(0x80, 0x00, 0x80)},
    {"FUCHSIA", platform::Rgb(0xFF, 0x00, 0xFF)},
    {"TEAL", platform::Rgb(0x00, 0x80, 0x80)},
    {"AQUA", platform::Rgb(0x00, 0xFF, 0xFF)},
    {"GRAY", platform::Rgb(0x80, 0x80, 0x80)},
    {"WHITE", platform::Rgb(0xFF, 0xFF, 0xFF)},
}};

template <typename Value, std::size_t N>
std::unordered_map<std::string_view, Value> IndexOf(const std::array<std::string_view, N>& names) {
  std::unordered_map<std::string_view, Value> index;
  for (std::size_t i = 0; i < N; ++i) index.emplace(names[i], static_cast<Value>(i));
  return index;
}

}  // namespace

std::string_view TagName(Tag tag) { return kTagNames[static_cast<int>(tag)]; }

std::optional<Tag> FindTag(std::string_view name) {
  static const auto index = IndexOf<Tag>(kTagNames);
  const auto found = index.find(name);
  if (found == index.end()) return std::nullopt;
  return found->second;
}

bool KeepsAttributes(Tag tag) {
  switch (tag) {
    case Tag::Body:
    case Tag::P:
    case Tag::Br:
    case Tag::H:
    case Tag::Hr:
    case Tag::Base:
    case Tag::Ol:
    case Tag::Ul:
    case Tag::Img:
    case Tag::A:
    case Tag::Table:
    case Tag::Td:
    case Tag::Tr:
    case Tag::Th:
    case Tag::Caption:
    case Tag::Input:
    case Tag::Form:
    case Tag::Textarea:
    case Tag::Select:
    case Tag::Option:
    case Tag::Font:
    case Tag::Basefont:
    case Tag::Map:
    case Tag::Area:
    case Tag::Frameset:
    case Tag::Frame:
    case Tag::Script:
    case Tag::Div:
    case Tag::Bgsound:
    case Tag::Wrap:
    case Tag::Meta:
      return true;
    default:
      return false;
  }
}

std::string_view AttrName(Attr attr) { return attr == Attr::Unknown ? "?" : kAttrNames[static_cast<int>(attr)]; }

Attr FindAttr(std::string_view upperName) {
  static const auto index = IndexOf<Attr>(kAttrNames);
  const auto found = index.find(upperName);
  return found == index.end() ? Attr::Unknown : found->second;
}

std::optional<char> FindEntity(std::string_view name) {
  static const auto index = IndexOf<int>(kEntityNames);
  const auto found = index.find(name);
  if (found == index.end()) return std::nullopt;
  static constexpr char kFirstFour[] = {'&', '<', '>', '"'};
  const int i = found->second;
  return i < 4 ? kFirstFour[i] : static_cast<char>(160 + i - 4);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
         });
}

std::optional<platform::Color> ParseColor(std::string_view value) {
  const std::string upper = platform::AsciiUpper(std::string(value.substr(0, 10)));
  for (const NamedColor& named : kColorNames)
    if (upper == named.name) return named.color;
  std::string hex(value);
  if (const auto hash = hex.find('#'); hash != std::string::npos) hex.erase(hash, 1);
  if (hex.size() != 6) return std::nullopt;
  int rgb[3];
  for (int i = 0; i < 3; ++i) {
    const int hi = platform::HexDigitValue(hex[2 * i]), lo = platform::HexDigitValue(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    rgb[i] = hi * 16 + lo;
  }
  return platform::Rgb(rgb[0], rgb[1], rgb[2]);
}

}  // namespace preview
