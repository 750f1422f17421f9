// The styling pass: tokens to elements, STYLE bodies and stylesheet links to sheets (with their imports),
// then the cascade.
#include "preview/PageStyles.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "platform/FileIO.h"
#include "platform/TextBits.h"
#include "preview/CssValues.h"

namespace preview {
namespace {

// The file a sheet's address names, relative to folder: nothing for web addresses (which are not
// fetched) and for an empty one. A query or fragment is left off and %XX escapes are read.
std::optional<std::string> SheetPath(const std::string& folder, std::string_view href) {
  if (href.substr(0, 7) == "file://") href.remove_prefix(7);
  const std::size_t colon = href.find(':');
  if (colon != std::string_view::npos && colon > 1 && href.substr(0, colon).find('/') == std::string_view::npos)
    return std::nullopt;
  href = href.substr(0, href.find_first_of("?#"));
  std::string path;
  for (std::size_t i = 0; i < href.size(); ++i) {
    const int hi = i + 2 < href.size() && href[i] == '%' ? platform::HexDigitValue(href[i + 1]) : -1;
    const int lo = hi >= 0 ? platform::HexDigitValue(href[i + 2]) : -1;
    if (lo >= 0) {
      path += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      path += href[i];
    }
  }
  if (path.empty() || folder.empty()) return std::nullopt;
  return (std::filesystem::path(folder) / path).lexically_normal().string();
}

// STYLE and LINK media that apply to the screen.
MediaList MediaOf(const PageElement& e) {
  const auto media = e.Attribute("media");
  return media ? ParseMediaList(*media) : MediaList{};
}

// The box a block's authored margins, borders, padding and width give the blocks inside it, within its
// parent's. Lists keep their left side to the renderer's own indent, and a table cell starts a box anew.
// A block CSS floats is built as a floating one-cell table: it draws its own background and starts a
// box anew, as a table cell does.
bool FloatsAsBlock(const PageElement& e, const ComputedStyle& s) {
  return s.Authored(CssProperty::Float) && s.floating != CssFloat::None && IsBlockLevel(s.display) && e.name != "img" &&
         e.name != "table" && e.name != "body" && e.name != "html";
}

struct Boxes {
  TSectionBase::Box text;  // where the blocks inside the element are laid out
  TSectionBase::Box back;  // where the element's own background is drawn: inside its margins
};

Boxes BoxFor(const PageElement& e, const ComputedStyle& s, TSectionBase::Box box, int width) {
  if (!IsBlockLevel(s.display) || e.name == "html") return {box, box};
  const auto px = [&](const CssLength& l, CssProperty p) {
    if (!s.Authored(p)) return 0;
    if (l.unit == CssLength::Unit::Px) return static_cast<int>(l.value);
    if (l.unit == CssLength::Unit::Percent) return static_cast<int>(l.value * static_cast<float>(width) / 100);
    return 0;
  };
  const auto border = [&](int side, CssProperty p) {
    return s.Authored(p) ? static_cast<int>(s.borderWidth[side]) : 0;
  };
  const bool list = e.name == "ul" || e.name == "ol" || e.name == "dl" || e.name == "dir" || e.name == "menu" ||
                    e.name == "blockquote" || e.name == "li";
  const int marginLeft = list ? 0 : px(s.margin[3], CssProperty::MarginLeft);
  const int marginRight = px(s.margin[1], CssProperty::MarginRight);
  const int left = list ? 0 : border(3, CssProperty::BorderLeftWidth) + px(s.padding[3], CssProperty::PaddingLeft);
  const int right = border(1, CssProperty::BorderRightWidth) + px(s.padding[1], CssProperty::PaddingRight);
  if (e.name == "td" || e.name == "th" || FloatsAsBlock(e, s)) box = {};
  int set = px(s.width, CssProperty::Width);
  if (const int most = px(s.maxWidth, CssProperty::MaxWidth); most > 0 && (set == 0 || most < set)) set = most;
  const bool centred = set > 0 && s.Authored(CssProperty::MarginLeft) && s.Authored(CssProperty::MarginRight) &&
                       s.margin[3].unit == CssLength::Unit::Auto && s.margin[1].unit == CssLength::Unit::Auto;
  const auto clamp16 = [](int v) { return static_cast<std::int16_t>(std::clamp(v, 0, 30000)); };
  if (centred) return {{clamp16(set), clamp16(left), clamp16(right)}, {clamp16(set), 0, 0}};
  const TSectionBase::Box back{box.width, clamp16(box.left + marginLeft), clamp16(box.right + marginRight)};
  return {{back.width, clamp16(back.left + left), clamp16(back.right + right)}, back};
}

}  // namespace

void SkipRawBody(THtmlTokenizer& t) {
  if (t.IsStart(Tag::Script)) {
    do t.NextScriptToken();
    while (t.kind != TokenKind::EndOfFile && t.kind != TokenKind::EndTag);
  } else if (t.IsStart(Tag::Textarea)) {
    do t.NextTextAreaToken();
    while (t.kind != TokenKind::EndOfFile && t.kind != TokenKind::EndTag);
    t.SkipPastTagEnd();
  }
}

PageStyles::PageStyles(const PageStyleSource& source, StyleDefaults defaults)
    : engine_(std::move(defaults)), readSheet_(source.readSheet) {
  if (!readSheet_)
    readSheet_ = [](const std::string& path) -> std::optional<std::string> {
      try {
        return platform::ReadFileBytes(path);
      } catch (const std::exception&) {
        return std::nullopt;
      }
    };
  THtmlTokenizer t(source.page, source.include);
  t.encoding = source.encoding;
  t.keepRawAttributes = true;
  PageTreeBuilder builder(elements_, attributes_);
  t.Start();
  // Pages hold about one element for every two tags, one tag for each "<".
  const auto marks = static_cast<std::size_t>(std::count(source.page.begin(), source.page.end(), '<'));
  tags_.reserve(marks);
  elements_.reserve(marks / 2 + 2);
  const auto record = [&](int started) {
    if (t.tagPos < UINT32_MAX) tags_.push_back({static_cast<std::uint32_t>(t.tagPos), started, builder.Innermost()});
  };
  for (t.NextHtmlToken(); t.kind != TokenKind::EndOfFile; t.NextHtmlToken()) {
    if (t.kind == TokenKind::Text) {
      if (t.text.find_first_not_of(' ') != std::string::npos) builder.Text(t.tagPos);
      continue;
    }
    if (t.kind != TokenKind::StartTag && t.kind != TokenKind::EndTag && t.kind != TokenKind::UnknownTag) continue;
    if (t.closing) {
      builder.End(t.name, t.tagPos);
      record(-1);
      continue;
    }
    const int index = builder.Start(t.name, t.rawAttributes, t.tagPos);
    if (index < 0) continue;
    PageElement& e = elements_[static_cast<std::size_t>(index)];
    e.rendererTag = t.kind != TokenKind::UnknownTag;
    if (e.closeOffset == SIZE_MAX && builder.Innermost() != index) {
      e.closeOffset = t.tagPos;  // an element without contents ends where it starts
      e.closedByOwnEnd = true;
    }
    record(index);
    const MediaList media = MediaOf(e);
    if (e.name == "style") {
      if (t.styleText.find_first_not_of(" \r") != std::string::npos)
        AddSheetText(t.styleText, source.folder, {media}, 0);
    } else if (e.name == "link") {
      const auto rel = e.Attribute("rel");
      const auto href = e.Attribute("href");
      const std::string relation = rel ? platform::AsciiLower(std::string(*rel)) : std::string();
      if (href && HasCssWord(relation, "stylesheet") && !HasCssWord(relation, "alternate"))
        if (const auto path = SheetPath(source.folder, *href)) ReadSheetFile(*path, {media}, 0);
    } else if (e.name == "script" || e.name == "textarea") {
      SkipRawBody(t);
      if (t.kind == TokenKind::EndTag) {
        builder.End(e.name, t.tagPos);
        record(-1);
      }
    }
  }
  builder.Finish();
}

void PageStyles::AddSheetText(std::string_view text, const std::string& folder, std::vector<MediaList> media,
                              int depth) {
  CssSheet sheet = ParseStyleSheet(text);
  // Imported sheets come first, in their order, each under its @import's media and those of the sheets
  // around it.
  for (const CssImport& import : sheet.imports) {
    const auto path = SheetPath(folder, import.url);
    if (!path || depth + 1 > kMaxImportDepth) continue;
    std::vector<MediaList> importMedia = media;
    if (import.media >= 0) importMedia.push_back(sheet.media[static_cast<std::size_t>(import.media)]);
    ReadSheetFile(*path, std::move(importMedia), depth + 1);
  }
  engine_.AddAuthorSheet(std::move(sheet), media);
}

void PageStyles::ReadSheetFile(const std::string& path, std::vector<MediaList> media, int depth) {
  if (std::find(sheetFiles_.begin(), sheetFiles_.end(), path) != sheetFiles_.end()) return;
  sheetFiles_.push_back(path);
  const std::optional<std::string> text = readSheet_(path);
  if (!text) return;
  AddSheetText(*text, std::filesystem::path(path).parent_path().string(), std::move(media), depth);
}

void PageStyles::Compute(int width) {
  width_ = width;
  const std::vector<std::uint32_t> styleOf = engine_.Compute(elements_, width);
  places_.resize(elements_.size());
  names_.clear();
  std::unordered_map<std::string, std::uint16_t> nameIndex;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const PageElement& e = elements_[i];
    const auto [name, added] = nameIndex.try_emplace(e.name, static_cast<std::uint16_t>(names_.size()));
    if (added && names_.size() < UINT16_MAX) names_.push_back(e.name);
    places_[i] = {e.parent,
                  styleOf[i],
                  static_cast<std::uint32_t>(std::min<std::size_t>(e.closeOffset, UINT32_MAX)),
                  std::min<std::uint16_t>(name->second, static_cast<std::uint16_t>(names_.size() - 1)),
                  e.closedByOwnEnd,
                  e.rendererTag,
                  FloatsAsBlock(e, engine_.Style(styleOf[i]))};
  }
  blockBackground_.assign(elements_.size(), 0);
  inlineBackground_.assign(elements_.size(), 0);
  boxes_.assign(elements_.size(), {});
  backBoxes_.assign(elements_.size(), {});
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const PageElement& e = elements_[i];
    const ComputedStyle& s = engine_.Style(styleOf[i]);
    const std::size_t parent = static_cast<std::size_t>(e.parent);
    // The page's background is the html or body element's; cells and tables draw their own.
    const bool ownDrawing = e.name == "td" || e.name == "th" || e.name == "table" || e.name == "html" ||
                            e.name == "body" || FloatsAsBlock(e, s);
    const std::uint32_t own = s.hasBackground && (s.Authored(CssProperty::BackgroundColor) || !e.rendererTag)
                                  ? (s.background & 0xFFFFFF) + 1
                                  : 0;
    const Boxes boxes = BoxFor(e, s, e.parent >= 0 ? boxes_[parent] : TSectionBase::Box{}, width);
    boxes_[i] = boxes.text;
    backBoxes_[i] = e.parent >= 0 ? backBoxes_[parent] : TSectionBase::Box{};
    if (IsBlockLevel(s.display)) {
      blockBackground_[i] = ownDrawing ? 0 : own ? own : e.parent >= 0 ? blockBackground_[parent] : 0;
      if (!ownDrawing && own) backBoxes_[i] = boxes.back;
    } else {
      blockBackground_[i] = e.parent >= 0 ? blockBackground_[parent] : 0;
      inlineBackground_[i] = own ? own : e.parent >= 0 ? inlineBackground_[parent] : 0;
    }
  }
}

