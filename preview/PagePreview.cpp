// The viewer: loading, layout and scroll bars, painting, input, links and history.
#include "preview/PagePreview.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "platform/TextBits.h"
#include "preview/PageStyles.h"
#include "preview/Section.h"

namespace preview {
namespace {

std::string Extension(const std::string& path) {
  return platform::AsciiUpper(std::filesystem::path(path).extension().string());
}

}  // namespace

TPagePreview::TPagePreview(platform::FontEngine& fonts, platform::ControlWindow& window, platform::EventLoop& loop)
    : window_(window), loop_(loop), document_(fonts, PreviewSettings{}) {
  document_.onFormSubmit = [this](const std::string& action, const std::string& target, const std::string& encType,
                                  const std::string& method, const std::vector<std::string>& entries) {
    // Reported from the event loop, never from inside the click that submitted.
    if (!onFormSubmit) return;
    loop_.StopTimer(submitTimer_);
    submitTimer_ = loop_.StartTimer(0, [=, this] {
      loop_.StopTimer(submitTimer_);
      submitTimer_ = {};
      onFormSubmit(action, target, encType, method, entries);
    });
  };
  document_.onLayoutError = [this](const TCell&, std::size_t, const std::string& message) {
    if (layoutError_.empty()) layoutError_ = message;
  };
  // A control reached with the keyboard comes into view.
  document_.onControlFocus = [this](const TFormControlObj& control) {
    if (!control.placed.IsEmpty()) ScrollIntoView(control.placed.top);
  };
}

TPagePreview::~TPagePreview() {
  loop_.StopTimer(sheetTimer_);
  loop_.StopTimer(submitTimer_);
  loop_.StopTimer(autoScroll_);
  loop_.StopTimer(animationTimer_);
}

void TPagePreview::SetViewImages(bool view) {
  document_.viewImages = view;
  if (!document_.Empty()) DoLayout();
}

void TPagePreview::LoadHtmlFile(const std::string& name, std::optional<platform::TextEncoding> encoding) {
  Load(name, FileType::Html, false, encoding);
}
void TPagePreview::LoadTextFile(const std::string& name) { Load(name, FileType::Text, false); }
void TPagePreview::LoadImageFile(const std::string& name) { Load(name, FileType::Image, false); }

void TPagePreview::ReloadFile() {
  if (!currentFile_.empty()) Load(currentFile_, fileType_, true);
}

void TPagePreview::Clear() {
  document_.ClearDocument();
  reparse_ = nullptr;
  WatchSheets();
  UpdateAnimationTimer();
  names_.clear();
  title_.clear();
  base_.clear();
  baseTarget_.clear();
  currentFile_.clear();
  anchor_ = caret_ = -1;
  vScroll_ = hScroll_ = 0;
  documentHeight_ = documentWidth_ = 0;
  vBar_ = hBar_ = false;
  window_.SetScrollBar(platform::ScrollBarKind::Vertical, {0, 0, 0, 0, false});
  window_.SetScrollBar(platform::ScrollBarKind::Horizontal, {0, 0, 0, 0, false});
  window_.Invalidate({0, 0, window_.ClientSize().width, window_.ClientSize().height});
}

void TPagePreview::Load(std::string name, FileType type, bool keepPosition,
                        std::optional<platform::TextEncoding> encoding) {
  if (processing_ || name.empty()) return;
  std::string anchor;
  if (const auto hash = name.find('#'); hash != std::string::npos) {
    anchor = name.substr(hash + 1);
    name.erase(hash);
  }
  if (!std::filesystem::is_regular_file(name)) throw EViewerError("Can't locate file: " + name);
  const HistoryEntry old{currentFile_, title_, fileType_, ViewPosition()};
  processing_ = true;
  if (onProcessing) onProcessing(true);
  document_.ClearDocument();
  TStringBitmapList::Shared().NewPage();  // a page load ages the pictures cached for earlier pages
  document_.SetSettings(settings);
  refreshDelay_ = -1;
  refreshUrl_.clear();
  anchor_ = caret_ = -1;
  const std::string path = std::filesystem::absolute(name).lexically_normal().string();
  document_.imageFolder = std::filesystem::path(path).parent_path().string();
  ParseCallbacks callbacks;
  callbacks.meta = [this](const std::string& httpEquiv, const std::string&, const std::string& content) {
    Meta(httpEquiv, content);
  };
  document_.styleWidth = WidthFor(window_.ClientSize());
  reparse_ = nullptr;
  ParseResult parsed;
  try {
    if (type == FileType::Html) {
      parsed = ParseHtmlFile(path, document_, names_, callbacks, encoding);
      if (StylesMayChange())
        reparse_ = [this, path, encoding] { ParseHtmlFile(path, document_, names_, {}, encoding); };
    }
    if (type == FileType::Text) parsed = ParseTextFile(path, document_, names_);
    if (type == FileType::Image) parsed = ParseHtmlBuffer("<img src=\"" + path + "\">", document_, names_, {});
  } catch (...) {
    UpdateAnimationTimer();
    processing_ = false;
    if (onProcessing) onProcessing(false);
    throw;
  }
  currentFile_ = path;
  fileType_ = type;
  title_ = parsed.title;
  base_ = parsed.base;
  baseTarget_ = parsed.baseTarget;
  layoutError_.clear();
  WatchSheets();
  DoLayout();
  if (keepPosition)
    SetViewPosition(old.position);
  else if (!anchor.empty())
    ScrollToAnchor(anchor);
  else if (path != old.file) {
    SetVScroll(0);
    SetHScroll(0);
  }
  processing_ = false;
  if (onProcessing) onProcessing(false);
  RecordHistory(old);
  TellLayoutError({});
  if (refreshDelay_ > 0 && onMetaRefresh) onMetaRefresh(refreshDelay_, refreshUrl_);
}

void TPagePreview::ShowHtmlText(const std::string& page, const std::string& folder, platform::TextEncoding encoding) {
  if (processing_) return;
  const std::int64_t position = ViewPosition();
  document_.SetSettings(settings);
  document_.imageFolder = folder;
  document_.encoding = encoding;
  document_.styleWidth = WidthFor(window_.ClientSize());
  const ParseResult parsed = ParseHtmlBuffer(page, document_, names_, {});
  reparse_ = nullptr;
  if (StylesMayChange()) reparse_ = [this, page] { ParseHtmlBuffer(page, document_, names_, {}); };
  WatchSheets();
  title_ = parsed.title;
  base_ = parsed.base.empty() ? folder + "/" : parsed.base;
  anchor_ = caret_ = -1;
  const std::string toldBefore = std::exchange(layoutError_, {});
  DoLayout();
  SetViewPosition(position);
  TellLayoutError(toldBefore);
}

void TPagePreview::TellLayoutError(const std::string& toldBefore) {
  if (!layoutError_.empty() && layoutError_ != toldBefore && onLayoutError) onLayoutError(layoutError_);
}

void TPagePreview::Meta(const std::string& httpEquiv, const std::string& content) {
  if (!onMetaRefresh || !SameText(httpEquiv, "refresh")) return;
  const auto semicolon = content.find(';');
  if (semicolon == std::string::npos) return;
  try {
    std::size_t used = 0;
    const std::string number = content.substr(0, semicolon);
    refreshDelay_ = std::stoi(number, &used);
    if (number.find_first_not_of(' ', used) != std::string::npos) refreshDelay_ = -1;
  } catch (const std::exception&) {
    refreshDelay_ = -1;
  }
  if (const auto url = platform::AsciiUpper(content).find("URL="); refreshDelay_ > 0 && url != std::string::npos)
    refreshUrl_ = content.substr(url + 4);
}

void TPagePreview::RecordHistory(const HistoryEntry& old) {
  if (historyMaxCount < 1 || old.file.empty()) return;
  const HistoryEntry now{currentFile_, title_, fileType_, ViewPosition()};
  if (now.file == old.file && now.type == old.type && now.position == old.position) return;
  if (history_.empty()) history_.push_back(old);
  history_.erase(history_.begin(), history_.begin() + historyIndex_);
  history_.front() = old;
  history_.insert(history_.begin(), now);
  historyIndex_ = 0;
  if (static_cast<int>(history_.size()) > historyMaxCount) history_.resize(static_cast<std::size_t>(historyMaxCount));
  if (onHistoryChange) onHistoryChange();
}

void TPagePreview::ShowHistoryEntry(int index) {
  history_[static_cast<std::size_t>(historyIndex_)].position = ViewPosition();
  const HistoryEntry entry = history_[static_cast<std::size_t>(index)];
  const int saved = historyMaxCount;
  historyMaxCount = 0;  // moving through the history records nothing
  try {
    if (entry.file != currentFile_ || entry.type != fileType_) Load(entry.file, entry.type, false);
  } catch (...) {
    historyMaxCount = saved;
    throw;
  }
  historyMaxCount = saved;
  historyIndex_ = index;
  SetViewPosition(entry.position);
  if (onHistoryChange) onHistoryChange();
}

void TPagePreview::GoBack() {
  if (CanGoBack()) ShowHistoryEntry(historyIndex_ + 1);
}

void TPagePreview::GoForward() {
  if (CanGoForward()) ShowHistoryEntry(historyIndex_ - 1);
}

platform::Rect TPagePreview::Panel() const {
  const platform::Size size = window_.ClientSize();
  const int inset = borderStyle == BorderStyle::None ? 0 : 1;
  return {inset, inset, size.width - inset - (vBar_ ? kScrollBarWidth : 0),
          size.height - inset - (hBar_ ? kScrollBarWidth : 0)};
}

int TPagePreview::WidthFor(platform::Size size) const {
  const bool vertical = scrollBars == ScrollBars::Vertical || scrollBars == ScrollBars::Both;
  return size.width - 2 * marginWidth - (borderStyle == BorderStyle::None ? 1 : 3) - (vertical ? kScrollBarWidth : 0);
}

void TPagePreview::Restyle() {
  document_.styleWidth = std::max(layoutWidth_, 1);
  reparse_();
  anchor_ = caret_ = -1;
  WatchSheets();
}

bool TPagePreview::StylesMayChange() const {
  return document_.styles && (document_.styles->Engine().DependsOnWidth() || !document_.styles->SheetFiles().empty());
}

void TPagePreview::WatchSheets() {
  sheetTimes_.clear();
  if (document_.styles)
    for (const std::string& file : document_.styles->SheetFiles()) sheetTimes_.push_back({file, ModifiedTime(file)});
  if (sheetTimes_.empty() || !reparse_) {
    loop_.StopTimer(sheetTimer_);
    sheetTimer_ = {};
  } else if (sheetTimer_.id == 0) {
    sheetTimer_ = loop_.StartTimer(kSheetPollMs, [this] { CheckSheets(); });
  }
}

std::filesystem::file_time_type TPagePreview::ModifiedTime(const std::string& file) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(file, error);
  return error ? std::filesystem::file_time_type::min() : time;
}

