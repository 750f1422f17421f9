// The document builder: tokens in, blocks out.
#include "preview/PreviewParser.h"

#include <bitset>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>

#include "platform/FileIO.h"
#include "preview/CssValues.h"
#include "preview/PageStyles.h"
#include "preview/Section.h"
#include "preview/Tables.h"

namespace preview {
namespace {

constexpr std::size_t kPreFlush = 200;
// Lists, CENTER and DIV nest by recursion; deeper ones are skipped as unknown tags, so that no page can
// exhaust the stack.
constexpr int kMaxNesting = 100;
constexpr std::size_t kMaxFace = 50;

std::optional<Alignment> AlignmentOf(const TAttribute* align) {
  if (!align) return std::nullopt;
  if (SameText(align->text, "left")) return Alignment::Left;
  if (SameText(align->text, "center")) return Alignment::Center;
  if (SameText(align->text, "right")) return Alignment::Right;
  return std::nullopt;
}

// The tokens at which a body parser stops and hands back to its caller.
struct StopSet {
  std::bitset<kTagCount> starts;
  std::bitset<kTagCount> ends;

  bool Has(const THtmlTokenizer& t) const {
    const auto i = static_cast<std::size_t>(t.tag);
    return (t.kind == TokenKind::StartTag && starts[i]) || (t.kind == TokenKind::EndTag && ends[i]);
  }
  StopSet WithEnds(std::initializer_list<Tag> tags) const {
    StopSet more = *this;
    for (Tag tag : tags) more.ends.set(static_cast<std::size_t>(tag));
    return more;
  }
};

constexpr std::initializer_list<Tag> kListTags = {Tag::Ol, Tag::Ul, Tag::Dir, Tag::Menu, Tag::Dl, Tag::Blockquote};

// The tags that act inside PRE as they do in the body; the others are ignored there.
constexpr std::initializer_list<Tag> kTagsInPre = {Tag::B,     Tag::Strong,   Tag::I,        Tag::Em,     Tag::Cite,
                                                   Tag::Var,   Tag::U,        Tag::S,        Tag::Strike, Tag::A,
                                                   Tag::Font,  Tag::Basefont, Tag::Script,   Tag::Img,    Tag::Map,
                                                   Tag::Input, Tag::Select,   Tag::Textarea, Tag::Form};

bool IsOneOf(Tag tag, std::initializer_list<Tag> tags) {
  return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

Alignment AlignmentOf(CssTextAlign align) {
  switch (align) {
    case CssTextAlign::Center:
      return Alignment::Center;
    case CssTextAlign::Right:
      return Alignment::Right;
    default:
      return Alignment::Left;
  }
}

// The tags the page builder already starts a block for, whatever their style says.
bool BuilderBreaksAt(std::string_view name) {
  static constexpr std::string_view kBlocks[] = {
      "p",  "div", "center",  "h1",   "h2",   "h3",   "h4",         "h5",    "h6",       "ul",    "ol", "dl",
      "li", "dt",  "dd",      "dir",  "menu", "pre",  "blockquote", "table", "tr",       "td",    "th", "caption",
      "hr", "br",  "address", "html", "body", "head", "title",      "form",  "textarea", "select"};
  return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

// The list marker a list-style-type stands for: an OL type letter, or 0 for the bullets and 'n' for none.
char ListTypeOf(CssListStyle style) {
  switch (style) {
    case CssListStyle::Decimal:
      return '1';
    case CssListStyle::LowerAlpha:
      return 'a';
    case CssListStyle::UpperAlpha:
      return 'A';
    case CssListStyle::LowerRoman:
      return 'i';
    case CssListStyle::UpperRoman:
      return 'I';
    case CssListStyle::None:
      return 'n';
    default:
      return 0;
  }
}

void Transform(std::string& text, CssTransform transform, bool& wordStart) {
  for (char& c : text) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (transform == CssTransform::Uppercase || (transform == CssTransform::Capitalize && wordStart && letter)) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    } else if (transform == CssTransform::Lowercase && c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    wordStart = c == ' ' || c == '-' || c == '(' || c == '"';
  }
}

// Counts one level of nesting for as long as it lives.
struct Nested {
  explicit Nested(int& depth) : depth_(depth) { ++depth_; }
  ~Nested() { --depth_; }
  Nested(const Nested&) = delete;
  Nested& operator=(const Nested&) = delete;
  int& depth_;
};

class THtmlParser {
 public:
  THtmlParser(std::string_view page, TSectionList& list, TNameList& names, const ParseCallbacks& callbacks)
      : tok_(page, callbacks.include),
        list_(list),
        names_(names),
        callbacks_(callbacks),
        fonts_(BaseFont(list)),
        linkColor_(list.Settings().defHotSpotColor) {
    list_.ClearDocument();
    names_.clear();
    tok_.encoding = list_.encoding;
  }

  ParseResult ParseHtml(std::string_view page) {
    ReadStyles(page);
    tok_.Start();
    NewSection();
    Next();
    ParseBody(StopSet{});
    EndSection();
    ApplyPageBackground();
    if (styles_) {
      styles_->ReleasePlaces();
      list_.styles = std::move(styles_);
    }
    return result_;
  }

  ParseResult ParseText() {
    tok_.script = true;  // every byte literal: no comments either
    PushPreformattedFont();
    tok_.Start();
    NewSection<TPreFormated>();
    std::string collected;
    for (; tok_.Ch() != kEndChar; tok_.ReadChar()) {
      if (tok_.Ch() == '\r') {
        FlushInto(collected);
        EndSection();
        NewSection<TPreFormated>();
        continue;
      }
      collected += static_cast<char>(tok_.Ch());
      if (collected.size() >= kPreFlush) FlushInto(collected);
    }
    FlushInto(collected);
    EndSection();
    return result_;
  }

 private:
  static TMyFont BaseFont(const TSectionList& list) {
    TMyFont font;
    font.name = list.Settings().defFontName;
    font.color = list.Settings().defFontColor;
    font.charSet = list.Settings().charSet;
    font.SetNominalSize(12, list.Settings().defFontSize);
    return font;
  }

  int DefFontSize() const { return list_.Settings().defFontSize; }
  void Next() {
    tok_.NextHtmlToken();
    Restyle();
  }

  // The page's styles, read before it is built; a page with no sheet, no style attribute and no element
  // the builder does not know keeps the builder's own defaults everywhere.
  void ReadStyles(std::string_view page) {
    PageStyleSource source{page, callbacks_.include, list_.encoding, list_.imageFolder, {}};
    StyleDefaults defaults;
    defaults.fontName = list_.Settings().defFontName;
    defaults.preFontName = list_.Settings().defPreFontName;
    defaults.color = list_.Settings().defFontColor;
    defaults.linkColor = linkColor_;
    platform::FontEngine& fonts = list_.Fonts();
    defaults.familyInstalled = [&fonts](const std::string& family) { return fonts.HasFamily(family); };
    styles_ = std::make_shared<PageStyles>(source, std::move(defaults));
    styles_->Compute(list_.styleWidth > 0 ? list_.styleWidth : kDefaultStyleWidth);
    styles_->ReleaseTree();
  }

  const ComputedStyle* CurrentStyle() const { return styles_ && current_ >= 0 ? &styles_->StyleOf(current_) : nullptr; }
  bool IsTagToken() const {
    return (tok_.kind == TokenKind::StartTag || tok_.kind == TokenKind::EndTag || tok_.kind == TokenKind::UnknownTag) &&
           tok_.tagPos != std::string_view::npos;
  }

  // Follows the tag just read into the element tree: the innermost element gives the style of what
  // follows, hidden elements are skipped whole, and elements that CSS makes blocks break the line.
  void Restyle() {
    if (!styles_) return;
    while (IsTagToken()) {
      const int started = tok_.closing ? -1 : styles_->ElementStartedAt(tok_.tagPos);
      if (started >= 0 && Hidden(started)) {
        SkipHidden(started);
        continue;
      }
      const int after = styles_->InnermostAfter(tok_.tagPos);
      if (after == kNotATag) return;
      const int before = std::exchange(current_, after);
      if (started >= 0 && BreaksForStyle(started)) pendingBreak_ = true;
      for (int x = before; x >= 0 && !Contains(x, after); x = styles_->PlaceOf(x).parent)
        if (BreaksForStyle(x)) pendingBreak_ = true;
      if (before != after && section_ && !SameFonts(before, after)) FontChange();
      return;
    }
  }
  static constexpr int kNotATag = PageStyles::kNotATag;

  // Whether the CSS font properties of two elements agree, so the text goes on in the same font.
  bool SameFonts(int a, int b) const {
    constexpr auto bit = [](CssProperty p) { return 1ull << static_cast<int>(p); };
    constexpr std::uint64_t mask = bit(CssProperty::Color) | bit(CssProperty::FontFamily) | bit(CssProperty::FontSize) |
                                   bit(CssProperty::FontWeight) | bit(CssProperty::FontStyle) |
                                   bit(CssProperty::TextDecoration);
    const ComputedStyle* x = a >= 0 ? &styles_->StyleOf(a) : nullptr;
    const ComputedStyle* y = b >= 0 ? &styles_->StyleOf(b) : nullptr;
    const std::uint64_t mx = x ? x->authored & mask : 0, my = y ? y->authored & mask : 0;
    if (mx != my || styles_->InlineBackground(a) != styles_->InlineBackground(b)) return false;
    const auto invisible = [](const ComputedStyle* s) {
      return s && s->Authored(CssProperty::Visibility) && s->hidden;
    };
    if (invisible(x) != invisible(y)) return false;
    if (mx == 0) return true;
    return x->color == y->color && x->family == y->family && x->fontSize == y->fontSize &&
           (x->fontWeight >= 600) == (y->fontWeight >= 600) && x->italic == y->italic && x->decoration == y->decoration;
  }

  bool Contains(int outer, int inner) const {
    for (int x = inner; x >= 0; x = styles_->PlaceOf(x).parent)
      if (x == outer) return true;
    return false;
  }
  bool BreaksForStyle(int element) const {
    const ComputedStyle& s = styles_->StyleOf(element);
    return IsBlockLevel(s.display) && !BuilderBreaksAt(styles_->NameOf(element)) &&
           (s.Authored(CssProperty::Display) || !styles_->PlaceOf(element).rendererTag);
  }
  bool Hidden(int element) const {
    const ComputedStyle& s = styles_->StyleOf(element);
    if (s.display != CssDisplay::None || styles_->NameOf(element) == "title") return false;
    return s.Authored(CssProperty::Display) || !styles_->PlaceOf(element).rendererTag;
  }
  // With a hidden element's start tag current: reads past the element, to the tag that ends it (past it
  // when that is its own end tag).
  void SkipHidden(int element) {
    const PageStyles::Placed& e = styles_->PlaceOf(element);
    const bool suppressed = tok_.paragraphSpaceSuppressed;
    if (e.closeOffset != tok_.tagPos) {
      for (;;) {
        SkipRawBody(tok_);
        tok_.NextHtmlToken();
        if (AtEnd() || (IsTagToken() && tok_.tagPos >= e.closeOffset)) break;
      }
    }
    if (!AtEnd() && e.closedByOwnEnd && tok_.tagPos == e.closeOffset) {
      if (const int after = styles_->InnermostAfter(tok_.tagPos); after != kNotATag) current_ = after;
      tok_.NextHtmlToken();
    }
    tok_.paragraphSpaceSuppressed = suppressed;
  }

  // The element a start tag in hand begins when CSS floats it as a block (pictures and tables float by
  // themselves), or -1.
  int FloatedBlockStartingHere() const {
    if (!styles_ || tok_.closing || !IsTagToken() || nesting_ >= kMaxNesting) return -1;
    const int element = styles_->ElementStartedAt(tok_.tagPos);
    return element >= 0 && element == current_ && styles_->PlaceOf(element).floats ? element : -1;
  }

  // A floated block, built as the renderer floats a one-cell table: its width and background, and the
  // text beside it flowing round it.
  void ParseFloatedBlock(int element) {
    const Nested nested(nesting_);
    const PageStyles::Placed place = styles_->PlaceOf(element);
    const ComputedStyle& s = styles_->StyleOf(element);
    EndLink();
    EndSection();
    TAttributeList attributes;
    attributes.Add({Attr::Align, 0, s.floating == CssFloat::Left ? "left" : "right"});
    if (s.Authored(CssProperty::Width) &&
        (s.width.unit == CssLength::Unit::Px || s.width.unit == CssLength::Unit::Percent)) {
      // A percentage counts from the containing block, not from the room left beside other floats.
      const TSectionBase::Box around = styles_->BoxOf(place.parent);
      const int page = list_.styleWidth > 0 ? list_.styleWidth : kDefaultStyleWidth;
      const int containing = (around.width > 0 ? std::min<int>(around.width, page) : page) - around.left - around.right;
      const float pixels = s.width.unit == CssLength::Unit::Px ? s.width.value : s.width.value * containing / 100;
      const int value = std::max(1, static_cast<int>(pixels));
      attributes.Add({Attr::Width, value, std::to_string(value)});
    }
    if (s.Authored(CssProperty::BackgroundColor) && s.hasBackground)
      attributes.Add({Attr::BgColor, 0, CssHex(s.background)});
    // The block's own padding is its box's (BoxOf), so the cell adds none.
    attributes.Add({Attr::CellPadding, 0, "0"});
    attributes.Add({Attr::CellSpacing, 0, "0"});
    auto table = std::make_unique<ThtmlTable>(&list_, attributes, level_, static_cast<int>(align_), cell_);
    auto cell = std::make_unique<TCellObj>(&list_, TAttributeList{}, VAlign::Top);
    TCell* const container = cell_;
    const Alignment savedAlign = align_;
    const int savedLevel = level_;
    cell_ = &cell->cell;
    level_ = 0;
    NewSection();
    Next();
    while (!AtEnd() && !(IsTagToken() && tok_.tagPos >= place.closeOffset))
      if (DoToken(StopSet{})) Next();
    EndSection();
    if (!AtEnd() && place.closedByOwnEnd && tok_.tagPos == place.closeOffset) Next();
    cell_ = container;
    align_ = savedAlign;
    level_ = savedLevel;
    TCellList row;
    row.cells.push_back(std::move(cell));
    table->AddRow(std::move(row));
    cell_->Add(std::move(table));
    NewSection();
  }

  // A break asked for by a block of CSS: the text so far ends its section.
  void BreakForStyle() {
    pendingBreak_ = false;
    // A block that holds nothing yet is made again, so that it takes the new element's alignment and box.
    const bool preformatted = section_ && section_->Kind() == BlockKind::PreFormated;
    if (section_ && !section_->Vacant()) EndSection();
    preformatted ? NewSection<TPreFormated>() : NewSection();
  }

  // The style's font properties that come from the page's CSS, over the font the builder chose.
  void ApplyStyle(TMyFont& font) const {
    const ComputedStyle* s = CurrentStyle();
    if (!s) return;
    font.background = styles_->InlineBackground(current_);
    if (!s->authored) return;
    font.invisible = s->Authored(CssProperty::Visibility) && s->hidden;
    if (s->Authored(CssProperty::Color)) font.color = s->color;
    if (s->Authored(CssProperty::FontFamily)) {
      font.name = styles_->Engine().Family(s->family);
      font.fixedPitch = font.name == list_.Settings().defPreFontName;
    }
    if (s->Authored(CssProperty::FontSize))
      font.SetNominalSize(std::max(1, static_cast<int>(std::lround(s->fontSize))), DefFontSize());
    const auto setBit = [&](CssProperty p, platform::FontStyle bit, bool on) {
      if (s->Authored(p)) font.style = on ? (font.style | bit) : (font.style & ~bit);
    };
    setBit(CssProperty::FontWeight, platform::kBold, s->fontWeight >= 600);
    setBit(CssProperty::FontStyle, platform::kItalic, s->italic);
    setBit(CssProperty::TextDecoration, platform::kUnderline, (s->decoration & kDecorationUnderline) != 0);
    setBit(CssProperty::TextDecoration, platform::kStrikeOut, (s->decoration & kDecorationLineThrough) != 0);
  }

  Alignment StyledAlignment(Alignment builders) const {
    const ComputedStyle* s = CurrentStyle();
    return s && s->Authored(CssProperty::TextAlign) ? AlignmentOf(s->textAlign) : builders;
  }

  // What CSS gives a new block: its background.
  void StyleSection(TSectionBase& block) const {
    if (!styles_ || current_ < 0) return;
    block.SetBackground(styles_->BlockBackground(current_));
    block.SetBox(styles_->BoxOf(current_), styles_->BackgroundBoxOf(current_));
  }
  void AddSpace(std::unique_ptr<TSectionBase> space) {
    StyleSection(*space);
    cell_->Add(std::move(space));
  }

  // The page's background from the html or body element's style, over BODY's attributes.
  void ApplyPageBackground() {
    if (!styles_) return;
    for (const char* name : {"body", "html"})
      for (int i = 0; i < styles_->ElementCount(); ++i) {
        if (styles_->NameOf(i) != name) continue;
        const ComputedStyle& s = styles_->StyleOf(i);
        if (s.Authored(CssProperty::BackgroundColor) && s.hasBackground) list_.SetBackground(s.background);
        if (s.Authored(CssProperty::BackgroundImage) && s.backgroundImage)
          list_.SetBackgroundImage(styles_->Engine().Image(s.backgroundImage));
        break;
      }
  }
  bool AtEnd() const { return tok_.kind == TokenKind::EndOfFile; }
  const TAttribute* Attribute(Attr kind) const { return tok_.attributes.Find(kind); }

  // The top font with the style flags on it.
  TMyFont CurrentFont() {
    TMyFont font = fonts_.Top();
    font.style |= style_;
    ApplyStyle(font);
    return font;
  }

  template <typename Section = TSection>
  void NewSection(std::optional<Alignment> align = std::nullopt) {
    section_ = std::make_unique<Section>(&list_, level_, StyledAlignment(align.value_or(align_)), CurrentFont(),
                                         subSup_, linkOpen_ ? link_ : TUrlTarget{});
    StyleSection(*section_);
    if (const ComputedStyle* s = CurrentStyle(); s && s->Authored(CssProperty::Clear) && s->clear != CssFloat::None)
      section_->SetClearMode(s->clear == CssFloat::Left ? 1 : s->clear == CssFloat::Right ? 2 : 3);
  }
  // A section to add to: one is opened when there is none, and a full one goes on in another of the same
  // kind and style, so that nothing of a long paragraph is dropped.
  void OpenSectionIfNone() {
    if (!section_) NewSection();
    if (section_->End() > kMaxSectionText) ContinueSection();
  }
  void ContinueSection() {
    const bool preformatted = section_->Kind() == BlockKind::PreFormated;
    const Alignment align = section_->Align();
    EndSection();
    preformatted ? NewSection<TPreFormated>(align) : NewSection(align);
  }
  // Text past a full section goes on in the next one from the first blank, so no word is cut in two; a
  // run of text with no blank for as long again is split where it stands.
  void AppendText(std::string_view text) {
    if (const ComputedStyle* style = CurrentStyle();
        style && style->Authored(CssProperty::TextTransform) && style->textTransform != CssTransform::None) {
      std::string transformed(text);
      bool wordStart = !section_ || section_->Text().empty() || section_->Text().back() == ' ';
      Transform(transformed, style->textTransform, wordStart);
      return AppendPlain(transformed);
    }
    AppendPlain(text);
  }
  void AppendPlain(std::string_view text) {
    if (!section_) NewSection();
    if (section_->End() > kMaxSectionText) {
      const std::size_t blank = section_->End() > 2 * kMaxSectionText ? 0 : text.find(' ');
      section_->AppendText(text.substr(0, blank));
      if (blank == std::string_view::npos) return;
      ContinueSection();
      text.remove_prefix(blank);
    }
    section_->AppendText(text);
  }
  void EndSection() { cell_->Add(std::move(section_)); }
  void FontChange(LinkChange change = LinkChange::Keep) {
    if (section_) section_->ChangeFont(CurrentFont(), subSup_, change, link_);
  }
  void FlushInto(std::string& collected) {
    if (section_ && !collected.empty()) AppendText(collected);
    collected.clear();
  }
  bool PushPreformattedFont() {
    if (!fonts_.Push()) return false;
    TMyFont& top = fonts_.Top();
    top.name = list_.Settings().defPreFontName;
    top.SetNominalSize(10, DefFontSize());
    top.fixedPitch = true;
    return true;
  }

  void ParseBody(const StopSet& stop) {
    while (!AtEnd() && !tok_.IsEnd(Tag::Body) && !stop.Has(tok_)) {
      if (tok_.kind == TokenKind::StartTag) {
        switch (tok_.tag) {
          case Tag::Title:
            ReadTitle();
            continue;
          case Tag::Body:
            StartBody();
            break;
          case Tag::Base:
            if (const TAttribute* href = Attribute(Attr::Href)) result_.base = href->text;
            if (const TAttribute* target = Attribute(Attr::Target)) result_.baseTarget = target->text;
            break;
          case Tag::Bgsound:
            if (const TAttribute* src = Attribute(Attr::Src); src && callbacks_.sound) {
              const TAttribute* loop = Attribute(Attr::Loop);
              callbacks_.sound(src->text, loop ? loop->value : 1, false);
            }
            break;
          case Tag::Meta:
            if (callbacks_.meta) callbacks_.meta(TextOf(Attr::HttpEquiv), TextOf(Attr::Name), TextOf(Attr::Content));
            break;
          default:
            if (DoToken(stop)) Next();
            continue;
        }
        Next();
        continue;
      }
      if (DoToken(stop)) Next();
    }
  }

  std::string TextOf(Attr kind) const {
    const TAttribute* attribute = Attribute(kind);
    return attribute ? attribute->text : std::string();
  }

  void ReadTitle() {
    std::string title;
    for (Next(); tok_.kind == TokenKind::Text; Next()) title += tok_.text;
    result_.title = std::move(title);
  }

  void StartBody() {
    if (!list_.Empty()) return;
    section_.reset();
    if (const TAttribute* text = Attribute(Attr::Text))
      if (const auto color = ParseColor(text->text)) fonts_.Base().color = *color;
    if (const TAttribute* link = Attribute(Attr::Link))
      if (const auto color = ParseColor(link->text)) linkColor_ = *color;
    if (const TAttribute* background = Attribute(Attr::BgColor))
      if (const auto color = ParseColor(background->text)) list_.SetBackground(*color);
    if (const TAttribute* image = Attribute(Attr::Background)) list_.SetBackgroundImage(image->text);
    TMyFont base = fonts_.Base();
    base.style |= style_;
    section_ = std::make_unique<TSection>(&list_, level_, align_, base, subSup_, linkOpen_ ? link_ : TUrlTarget{});
  }

  // Acts on the current token. True when the caller is to read the next one; false when the token's
  // handler read ahead itself and left its lookahead current.
  bool DoToken(const StopSet& stop) {
    if (pendingBreak_) BreakForStyle();
    if (const int floated = FloatedBlockStartingHere(); floated >= 0) {
      ParseFloatedBlock(floated);
      return false;
    }
    if (tok_.kind == TokenKind::Text) {
      AppendText(tok_.text);
      return true;
    }
    const bool start = tok_.kind == TokenKind::StartTag;
    if (!start && tok_.kind != TokenKind::EndTag) return true;
    switch (tok_.tag) {
      case Tag::P:
        Paragraph();
        return false;
      case Tag::Br:
        if (start) LineBreak();
        return true;
      case Tag::H:
        start ? StartHeading() : EndHeading();
        return true;
      case Tag::Hr:
        if (!start) return true;
        EndSection();
        cell_->Add(std::make_unique<THorzLine>(&list_, tok_.attributes));
        return true;
      case Tag::Ol:
      case Tag::Ul:
      case Tag::Dir:
      case Tag::Menu:
      case Tag::Dl:
      case Tag::Blockquote:
        if (!start || nesting_ >= kMaxNesting) return true;
        ParseList(1, stop);
        return false;
      case Tag::Center:
      case Tag::Div:
        if (!start || nesting_ >= kMaxNesting) return true;
        ParseAligned(stop);
        return false;
      case Tag::Pre:
        if (!start) return true;
        ParsePre();
        return false;
      case Tag::Table:
        if (!start || nesting_ >= kMaxNesting) return true;
        ParseTable();
        return false;

      default:
        DoInlineToken();
        return true;
    }
  }

  // The tokens that change fonts, links and scripts: they act alike in the body and inside PRE, and never
  // read ahead. False when the token is not one of them.
  bool DoInlineToken() {
    const bool start = tok_.kind == TokenKind::StartTag;
    switch (tok_.tag) {
      case Tag::B:
      case Tag::Strong:
        return SetStyle(platform::kBold, start);
      case Tag::I:
      case Tag::Em:
      case Tag::Cite:
      case Tag::Var:
        return SetStyle(platform::kItalic, start);
      case Tag::U:
        return SetStyle(platform::kUnderline, start);
      case Tag::S:
      case Tag::Strike:
        return SetStyle(platform::kStrikeOut, start);
      case Tag::Sub:
      case Tag::Sup:
        if (start) OpenSectionIfNone();
        subSup_ = !start ? SubSup::None : tok_.tag == Tag::Sub ? SubSup::Sub : SubSup::Sup;
        FontChange();
        return true;
      case Tag::Tt:
      case Tag::Code:
      case Tag::Kbd:
      case Tag::Samp:
        if (start && !PushPreformattedFont()) return true;
        if (!start) fonts_.Pop();
        FontChange();
        return true;
      case Tag::Font:
        if (start) return FontTag(false);
        fonts_.Pop();
        FontChange();
        return true;
      case Tag::Basefont:
        return FontTag(true);
      case Tag::Big:
      case Tag::Small:
        if (start) return BigOrSmall(tok_.tag == Tag::Big);
        fonts_.Pop();
        FontChange();
        return true;
      case Tag::Address:
        EndSection();
        if (!start) {
          fonts_.Pop();
          return true;
        }
        if (fonts_.Push()) fonts_.Top().style |= platform::kItalic;
        NewSection();
        return true;
      case Tag::A:
        start ? StartLink() : EndLink();
        return true;
      case Tag::Script:
        if (start) ParseScript();
        Restyle();
        return true;
      case Tag::Map:
        if (start) ParseMap();
        return true;
      case Tag::Form:
        form_ = nullptr;
        if (start) {
          list_.forms.push_back(std::make_unique<ThtmlForm>(&list_, tok_.attributes));
          form_ = list_.forms.back().get();
        }
        return true;
      case Tag::Input:
      case Tag::Select:
      case Tag::Textarea:
        if (start) ParseFormControl();
        return true;
      case Tag::Img:
        if (!start) return true;
        OpenSectionIfNone();
        section_->AddImage(tok_.attributes);
        return true;
      default:
        return false;
    }
  }

  // An INPUT, or a SELECT with its options, or a TEXTAREA with its lines; the control's end tag (or the
  // end of the input) is left current.
  void ParseFormControl() {
    const Tag tag = tok_.tag;
    const TAttributeList attributes = tok_.attributes;
    std::vector<TOptionObj> options;
    std::vector<std::string> lines;
    if (tag == Tag::Select) options = ReadOptions();
    if (tag == Tag::Textarea) {
      lines = ReadTextAreaLines();
      Restyle();
    }
    OpenSectionIfNone();
    if (!form_) {
      list_.forms.push_back(std::make_unique<ThtmlForm>(&list_, TAttributeList{}));
      form_ = list_.forms.back().get();
    }
    TImageObj* image = nullptr;
    if (tag == Tag::Input && InputType(attributes) == "image") {
      const std::size_t before = section_->Images().size();
      section_->AddImage(attributes);
      if (section_->Images().size() > before) image = section_->Images().back().get();
    }
    auto control =
        MakeFormControl(&list_, form_, tag, section_->End(), attributes, std::move(options), std::move(lines), image);
    if (control->HasMark()) section_->AddControl(control.get());
    list_.controls.push_back(std::move(control));
  }

  // OPTION texts (at most 80 bytes, trimmed; empty ones dropped) with their VALUE and SELECTED, up to /SELECT.
  std::vector<TOptionObj> ReadOptions() {
    std::vector<TOptionObj> options;
    std::optional<TOptionObj> open;
    const auto close = [&] {
      if (!open) return;
      const auto first = open->text.find_first_not_of(' ');
      open->text =
          first == std::string::npos ? "" : open->text.substr(first, open->text.find_last_not_of(' ') - first + 1);
      if (!open->text.empty()) options.push_back(std::move(*open));
      open.reset();
    };
    for (Next(); !AtEnd() && !tok_.IsEnd(Tag::Select); Next()) {
      if (tok_.IsStart(Tag::Option)) {
        close();
        open = TOptionObj{"", TextOf(Attr::Value).substr(0, 80), Attribute(Attr::Selected) != nullptr};
      } else if (tok_.IsEnd(Tag::Option)) {
        close();
      } else if (open && tok_.kind == TokenKind::Text) {
        open->text = (open->text + tok_.text).substr(0, 80);
      }
    }
    close();
    return options;
  }

  // The TEXTAREA's initial lines, up to "</textarea" and past its ">".
  std::vector<std::string> ReadTextAreaLines() {
    std::vector<std::string> lines;
    std::string line;
    for (tok_.NextTextAreaToken(); tok_.kind != TokenKind::EndOfFile && tok_.kind != TokenKind::EndTag;
         tok_.NextTextAreaToken()) {
      if (tok_.kind == TokenKind::EndOfLine) {
        lines.push_back(std::move(line));
        line.clear();
      } else {
        line += tok_.text;
      }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    tok_.SkipPastTagEnd();
    return lines;
  }

  // A client-side map: its AREA tags up to /MAP, which stays the current token; a map left open is not kept.
  void ParseMap() {
    TMapItem map;
    if (const TAttribute* name = Attribute(Attr::Name)) map.name = platform::AsciiUpper(name->text);
    for (Next(); !AtEnd() && !tok_.IsEnd(Tag::Map); Next())
      if (tok_.IsStart(Tag::Area))
        if (auto area = TMapItem::ReadArea(tok_.attributes)) map.areas.push_back(std::move(*area));
    if (tok_.IsEnd(Tag::Map)) list_.maps.push_back(std::move(map));
  }

  bool SetStyle(platform::FontStyle bit, bool on) {
    style_ = on ? (style_ | bit) : (style_ & ~bit);
    FontChange();
    return true;
  }

  void Paragraph() {
    EndSection();
    if (!tok_.paragraphSpaceSuppressed) AddSpace(std::make_unique<TParagraphSpace>(&list_));
    tok_.paragraphSpaceSuppressed = true;
    std::optional<Alignment> align;
    while (tok_.IsStart(Tag::P) || tok_.IsEnd(Tag::P)) {
      if (tok_.IsStart(Tag::P)) align = AlignmentOf(Attribute(Attr::Align));
      Next();
      // Blanks between the marks are skipped; reading them must not count as text shown.
      while (tok_.kind == TokenKind::Text && tok_.text == " ") {
        tok_.paragraphSpaceSuppressed = true;
        Next();
      }
    }
    NewSection(align);
  }

  void LineBreak() {
    const Alignment align = section_ ? section_->Align() : align_;
    if (section_) section_->KeepLineHeight();
    EndSection();
    NewSection(align);
    if (const TAttribute* clear = Attribute(Attr::Clear))
      section_->SetClearMode(SameText(clear->text, "left") ? 1 : SameText(clear->text, "right") ? 2 : 3);
  }

  void StartHeading() {
    if (!fonts_.HasRoom()) return;
    EndSection();
    fonts_.Push();
    TMyFont& top = fonts_.Top();
    top.SetNominalSize(HeadingPoints(tok_.headingLevel), DefFontSize());
    if (tok_.headingLevel >= 1) top.style |= platform::kBold;
    AddSpace(std::make_unique<THeadingSpace>(&list_, tok_.headingLevel));
    NewSection(AlignmentOf(Attribute(Attr::Align)));
  }

  void EndHeading() {
    if (fonts_.Depth() <= 1) return;
    EndSection();
    AddSpace(std::make_unique<THeadingSpace>(&list_, tok_.headingLevel));
    fonts_.Pop();
  }

  bool FontTag(bool baseFont) {
    std::optional<int> size;
    std::optional<platform::Color> color;
    std::string face;
    for (const TAttribute& a : tok_.attributes.Items()) {
      if (a.kind == Attr::Size) {
        const bool relative = a.text.size() > 1 && (a.text[0] == '+' || a.text[0] == '-');
        size = std::clamp(relative ? baseFontSize_ + a.value : a.value, 1, 7);
        if (baseFont) baseFontSize_ = *size;
      } else if (a.kind == Attr::Color && !baseFont) {
        if (const auto parsed = ParseColor(a.text)) color = parsed;
      } else if (a.kind == Attr::Face && !baseFont) {
        std::string name = a.text.substr(0, kMaxFace);
        name = name.substr(0, name.find(','));
        const auto first = name.find_first_not_of(' ');
        if (first != std::string::npos) face = name.substr(first, name.find_last_not_of(' ') - first + 1);
      }
    }
    // A BASEFONT changes fonts only before anything is on the page.
    if (baseFont && !(list_.Empty() && cell_ == &list_)) return true;
    if (!fonts_.Push()) return true;
    TMyFont& top = fonts_.Top();
    if (color) top.color = *color;
    if (size) top.SetNominalSize(SizeOfIndex(*size, tok_.preformatted), DefFontSize());
    if (!face.empty()) top.name = face;
    FontChange();
    return true;
  }

  bool BigOrSmall(bool bigger) {
    const auto index = IndexOfSize(fonts_.Top().nominalSize);
    if (!index) return true;
    const int next = *index + (bigger ? 1 : -1);
    if (next < 1 || next > 7 || !fonts_.Push()) return true;
    fonts_.Top().SetNominalSize(SizeOfIndex(next, false), DefFontSize());
    FontChange();
    return true;
  }

  void StartLink() {
    for (const TAttribute& a : tok_.attributes.Items()) {
      if (a.kind == Attr::Href) {
        EndLink();
        link_ = {a.text, ""};
        if (const TAttribute* target = Attribute(Attr::Target)) link_.target = target->text;
        linkOpen_ = true;
        if (fonts_.Push()) {
          fonts_.Top().style |= platform::kUnderline;
          fonts_.Top().color = linkColor_;
        }
        FontChange(LinkChange::Start);
      } else if (a.kind == Attr::Name) {
        OpenSectionIfNone();
        if (names_.emplace(platform::AsciiUpper(a.text), section_.get()).second) section_->SetAnchored();
      }
    }
  }

  void EndLink() {
    if (!linkOpen_) return;
    linkOpen_ = false;
    link_ = {};
    fonts_.Pop();
    FontChange(LinkChange::End);
  }

  void ParseAligned(const StopSet& stop) {
    const Nested nested(nesting_);
    EndSection();
    const Alignment saved = align_;
    if (tok_.tag == Tag::Center) align_ = Alignment::Center;
    if (const auto align = AlignmentOf(Attribute(Attr::Align)); align && tok_.tag == Tag::Div) align_ = *align;
    NewSection();
    Next();
    ParseBody(stop.WithEnds({Tag::Center, Tag::Div}));
    EndSection();
    align_ = saved;
    NewSection();
    if (tok_.IsEnd(Tag::Center) || tok_.IsEnd(Tag::Div)) Next();
  }

  static bool EndsList(const THtmlTokenizer& t) {
    return t.kind == TokenKind::EndOfFile || (t.kind == TokenKind::EndTag && IsOneOf(t.tag, kListTags));
  }

  void ParseList(int level, const StopSet& stop) {
    const Nested nested(nesting_);
    const Tag listTag = tok_.tag;
    int counter = 1;
    char type = '1';
    bool plain = false;
    if (listTag == Tag::Ol) {
      if (const TAttribute* start = Attribute(Attr::Start); start && start->value >= 0) counter = start->value;
      if (const TAttribute* kind = Attribute(Attr::Type); kind && !kind->text.empty()) type = kind->text[0];
    }
    if (listTag == Tag::Ul) plain = Attribute(Attr::Plain) != nullptr;
    // A list whose CSS takes its left padding and margin away is not indented.
    if (const ComputedStyle* s = CurrentStyle(); s && level > level_ && IsFlush(*s)) level = level_;
    EndSection();
    const int savedLevel = level_;
    level_ = level;
    Next();
    while (!EndsList(tok_) && !stop.Has(tok_)) {
      const bool start = tok_.kind == TokenKind::StartTag;
      if (start && tok_.tag == Tag::Li) {
        const ComputedStyle* item = CurrentStyle();
        if (item && item->Authored(CssProperty::Display) && !IsBlockLevel(item->display)) {
          // Items that CSS puts in a line, as navigation bars do, share one block.
          if (section_) AppendText(" ");
          Next();
          continue;
        }
        EndSection();
        const char styled = item && item->Authored(CssProperty::ListStyleType) ? ListTypeOf(item->listStyle) : 0;
        const bool numbered = styled ? styled != 'n' : listTag == Tag::Ol;
        if (numbered)
          section_ = std::make_unique<TOListItem>(&list_, level, CurrentFont(), subSup_, CurrentLink(), counter++,
                                                  styled ? styled : type);
        else
          section_ = std::make_unique<TUListItem>(&list_, level, CurrentFont(), subSup_, CurrentLink(),
                                                  plain || styled == 'n');
        StyleSection(*section_);
        Next();
        if (tok_.IsStart(Tag::P)) Next();
      } else if (start && (tok_.tag == Tag::Dt || tok_.tag == Tag::Dd)) {
        EndSection();
        level_ = tok_.tag == Tag::Dt ? level - 1 : level;
        section_ = std::make_unique<TDListItem>(&list_, level_, CurrentFont(), subSup_, CurrentLink());
        StyleSection(*section_);
        Next();
      } else if (start && IsOneOf(tok_.tag, kListTags) && nesting_ < kMaxNesting) {
        ParseList(level + 1, stop);
        level_ = level;
      } else if (start && tok_.tag == Tag::Table) {
        if (section_ && section_->Text().empty()) section_->KeepLineHeight();
        if (DoToken(stop)) Next();
      } else if (start && (tok_.tag == Tag::Center || tok_.tag == Tag::Div)) {
        StopSet untilListEnd = stop.WithEnds(kListTags);
        ParseBody(untilListEnd);
      } else if (start && IsOneOf(tok_.tag, {Tag::Title, Tag::Body, Tag::Base, Tag::Bgsound, Tag::Meta})) {
        Next();
      } else if (DoToken(stop)) {
        Next();
      }
    }
    EndSection();
    if (tok_.kind == TokenKind::EndTag && IsOneOf(tok_.tag, kListTags)) Next();
    level_ = savedLevel;
  }

  static bool IsFlush(const ComputedStyle& s) {
    const auto zero = [](const CssLength& l) { return l.unit == CssLength::Unit::Px && l.value == 0; };
    return s.Authored(CssProperty::PaddingLeft) && zero(s.padding[3]) &&
           (!s.Authored(CssProperty::MarginLeft) || zero(s.margin[3]));
  }

  TUrlTarget CurrentLink() const { return linkOpen_ ? link_ : TUrlTarget{}; }

  static VAlign VAlignOf(const TAttribute* valign, VAlign otherwise) {
    if (!valign) return otherwise;
    if (SameText(valign->text, "top") || SameText(valign->text, "baseline")) return VAlign::Top;
    if (SameText(valign->text, "middle")) return VAlign::Middle;
    if (SameText(valign->text, "bottom")) return VAlign::Bottom;
    return otherwise;
  }

  // A table, from its TABLE token to its end. Cells are parsed into their own cells; text before the first
  // cell goes into the cell that holds the table, so it shows above it.
  void ParseTable() {
    const Nested nested(nesting_);
    EndLink();
    const int fontDepth = fonts_.Depth();
    TCell* const container = cell_;
    const Alignment savedAlign = align_;
    const platform::FontStyle savedStyle = style_;
    const int savedLevel = level_;
    EndSection();
    auto table = std::make_unique<ThtmlTable>(&list_, tok_.attributes, level_, static_cast<int>(align_), container);
    Next();

    static const StopSet kCellStop = [] {
      StopSet stop;
      for (Tag tag : {Tag::Td, Tag::Tr, Tag::Th, Tag::Caption}) stop.starts.set(static_cast<std::size_t>(tag));
      return stop.WithEnds({Tag::Table, Tag::Td, Tag::Tr, Tag::Th, Tag::Caption});
    }();
    TCellList row;
    bool rowOpen = false, anyCell = false;
    std::optional<Alignment> rowAlign;
    VAlign rowVAlign = VAlign::Middle;
    std::unique_ptr<TCellObj> cell;
    const auto restoreFonts = [&] {
      while (fonts_.Depth() > fontDepth) fonts_.Pop();
      style_ = savedStyle;
    };
    const auto finishCell = [&] {
      if (cell) {
        EndSection();
        row.cells.push_back(std::move(cell));
      }
      cell_ = container;
    };
    const auto closeRow = [&] {
      finishCell();
      if (rowOpen) table->AddRow(std::move(row));
      row = {};
      rowOpen = false;
    };
    // Parses content into target up to the next token of the cell stop set.
    const auto parseInto = [&](TCell& target, Alignment align) {
      cell_ = &target;
      align_ = align;
      level_ = 0;
      NewSection();
      Next();
      while (tok_.kind == TokenKind::Text && tok_.text == " ") Next();
      tok_.paragraphSpaceSuppressed = true;
      ParseBody(kCellStop);
    };

    while (!AtEnd() && !tok_.IsEnd(Tag::Table)) {
      const bool start = tok_.kind == TokenKind::StartTag, end = tok_.kind == TokenKind::EndTag;
      const bool cellTag = tok_.tag == Tag::Td || tok_.tag == Tag::Th;
      if (start && cellTag) {
        EndLink();
        restoreFonts();
        if (!anyCell) EndSection();
        anyCell = true;
        finishCell();
        if (!rowOpen) {
          rowOpen = true;
          rowAlign.reset();
          rowVAlign = VAlign::Middle;
        }
        const bool header = tok_.tag == Tag::Th;
        style_ = header ? (style_ | platform::kBold) : (style_ & ~platform::kBold);
        const Alignment align = AlignmentOf(Attribute(Attr::Align))
                                    .value_or(rowAlign.value_or(header ? Alignment::Center : Alignment::Left));
        cell = std::make_unique<TCellObj>(&list_, tok_.attributes, VAlignOf(Attribute(Attr::VAlign), rowVAlign));
        parseInto(cell->cell, align);
      } else if (end && cellTag) {
        finishCell();
        Next();
      } else if (tok_.kind != TokenKind::UnknownTag && tok_.tag == Tag::Tr && (start || end)) {
        EndLink();
        closeRow();
        if (start) {
          rowOpen = true;
          row.background = ParseColor(TextOf(Attr::BgColor));
          rowAlign = AlignmentOf(Attribute(Attr::Align));
          rowVAlign = VAlignOf(Attribute(Attr::VAlign), VAlign::Middle);
        }
        Next();
      } else if (start && tok_.tag == Tag::Caption) {
        EndLink();
        restoreFonts();
        finishCell();
        const TAttribute* align = Attribute(Attr::Align);
        const bool atTop = !(align && SameText(align->text, "bottom"));
        auto caption = std::make_unique<TCellObj>(&list_, TAttributeList{}, VAlign::Top);
        parseInto(caption->cell, Alignment::Center);
        EndSection();
        cell_ = container;
        table->SetCaption(std::move(caption), atTop);
        if (tok_.IsEnd(Tag::Caption)) Next();
      } else if (!anyCell && !(end && tok_.tag == Tag::Caption)) {
        if (DoToken(kCellStop)) Next();
      } else {
        Next();
      }
    }
    EndLink();
    restoreFonts();
    closeRow();
    cell_ = container;
    align_ = savedAlign;
    level_ = savedLevel;
    cell_->Add(std::move(table));
    if (tok_.IsEnd(Tag::Table)) Next();
  }

  void ParsePre() {
    EndSection();
    PushPreformattedFont();
    tok_.preformatted = true;
    NewSection<TPreFormated>();
    std::string collected;
    const auto breakLine = [&] {
      FlushInto(collected);
      EndSection();
      NewSection<TPreFormated>();
    };
    for (;;) {
      const int c = tok_.Ch();
      if (c == kEndChar) break;
      if (c == '\r') {
        breakLine();
        tok_.ReadChar();
      } else if (c == '&') {
        collected += tok_.ReadEntity();
      } else if (c == '<') {
        FlushInto(collected);
        Next();
        if (tok_.kind == TokenKind::Text) {
          collected += tok_.text;
        } else if (tok_.IsStart(Tag::P) || tok_.IsStart(Tag::Br)) {
          breakLine();
          if (tok_.Ch() == '\r') tok_.ReadChar();
        } else if (tok_.IsEnd(Tag::Pre) || tok_.IsEnd(Tag::Td) || tok_.IsEnd(Tag::Th)) {
          break;
        } else if ((tok_.kind == TokenKind::StartTag || tok_.kind == TokenKind::EndTag) &&
                   IsOneOf(tok_.tag, kTagsInPre)) {
          DoInlineToken();
        }
      } else {
        collected += static_cast<char>(c);
        tok_.ReadChar();
        if (collected.size() >= kPreFlush) FlushInto(collected);
      }
    }
    FlushInto(collected);
    EndSection();
    tok_.preformatted = false;
    fonts_.Pop();
    Next();
  }

  // With the character after <SCRIPT ...> current: reads the script up to its end tag and leaves the
  // character after that current.
  void ParseScript() {
    if (!list_.onScript) return SkipRawBody(tok_);
    const std::string language = TextOf(Attr::Language);
    tok_.script = true;
    std::string script;
    for (tok_.NextScriptToken(); tok_.kind != TokenKind::EndOfFile && tok_.kind != TokenKind::EndTag;
         tok_.NextScriptToken())
      script += tok_.kind == TokenKind::EndOfLine ? std::string("\r\n") : tok_.text;
    tok_.script = false;
    list_.onScript(language, script);
  }

  THtmlTokenizer tok_;
  TSectionList& list_;
  TNameList& names_;
  const ParseCallbacks& callbacks_;
  TCell* cell_ = &list_;
  std::unique_ptr<TSection> section_;
  TFontStack fonts_;
  TUrlTarget link_;
  bool linkOpen_ = false;
  platform::Color linkColor_;
  Alignment align_ = Alignment::Left;
  platform::FontStyle style_ = 0;
  SubSup subSup_ = SubSup::None;
  int baseFontSize_ = 3;
  int level_ = 0;
  int nesting_ = 0;
  ThtmlForm* form_ = nullptr;
  ParseResult result_;
  std::shared_ptr<PageStyles> styles_;
  int current_ = -1;  // the innermost element of the page's tree at the token in hand
  bool pendingBreak_ = false;
};

}  // namespace

ParseResult ParseHtmlBuffer(std::string_view page, TSectionList& list, TNameList& names,
                            const ParseCallbacks& callbacks) {
  return THtmlParser(page, list, names, callbacks).ParseHtml(page);
}

ParseResult ParseHtmlFile(const std::string& path, TSectionList& list, TNameList& names,
                          const ParseCallbacks& callbacks, std::optional<platform::TextEncoding> encoding) {
  const std::string page = platform::ReadFileBytes(path);
  list.encoding = encoding ? *encoding : platform::DetectEncoding(page);
  return ParseHtmlBuffer(page, list, names, callbacks);
}

ParseResult ParseTextFile(const std::string& path, TSectionList& list, TNameList& names) {
  const std::string text = platform::ReadFileBytes(path);
  list.encoding = platform::DetectEncoding(text);
  const ParseCallbacks none;
  return THtmlParser(text, list, names, none).ParseText();
}

}  // namespace preview
