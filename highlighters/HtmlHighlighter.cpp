// The HTML scanner: dispatch table, tag-name hashing, and the text, comment and script-block scanners.
#include "highlighters/HtmlHighlighter.h"

#include <cstring>

#include "highlighters/ScanChars.h"

namespace highlighters {
namespace {

// The entities the text scanner recognises, tried in this order without regard to case. Two are spelled as
// they always were: "&divide" without its semicolon and "&ldots;".
constexpr const char* kEntities[] = {
    "&amp;",    "&lt;",     "&gt;",     "&quot;",   "&trade;",  "&nbsp;",   "&copy;",   "&reg;",    "&Agrave;",
    "&Aacute;", "&Acirc;",  "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;", "&Egrave;", "&Eacute;",
    "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",   "&ETH;",    "&Ntilde;", "&Ograve;",
    "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",
    "&Yacute;", "&THORN;",  "&szlig;",  "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",
    "&aelig;",  "&ccedil;", "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;", "&iacute;", "&icirc;",
    "&iuml;",   "&eth;",    "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",  "&otilde;", "&ouml;",   "&oslash;",
    "&ugrave;", "&uacute;", "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",   "&iexcl;",  "&cent;",
    "&pound;",  "&curren;", "&yen;",    "&brvbar;", "&sect;",   "&uml;",    "&ordf;",   "&laquo;",  "&shy;",
    "&macr;",   "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",  "&micro;",  "&middot;", "&cedil;",
    "&sup1;",   "&ordm;",   "&raquo;",  "&frac14;", "&frac12;", "&frac34;", "&iquest;", "&times;",  "&divide",
    "&euro;",   "&#9;",     "&#127;",   "&#128;",   "&#129;",   "&#130;",   "&#131;",   "&#132;",   "&ldots;",
    "&#134;",   "&#135;",   "&#136;",   "&#137;",   "&#138;",   "&#139;",   "&#140;",   "&#141;",   "&#142;",
    "&#143;",   "&#144;",   "&#152;",   "&#153;",   "&#154;",   "&#155;",   "&#156;",   "&#157;",   "&#158;",
    "&#159;",   "&#161;",   "&#162;",   "&#163;",   "&#164;",   "&#165;",   "&#166;",   "&#167;",   "&#168;",
    "&#170;",   "&#175;",   "&#176;",   "&#177;",   "&#178;",   "&#180;",   "&#181;",   "&#183;",   "&#184;",
    "&#185;",   "&#186;",   "&#188;",   "&#189;",   "&#190;",   "&#191;",   "&#215;",
};
static_assert(std::size(kEntities) == 151);

// Known tag names: opening names, closing names (with a leading "/") and "!DOCTYPE".
constexpr const char* kTagNames[] = {
    "A",         "ABBR",     "ACRONYM",   "ADDRESS",    "APPLET",   "AREA",      "B",         "BASE",     "BASEFONT",
    "BGSOUND",   "BIG",      "BLINK",     "BLOCKQUOTE", "BODY",     "BR",        "BUTTON",    "CAPTION",  "CENTER",
    "CITE",      "CODE",     "COL",       "COLGROUP",   "COMMENT",  "DD",        "DEL",       "DFN",      "DIR",
    "DIV",       "DL",       "DT",        "EM",         "EMBED",    "FIELDSET",  "FONT",      "FORM",     "FRAME",
    "FRAMESET",  "H1",       "H2",        "H3",         "H4",       "H5",        "H6",        "HEAD",     "HR",
    "HTML",      "I",        "IFRAME",    "ILAYER",     "IMG",      "INPUT",     "INS",       "ISINDEX",  "KBD",
    "KEYGEN",    "LABEL",    "LAYER",     "LEGEND",     "LI",       "LINK",      "LISTING",   "MAP",      "MARQUEE",
    "MENU",      "META",     "MULTICOL",  "NEXTID",     "NOBR",     "NOEMBED",   "NOFRAMES",  "NOLAYER",  "NOSCRIPT",
    "OBJECT",    "OL",       "OPTION",    "P",          "PARAM",    "PLAINTEXT", "PRE",       "Q",        "S",
    "SAMP",      "SCRIPT",   "SELECT",    "SERVER",     "SMALL",    "SPACER",    "SPAN",      "STRIKE",   "STRONG",
    "STYLE",     "SUB",      "SUP",       "TABLE",      "TBODY",    "TD",        "TEXTAREA",  "TFOOT",    "TH",
    "THEAD",     "TITLE",    "TR",        "TT",         "U",        "UL",        "VAR",       "WBR",      "XMP",
    "/A",        "/ABBR",    "/ACRONYM",  "/ADDRESS",   "/APPLET",  "/B",        "/BIG",      "/BLINK",   "/BLOCKQUOTE",
    "/BODY",     "/BUTTON",  "/CAPTION",  "/CENTER",    "/CITE",    "/CODE",     "/COLGROUP", "/COMMENT", "/DD",
    "/DEL",      "/DFN",     "/DIR",      "/DIV",       "/DL",      "/DT",       "/EM",       "/EMBED",   "/FIELDSET",
    "/FONT",     "/FORM",    "/FRAMESET", "/H1",        "/H2",      "/H3",       "/H4",       "/H5",      "/H6",
    "/HEAD",     "/HTML",    "/I",        "/IFRAME",    "/ILAYER",  "/INS",      "/KBD",      "/LABEL",   "/LAYER",
    "/LEGEND",   "/LI",      "/LISTING",  "/MAP",       "/MARQUEE", "/MENU",     "/MULTICOL", "/NOBR",    "/NOEMBED",
    "/NOFRAMES", "/NOLAYER", "/NOSCRIPT", "/OBJECT",    "/OL",      "/OPTION",   "/P",        "/PRE",     "/Q",
    "/S",        "/SAMP",    "/SCRIPT",   "/SELECT",    "/SERVER",  "/SMALL",    "/SPAN",     "/STRIKE",  "/STRONG",
    "/STYLE",    "/SUB",     "/SUP",      "/TABLE",     "/TBODY",   "/TD",       "/TEXTAREA", "/TFOOT",   "/TH",
    "/THEAD",    "/TITLE",   "/TR",       "/TT",        "/U",       "/UL",       "/VAR",      "/XMP",     "!DOCTYPE",
};
static_assert(std::size(kTagNames) == 198);

// Hash values: '!' 123, '/' 122, letters 1 to 26 without regard to case, digits their value.
constexpr HashValues kHtmlHash = HashTable([](unsigned char c) {
  if (IsLetter(c)) return (c | 0x20) - 'a' + 1;
  if (IsDigit(c)) return c - '0';
  return c == '!' ? 123 : c == '/' ? 122 : -1;
});

bool IsHashStart(unsigned char c) { return c == '!' || c == '/' || IsLetter(c); }
// Blank characters a space run continues over; a tab starts a run but never continues one.
bool ContinuesSpace(unsigned char c) { return (c >= 1 && c <= 8) || c == 11 || c == 12 || (c >= 14 && c <= 32); }

std::unique_ptr<TqeHighLightAttributes> MakeAttribute(const char* name, platform::Color foreground,
                                                      platform::FontStyle style) {
  auto attribute = std::make_unique<TqeHighLightAttributes>(name);
  attribute->SetForeground(foreground);
  attribute->SetStyle(style);
  return attribute;
}

}  // namespace

TzrHTMLSyn::TzrHTMLSyn() : keywords_(244, tkUndefKey, true) {
  using platform::kBold;
  const platform::Color text = platform::kColorWindowText;
  ASPAttri = RegisterAttribute(MakeAttribute("Asp", platform::Rgb(0, 0, 0), 0));
  ASPAttri->SetBackground(platform::Rgb(255, 255, 0));
  CommentAttri = RegisterAttribute(MakeAttribute("Comment", text, 0));
  IdentifierAttri = RegisterAttribute(MakeAttribute("Identifier", text, kBold));
  KeyAttri = RegisterAttribute(MakeAttribute("Reserved word", 0xFF0080, kBold));
  SpaceAttri = RegisterAttribute(MakeAttribute("Space", text, 0));
  SymbolAttri = RegisterAttribute(MakeAttribute("Symbol", text, kBold));
  TextAttri = RegisterAttribute(MakeAttribute("Text", text, 0));
  UndefKeyAttri = RegisterAttribute(MakeAttribute("Unknown word", platform::Rgb(255, 0, 0), kBold));
  ValueAttri = RegisterAttribute(MakeAttribute("Value", 0xFF8000, 0));
  AndAttri = RegisterAttribute(MakeAttribute("Escape ampersand", platform::Rgb(0, 255, 0), kBold));
  SetAttributeNotifier();

  for (const char* name : kTagNames) keywords_.Add(HashOf(kHtmlHash, name), name, tkKey);

  for (int c = 0; c < 256; ++c) dispatch_[c] = &TzrHTMLSyn::IdentProc;
  for (int c = 1; c <= 32; ++c) dispatch_[c] = &TzrHTMLSyn::SpaceProc;
  dispatch_[0] = &TzrHTMLSyn::NullProc;
  dispatch_[10] = &TzrHTMLSyn::LineFeedProc;
  dispatch_[13] = &TzrHTMLSyn::CarriageReturnProc;
  dispatch_['"'] = &TzrHTMLSyn::StringProc;
  dispatch_['&'] = &TzrHTMLSyn::AmpersandProc;
  dispatch_['<'] = &TzrHTMLSyn::TagOpenProc;
  dispatch_['='] = &TzrHTMLSyn::EqualProc;
  dispatch_['>'] = &TzrHTMLSyn::TagCloseProc;

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TzrHTMLSyn::WordChars() const {
  return CharsOf([](unsigned char c) { return IsLetter(c) || IsDigit(c); });
}

const TqeHighLightAttributes* TzrHTMLSyn::TokenAttribute() const {
  switch (kind_) {
    case tkAmpersand:
      return AndAttri;
    case tkASP:
      return ASPAttri;
    case tkComment:
      return CommentAttri;
    case tkIdentifier:
      return IdentifierAttri;
    case tkKey:
      return KeyAttri;
    case tkSpace:
      return SpaceAttri;
    case tkString:
      return ValueAttri;
    case tkSymbol:
      return SymbolAttri;
    case tkText:
      return TextAttri;
    case tkUndefKey:
      return UndefKeyAttri;
    case tkValue:
      return ValueAttri;
    default:
      return nullptr;
  }
}

void TzrHTMLSyn::BeginLine(std::string_view text) {
  line_.assign(text);
  line_.push_back('\0');
  run_ = 0;
  // An '&' with no entity pending keeps the kind it finds; the previous line's end-of-line kind would end
  // this line before it started, so a line opening with '&' inside a tag would not be shown at all.
  kind_ = tkText;
}

void TzrHTMLSyn::StartLine(std::string_view text, int) {
  BeginLine(text);
  NextToken();
}

void TzrHTMLSyn::ScanToLineEnd() {
  while (kind_ != tkNull) TzrHTMLSyn::NextToken();
}

void TzrHTMLSyn::NextToken() {
  tokenStart_ = run_;
  switch (range_) {
    case rsText:
      TextScan();
      break;
    case rsASP:
      BlockScan(tkASP, "%");
      break;
    case rsComment:
      BlockScan(tkComment, "--");
      break;
    default:
      Dispatch();
      break;
  }
}

void TzrHTMLSyn::Dispatch() { (this->*dispatch_[At(run_)])(); }

void TzrHTMLSyn::NullProc() { kind_ = tkNull; }

void TzrHTMLSyn::LineFeedProc() {
  kind_ = tkSpace;
  ++run_;
}

void TzrHTMLSyn::CarriageReturnProc() {
  kind_ = tkSpace;
  ++run_;
  if (At(run_) == 10) ++run_;
}

void TzrHTMLSyn::SpaceProc() {
  kind_ = tkSpace;
  ++run_;
  while (ContinuesSpace(At(run_))) ++run_;
}

void TzrHTMLSyn::StringProc() {
  if (range_ == rsValue) {
    range_ = rsParam;
    kind_ = tkValue;
  } else {
    kind_ = tkString;
  }
  ++run_;
  while (!EndsLine(At(run_))) {
    if (At(run_++) == '"') break;
  }
}

void TzrHTMLSyn::AmpersandProc() {
  // Without a pending entity the token is empty and keeps the kind it had.
  if (pendingEntity_ != kNoEntity) {
    kind_ = tkAmpersand;
    run_ += std::strlen(kEntities[pendingEntity_]);
  }
  pendingEntity_ = kNoEntity;
  range_ = rsText;
}

void TzrHTMLSyn::TagOpenProc() {
  ++run_;
  if (At(run_) == '!' && At(run_ + 1) == '-' && At(run_ + 2) == '-') {
    run_ += 3;
    kind_ = tkComment;
    range_ = rsComment;
  } else if (At(run_) == '%') {
    ++run_;
    kind_ = tkASP;
    range_ = rsASP;
  } else {
    kind_ = tkSymbol;
    range_ = rsKey;
  }
}

void TzrHTMLSyn::EqualProc() {
  kind_ = tkSymbol;
  ++run_;
  range_ = rsValue;
}

void TzrHTMLSyn::TagCloseProc() {
  kind_ = tkSymbol;
  ++run_;
  range_ = rsText;
}

TzrHTMLSyn::TokenKindValue TzrHTMLSyn::HashedWord(int& length) const {
  int hash = 0;
  size_t i = run_;
  while (IsHashStart(At(i))) hash += kHtmlHash[At(i++)];
  while (IsDigit(At(i))) hash += kHtmlHash[At(i++)];
  length = static_cast<int>(i - run_);
  return keywords_.Lookup(line_.data() + run_, length, hash);
}

void TzrHTMLSyn::IdentProc() {
  switch (range_) {
    case rsKey: {
      range_ = rsParam;
      int length = 0;
      kind_ = HashedWord(length);
      run_ += length;  // a tag name is exactly the characters walked
      break;
    }
    case rsValue:
      range_ = rsParam;
      kind_ = tkValue;
      ++run_;
      while (At(run_) > 32 && At(run_) != '>') ++run_;
      break;
    default:
      kind_ = tkIdentifier;
      ++run_;
      while (At(run_) > 32 && At(run_) != '"' && At(run_) != '=' && At(run_) != '>') ++run_;
      break;
  }
}

int TzrHTMLSyn::EntityAt(size_t position) const {
  for (int e = 0; e < static_cast<int>(std::size(kEntities)); ++e) {
    const char* entity = kEntities[e];
    size_t i = 0;
    while (entity[i] && UpperAscii(At(position + i)) == UpperAscii(static_cast<unsigned char>(entity[i]))) ++i;
    if (!entity[i]) return e;
  }
  return kNoEntity;
}

void TzrHTMLSyn::TextScan() {
  const unsigned char first = At(run_);
  if (first < 32 || first == '<') {
    Dispatch();
    return;
  }
  kind_ = tkText;
  for (;;) {
    const unsigned char c = At(run_);
    if (c < 32 || c == '<') return;
    if (c == '&') {
      const int entity = EntityAt(run_);
      if (entity != kNoEntity) {
        pendingEntity_ = entity;
        range_ = rsAmpersand;
        return;
      }
    }
    ++run_;
  }
}

// Script blocks and comments run to the end of the line or through a '>' that follows `closer` on the line.
void TzrHTMLSyn::BlockScan(TokenKindValue kind, const char* closer) {
  if (EndsLine(At(run_))) {
    Dispatch();
    return;
  }
  kind_ = kind;
  const size_t closerLength = std::strlen(closer);
  while (!EndsLine(At(run_))) {
    if (At(run_) == '>' && run_ >= closerLength && line_.compare(run_ - closerLength, closerLength, closer) == 0) {
      ++run_;
      range_ = rsText;
      return;
    }
    ++run_;
  }
}

void TzrHTMLSyn::StartExportLine(std::string_view text) {
  BeginLine(text);
  ExportNextToken();
}

void TzrHTMLSyn::ExportNextToken() {
  NextToken();
  TokenExporter* exporter = Exporter();
  if (!exporter) return;
  if (kind_ == tkNull) {
    exporter->ExportToken({}, nullptr, false, false);
    return;
  }
  const bool escape = !(kind_ == tkAmpersand || kind_ == tkIdentifier || kind_ == tkKey || kind_ == tkSpace);
  exporter->ExportToken(TokenText(), TokenAttribute(), kind_ == tkSpace, escape);
}

}  // namespace highlighters