void TPagePreview::CheckSheets() {
  if (processing_) return;
  const bool changed = std::any_of(sheetTimes_.begin(), sheetTimes_.end(),
                                   [](const auto& sheet) { return ModifiedTime(sheet.first) != sheet.second; });
  if (!changed) return;
  const std::int64_t position = ViewPosition();
  Restyle();
  DoLayout();
  SetViewPosition(position);
}

void TPagePreview::DoLayout() {
  const platform::Size size = window_.ClientSize();
  const bool vertical = scrollBars == ScrollBars::Vertical || scrollBars == ScrollBars::Both;
  layoutWidth_ = WidthFor(size);
  // Sheets whose @media read otherwise at the new width style the page anew.
  if (reparse_ && document_.styles && document_.styles->RestyleNeededAt(std::max(layoutWidth_, 1))) Restyle();
  const int height = document_.DoLayout(std::max(layoutWidth_, 1));
  documentHeight_ = height + marginHeight * (vertical ? 2 : 1);
  documentWidth_ = std::min(document_.Widest(), kMaxDocumentWidth);
  ArrangeScrollBars();
  window_.Invalidate(Panel());
  UpdateAnimationTimer();
}

void TPagePreview::SetShowing(bool showing) {
  showing_ = showing;
  UpdateAnimationTimer();
}