const PageStyles::TagAt* PageStyles::Find(std::size_t offset) const {
  if (tags_.empty()) return nullptr;
  if (cursor_ < tags_.size() && tags_[cursor_].offset == offset) return &tags_[cursor_];
  if (cursor_ + 1 < tags_.size() && tags_[cursor_ + 1].offset == offset) return &tags_[++cursor_];
  const auto found = std::lower_bound(tags_.begin(), tags_.end(), offset,
                                      [](const TagAt& tag, std::size_t at) { return tag.offset < at; });
  if (found == tags_.end() || found->offset != offset) return nullptr;
  cursor_ = static_cast<std::size_t>(found - tags_.begin());
  return &*found;
}

int PageStyles::ElementStartedAt(std::size_t offset) const {
  const TagAt* tag = Find(offset);
  return tag ? tag->started : -1;
}

int PageStyles::InnermostAfter(std::size_t offset) const {
  const TagAt* tag = Find(offset);
  return tag ? tag->innermost : kNotATag;
}

void PageStyles::ReleaseTree() {
  std::vector<PageElement>().swap(elements_);
  attributes_ = {};
}

void PageStyles::ReleasePlaces() {
  std::vector<TagAt>().swap(tags_);
  std::vector<Placed>().swap(places_);
  std::vector<std::uint32_t>().swap(blockBackground_);
  std::vector<std::uint32_t>().swap(inlineBackground_);
  std::vector<TSectionBase::Box>().swap(boxes_);
  std::vector<TSectionBase::Box>().swap(backBoxes_);
}

namespace {

std::optional<platform::Color> ColorOf(const std::vector<std::uint32_t>& colors, int element) {
  if (element < 0 || static_cast<std::size_t>(element) >= colors.size()) return std::nullopt;
  const std::uint32_t value = colors[static_cast<std::size_t>(element)];
  if (value == 0) return std::nullopt;
  return value - 1;
}

}  // namespace

std::optional<platform::Color> PageStyles::BlockBackground(int element) const {
  return ColorOf(blockBackground_, element);
}

std::optional<platform::Color> PageStyles::InlineBackground(int element) const {
  return ColorOf(inlineBackground_, element);
}

}  // namespace preview