void TPagePreview::UpdateAnimationTimer() {
  const bool wanted = showing_ && document_.HasAnimations();
  if (wanted == (animationTimer_.id != 0)) return;
  if (wanted) {
    animationTimer_ = loop_.StartTimer(kAnimationTickMs, [this] { TickAnimations(); });
  } else {
    loop_.StopTimer(animationTimer_);
    animationTimer_ = {};
  }
}

// Only the pictures whose frame changed are repainted.
void TPagePreview::TickAnimations() {
  const platform::Point origin = Origin();
  const platform::Rect panel = Panel();
  for (const platform::Rect& box : document_.TickAnimations(kAnimationTickMs)) {
    const platform::Rect shown = box.Translated(origin.x, origin.y).Intersected(panel);
    if (!shown.IsEmpty()) window_.Invalidate(shown);
  }
}

void TPagePreview::ArrangeScrollBars() {
  const platform::Size size = window_.ClientSize();
  const bool horizontalAllowed = scrollBars == ScrollBars::Horizontal || scrollBars == ScrollBars::Both;
  const bool verticalAllowed = scrollBars == ScrollBars::Vertical || scrollBars == ScrollBars::Both;
  const int needed = 2 * marginWidth + documentWidth_;
  if (!verticalAllowed) {
    vBar_ = false;
    hBar_ = horizontalAllowed && size.width < needed;
  } else {
    vBar_ = documentHeight_ >= size.height - 2 ||
            (horizontalAllowed && documentHeight_ >= size.height - kScrollBarWidth - 2 &&
             size.width - kScrollBarWidth < needed);
    hBar_ = horizontalAllowed && size.width - (vBar_ ? kScrollBarWidth : 0) < needed;
  }
  const platform::Rect panel = Panel();
  if (documentHeight_ <= panel.Height()) vScroll_ = 0;
  vScroll_ = std::clamp(vScroll_, 0, std::max(0, documentHeight_ - panel.Height()));
  const int hRange = std::max(needed, panel.Width());
  hScroll_ = std::clamp(hScroll_, 0, std::max(0, hRange - panel.Width()));
  window_.SetScrollBar(platform::ScrollBarKind::Vertical, {0, documentHeight_, panel.Height() + 1, vScroll_, vBar_});
  window_.SetScrollBar(platform::ScrollBarKind::Horizontal, {0, hRange, panel.Width(), hScroll_, hBar_});
}

void TPagePreview::Resize() {
  const platform::Size size = window_.ClientSize();
  const int width = WidthFor(size);
  if (width != layoutWidth_ && !document_.Empty()) {
    const std::int64_t position = ViewPosition();
    DoLayout();
    SetViewPosition(position);
  } else {
    ArrangeScrollBars();
  }
  window_.Invalidate({0, 0, size.width, size.height});
}

void TPagePreview::SetVScroll(int offset) {
  const int limit = std::max(0, documentHeight_ - Panel().Height());
  offset = std::clamp(offset, 0, limit);
  if (offset == vScroll_) return;
  const int delta = vScroll_ - offset;
  vScroll_ = offset;
  window_.SetScrollBar(platform::ScrollBarKind::Vertical, {0, documentHeight_, Panel().Height() + 1, vScroll_, vBar_});
  // A move of one line scrolls what is on screen; any other move repaints.
  if (std::abs(delta) == kLineStep)
    window_.ScrollContents(0, delta);
  else
    window_.Invalidate(Panel());
}

void TPagePreview::SetHScroll(int offset) {
  const int range = std::max(2 * marginWidth + documentWidth_, Panel().Width());
  offset = std::clamp(offset, 0, std::max(0, range - Panel().Width()));
  if (offset == hScroll_) return;
  hScroll_ = offset;
  window_.SetScrollBar(platform::ScrollBarKind::Horizontal, {0, range, Panel().Width(), hScroll_, hBar_});
  window_.Invalidate(Panel());
}

// Block tops only grow down the document, so the last block starting at or above y is found by halving.
int TPagePreview::BlockIndexAt(int y) const {
  const auto& blocks = document_.Blocks();
  const auto after =
      std::partition_point(blocks.begin(), blocks.end(), [y](const auto& block) { return block->Top() <= y; });
  return std::max(0, static_cast<int>(after - blocks.begin()) - 1);
}

std::int64_t TPagePreview::ViewPosition() const {
  const auto& blocks = document_.Blocks();
  if (blocks.empty()) return 0;
  const int y = vScroll_ - marginHeight;
  const int index = BlockIndexAt(y);
  return (static_cast<std::int64_t>(index) << 32) | static_cast<std::uint32_t>(std::max(0, y - blocks[index]->Top()));
}

void TPagePreview::SetViewPosition(std::int64_t position) {
  const auto& blocks = document_.Blocks();
  if (blocks.empty()) return SetVScroll(0);
  const auto index = std::min<std::size_t>(static_cast<std::size_t>(position >> 32), blocks.size() - 1);
  SetVScroll(blocks[index]->Top() + static_cast<int>(position & 0xFFFFFFFF) + marginHeight);
}

bool TPagePreview::ScrollToAnchor(std::string name) {
  if (!name.empty() && name.front() == '#') name.erase(0, 1);
  const auto found = names_.find(platform::AsciiUpper(name));
  if (found == names_.end()) return false;
  int x = 0, y = found->second->Top();
  document_.PositionToXY(found->second->StartPosition(), x, y);
  SetVScroll(y + marginHeight);
  return true;
}

std::string TPagePreview::ExpandLinkPath(const std::string& link) const {
  std::string text = link;
  const auto first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && platform::HexDigitValue(text[i + 1]) >= 0 &&
        platform::HexDigitValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(platform::HexDigitValue(text[i + 1]) * 16 + platform::HexDigitValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  if (decoded.rfind("file://", 0) == 0) decoded.erase(0, 7);
  std::replace(decoded.begin(), decoded.end(), '\\', '/');
  namespace fs = std::filesystem;
  if (!decoded.empty() && decoded.front() == '/' && !serverRoot.empty()) {
    std::string root = serverRoot;
    while (!root.empty() && (root.back() == '/' || root.back() == '\\')) root.pop_back();
    return fs::absolute(root + decoded).lexically_normal().string();
  }
  if (fs::path(decoded).is_absolute()) return fs::path(decoded).lexically_normal().string();
  if (SameText(base_, "DosPath")) return decoded;
  std::string folder = base_;
  if (folder.rfind("file://", 0) == 0) folder.erase(0, 7);
  if (folder.empty())
    folder = fs::path(currentFile_).parent_path().string();
  else if (folder.back() != '/')
    folder = fs::path(folder).parent_path().string();
  return fs::absolute(fs::path(folder) / decoded).lexically_normal().string();
}

void TPagePreview::FollowLink(const std::string& link) {
  bool handled = false;
  if (onHotSpotClick) onHotSpotClick(link, handled);
  if (handled) return;
  const std::string upper = platform::AsciiUpper(link);
  if (upper.rfind("HTTP://", 0) == 0 || upper.rfind("HTTPS://", 0) == 0) {
    if (onOpenExternal) onOpenExternal(link);
    return;
  }
  const HistoryEntry old{currentFile_, title_, fileType_, ViewPosition()};
  if (!link.empty() && link.front() == '#') {
    if (ScrollToAnchor(link)) RecordHistory(old);
    return;
  }
  std::string target = link, anchor;
  if (const auto hash = target.find('#'); hash != std::string::npos) {
    anchor = target.substr(hash + 1);
    target.erase(hash);
  }
  const std::string path = ExpandLinkPath(target);
  const std::string extension = Extension(path);
  if (extension == ".HTM" || extension == ".HTML") {
    if (path != currentFile_) {
      LoadHtmlFile(anchor.empty() ? path : path + "#" + anchor);
    } else if (ScrollToAnchor(anchor)) {
      RecordHistory(old);
    }
  } else if (extension == ".BMP" || extension == ".GIF" || extension == ".JPG" || extension == ".JPEG" ||
             extension == ".PNG") {
    LoadImageFile(path);
  }
}

platform::Point TPagePreview::Origin() const {
  const platform::Rect panel = Panel();
  return {panel.left + marginWidth - hScroll_, panel.top + marginHeight - vScroll_};
}

platform::Point TPagePreview::ToDocument(platform::Point at) const {
  const platform::Point origin = Origin();
  return {at.x - origin.x, at.y - origin.y};
}

void TPagePreview::Paint(platform::Canvas& canvas, const platform::Rect& clip, bool focused) {
  const platform::Size size = window_.ClientSize();
  if (borderStyle != BorderStyle::None) {
    const bool framed = borderStyle == BorderStyle::Single || focused;
    const platform::Color frame = framed ? platform::kColorButtonText : document_.Background();
    canvas.DrawLine({0, 0}, {size.width - 1, 0}, frame);
    canvas.DrawLine({0, 0}, {0, size.height - 1}, frame);
    canvas.DrawLine({0, size.height - 1}, {size.width - 1, size.height - 1}, frame);
    canvas.DrawLine({size.width - 1, 0}, {size.width - 1, size.height - 1}, frame);
  }
  const platform::Rect panel = Panel();
  const platform::Rect area = clip.Intersected(panel);
  if (area.IsEmpty()) return;
  canvas.SetClip(area);
  canvas.FillRect(area, document_.Background());
  if (const imaging::Bitmap* tile = document_.BackgroundBitmap(); tile && tile->width > 0 && tile->height > 0) {
    // Tiles start at the document's origin and scroll with the text.
    const int startX = panel.left - (hScroll_ % tile->width), startY = panel.top - (vScroll_ % tile->height);
    for (int y = startY; y < area.bottom; y += tile->height)
      for (int x = startX; x < area.right; x += tile->width)
        if (y + tile->height > area.top && x + tile->width > area.left)
          canvas.DrawImage({x, y, x + tile->width, y + tile->height}, {tile->width, tile->height, tile->pixels.data()});
  }
  const platform::Point origin = Origin();
  document_.Paint(canvas, {area.left, area.top, std::min(area.right, origin.x + kMaxDocumentWidth), area.bottom},
                  origin, panel);
  canvas.SetClip(std::nullopt);
}

void TPagePreview::KeyDown(Key key) {
  const int page = VerticalPageStep();
  switch (key) {
    case Key::Up:
      return SetVScroll(vScroll_ - kLineStep);
    case Key::Down:
      return SetVScroll(vScroll_ + kLineStep);
    case Key::PageUp:
      return SetVScroll(vScroll_ - page);
    case Key::PageDown:
      return SetVScroll(vScroll_ + page);
    case Key::Home:
      return SetVScroll(0);
    case Key::End:
      return SetVScroll(documentHeight_);
    case Key::Left:
      return SetHScroll(hScroll_ - 15);
    case Key::Right:
      return SetHScroll(hScroll_ + 15);
  }
}

void TPagePreview::Wheel(int lines) { SetVScroll(vScroll_ + lines * kLineStep); }

void TPagePreview::MouseDown(platform::Point at) {
  const platform::Point p = ToDocument(at);
  pressed_ = true;
  const bool hadSelection = document_.SelStart() < document_.SelEnd();
  caret_ = anchor_ = document_.CursorAt(p.x, p.y);
  document_.SetSelection(0, 0);
  if (hadSelection) window_.Invalidate(Panel());
}

void TPagePreview::MouseMove(platform::Point at, bool leftDown) {
  const platform::Point p = ToDocument(at);
  const auto link = document_.UrlAt(p.x, p.y);
  const std::string url = link ? link->url : std::string();
  if (url != covered_) {
    covered_ = url;
    if (onHotSpotCovered) onHotSpotCovered(url);
  }
  const PointerShape shape = link                           ? PointerShape::Hand
                             : document_.OverText(p.x, p.y) ? PointerShape::Text
                                                            : PointerShape::Arrow;
  if (shape != pointer_) {
    pointer_ = shape;
    if (onPointerShape) onPointerShape(shape);
  }
  if (!leftDown || !pressed_ || noSelect || anchor_ < 0) return;
  // Above or below the panel the view scrolls by itself while the button stays down.
  const platform::Rect panel = Panel();
  const int outside = at.y < panel.top ? at.y - panel.top : at.y >= panel.bottom ? at.y - panel.bottom + 1 : 0;
  dragPoint_ = at;
  if (outside != 0 && autoScroll_.id == 0) autoScroll_ = loop_.StartTimer(100, [this] { AutoScroll(); });
  if (outside == 0) StopAutoScroll();
  ExtendSelection(p);
}

void TPagePreview::ExtendSelection(platform::Point documentPoint) {
  const int position = document_.CursorAt(documentPoint.x, documentPoint.y);
  if (position < 0 || position == caret_) return;
  caret_ = position;
  document_.SetSelection(anchor_, caret_);
  window_.Invalidate(Panel());
}

void TPagePreview::AutoScroll() {
  const platform::Rect panel = Panel();
  const int outside = dragPoint_.y < panel.top ? panel.top - dragPoint_.y : dragPoint_.y - panel.bottom + 1;
  const int steps = outside > 15 ? 8 : 1;
  SetVScroll(vScroll_ + (dragPoint_.y < panel.top ? -1 : 1) * steps * kLineStep);
  const int edgeY = dragPoint_.y < panel.top ? panel.top : panel.bottom - 1;
  ExtendSelection(ToDocument({dragPoint_.x, edgeY}));
}

void TPagePreview::StopAutoScroll() {
  loop_.StopTimer(autoScroll_);
  autoScroll_ = {};
}

void TPagePreview::MouseUp(platform::Point at) {
  StopAutoScroll();
  if (!pressed_) return;
  pressed_ = false;
  const platform::Point p = ToDocument(at);
  if (document_.SelStart() < document_.SelEnd()) return;
  // An image input submits its form with the point clicked in its picture.
  platform::Point inside;
  if (TImageObj* image = document_.ImageAtPoint(p.x, p.y, inside); image && image->onClick)
    return image->onClick(inside.x, inside.y);
  if (const auto link = document_.UrlAt(p.x, p.y)) FollowLink(link->url);
}

void TPagePreview::DoubleClick(platform::Point at) {
  if (noSelect) return;
  const platform::Point p = ToDocument(at);
  const int position = document_.CursorAt(p.x, p.y);
  int start = 0, end = 0;
  if (position < 0 || !document_.WordAt(position, start, end)) return;
  document_.SetSelection(start, end);
  window_.Invalidate(Panel());
}

void TPagePreview::SelectAll() {
  document_.SetSelection(0, document_.CharCount());
  window_.Invalidate(Panel());
}

bool TPagePreview::FindNext(const std::string& text, bool matchCase) {
  const int from = document_.SelEnd() > document_.SelStart() ? document_.SelStart() + 1 : 0;
  const int found = document_.FindText(from, text, matchCase);
  if (found < 0) return false;
  document_.SetSelection(found, found + static_cast<int>(text.size()));
  int x = 0, y = 0;
  if (document_.PositionToXY(found, x, y)) ScrollIntoView(y);
  window_.Invalidate(Panel());
  return true;
}

void TPagePreview::ScrollIntoView(int y) {
  if (y + marginHeight < vScroll_ || y + marginHeight > vScroll_ + Panel().Height() - 20)
    SetVScroll(y + marginHeight - Panel().Height() / 2);
}

}  // namespace preview
