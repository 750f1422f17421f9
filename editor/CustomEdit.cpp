// The editor control's state: creation, metrics, caret and view rules, the line store's notifications,
// painting locks and invalidation.
#include "editor/CustomEdit.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "editor/TextUtil.h"

namespace editor {
namespace {

// The control's size before it has a window.
constexpr int kInitialClientHeight = 150;

}  // namespace

TqeCustomEdit::TqeCustomEdit(platform::FontEngine& fonts, platform::Clipboard& clipboard)
    : TqeCustomEdit(fonts, clipboard, std::make_unique<TqeDocument>(), nullptr) {}

TqeCustomEdit::TqeCustomEdit(platform::FontEngine& fonts, platform::Clipboard& clipboard, TqeDocument& document)
    : TqeCustomEdit(fonts, clipboard, nullptr, &document) {}

TqeCustomEdit::TqeCustomEdit(platform::FontEngine& fonts, platform::Clipboard& clipboard,
                             std::unique_ptr<TqeDocument> own, TqeDocument* shared)
    : fonts_(fonts),
      clipboard_(clipboard),
      ownDocument_(std::move(own)),
      document_(shared ? *shared : *ownDocument_),
      lines_(document_.Lines()),
      undoList_(document_.UndoList()),
      redoList_(document_.RedoList()),
      marks_(document_.Marks()),
      textDrawer_(fonts) {
  gutter_.OnChange = [this] { GutterChanged(); };
  SetFont(platform::FontDesc{});
  keystrokes_.SetDefaultBindings();
  document_.Attach(this);
}

TqeCustomEdit::~TqeCustomEdit() {
  if (eventLoop_ && regionsTimer_.id) eventLoop_->StopTimer(regionsTimer_);
  document_.Detach(this);
}

void TqeCustomEdit::SetWindow(platform::ControlWindow* window) {
  window_ = window;
  RecomputeMetrics();
  if (window_) {
    UpdateScrollBars();
    InvalidateAll();
    UpdateCaret();
  }
}

void TqeCustomEdit::Resized() {
  RecomputeMetrics();
  // Rows come and go with the width; the top line keeps its place.
  if (wordWrap_) topPart_ = std::min(topPart_, RowsOf(topLine_) - 1);
  UpdateScrollBars();
  InvalidateAll();
  if (wordWrap_) UpdateCaret();
}

void TqeCustomEdit::RecomputeMetrics() {
  cellWidth_ = std::max(1, textDrawer_.CellWidth());
  cellHeight_ = std::max(1, textDrawer_.CellHeight());
  if (window_) {
    platform::Size client = window_->ClientSize();
    visibleColumns_ = std::max(0, (client.width - gutterPixels_ - 2) / cellWidth_);
    visibleRows_ = std::max(0, client.height / RowHeight());
  } else {
    visibleColumns_ = 10;
    visibleRows_ = kInitialClientHeight / RowHeight();
  }
}

// ---- Properties ----

void TqeCustomEdit::SetFont(const platform::FontDesc& desc) {
  fontDesc_ = desc;
  if (!fonts_.Metrics(fonts_.CreateFont(desc)).IsFixedPitch()) fontDesc_.family = "Courier New";
  textDrawer_.SetBaseFont(fontDesc_);
  RecomputeMetrics();
  if (gutter_.ShowLineNumbers()) GutterChanged();
  UpdateScrollBars();
  InvalidateAll();
  UpdateCaret();
}

void TqeCustomEdit::SetFontColor(platform::Color color) {
  fontColor_ = color;
  InvalidateAll();
}

void TqeCustomEdit::SetColor(platform::Color color) {
  color_ = color;
  InvalidateAll();
}

void TqeCustomEdit::SetExtraLineSpacing(int pixels) {
  extraLineSpacing_ = pixels;
  RecomputeMetrics();
  UpdateScrollBars();
  InvalidateAll();
}

void TqeCustomEdit::SetTabIndent(int spaces) {
  if (spaces >= 0 && spaces <= 16) tabIndent_ = spaces;
}

void TqeCustomEdit::SetRightEdge(int column) {
  rightEdge_ = column;
  InvalidateAll();
}

void TqeCustomEdit::SetRightEdgeColor(platform::Color color) {
  rightEdgeColor_ = color;
  InvalidateAll();
}

void TqeCustomEdit::SetHighlightCaretLine(bool on) {
  highlightCaretLine_ = on;
  shownCaretLine_ = caret_.line;
  InvalidateAll();
}

void TqeCustomEdit::SetCaretLineColor(platform::Color color) {
  caretLineColor_ = color;
  InvalidateAll();
}

void TqeCustomEdit::SetShowBlanks(bool on) {
  showBlanks_ = on;
  InvalidateAll();
}

void TqeCustomEdit::SetInsertCaret(TCaretType type) {
  insertCaret_ = type;
  UpdateCaret();
}

void TqeCustomEdit::SetOverwriteCaret(TCaretType type) {
  overwriteCaret_ = type;
  UpdateCaret();
}

void TqeCustomEdit::SetInsertMode(bool on) {
  insertMode_ = on;
  UpdateCaret();
}

void TqeCustomEdit::SetBookmarkImages(const MarkImages* images) {
  bookmarkImages_ = images;
  InvalidateGutterLines(topLine_, topLine_ + visibleRows_);
}

void TqeCustomEdit::SetHideSelection(bool on) {
  hideSelection_ = on;
  InvalidateAll();
}

void TqeCustomEdit::SetFocused(bool focused) {
  if (focused) Activate();
  focused_ = focused;
  if (hideSelection_ && HasSelection()) InvalidateAll();
}

int TqeCustomEdit::ShownColumn(int line, int byteColumn) const {
  if (line < 1 || line > LineCount()) return byteColumn;
  const std::string_view text = lines_.Get(line - 1);
  if (static_cast<int>(text.size()) >= kLongLine)
    return columns_.ShownColumn(line, text, byteColumn, DisplayTabWidth, Encoding());
  return editor::ShownColumn(text, byteColumn, DisplayTabWidth, Encoding());
}

int TqeCustomEdit::ByteColumn(int line, int shownColumn) const {
  if (line < 1 || line > LineCount()) return shownColumn;
  const std::string_view text = lines_.Get(line - 1);
  if (static_cast<int>(text.size()) >= kLongLine)
    return columns_.ByteColumn(line, text, shownColumn, DisplayTabWidth, Encoding());
  return editor::ByteColumn(text, shownColumn, DisplayTabWidth, Encoding());
}

int TqeCustomEdit::CaretCharacterColumn() const {
  if (!Utf8()) return caret_.column;
  const std::string_view line = lines_.Get(caret_.line - 1);
  if (static_cast<int>(line.size()) >= kLongLine)
    return columns_.CharacterColumn(caret_.line, line, caret_.column, DisplayTabWidth, Encoding());
  const int inside = std::min(caret_.column - 1, static_cast<int>(line.size()));
  int characters = 0;
  platform::ForEachCharacter(line.substr(0, inside), Encoding(), [&](std::size_t, int, char32_t) { ++characters; });
  return characters + 1 + (caret_.column - 1 - inside);
}

int TqeCustomEdit::SnapColumn(int line, int column) const {
  // Undo and redo put text back at the very columns it came from.
  if (!Utf8() || document_.Replaying() || line < 1 || line > LineCount()) return column;
  return CharacterStart(lines_.Get(line - 1), column, Encoding());
}

void TqeCustomEdit::SnapToCharacters() {
  caret_.column = SnapColumn(caret_.line, caret_.column);
  selStart_ = ClampCorner(selStart_);
  selEnd_ = ClampCorner(selEnd_);
  WidenColumnBlock();
  UpdateCaret();
}

void TqeCustomEdit::EncodingChanged() {
  ForgetWrapPoints();
  // A caret or corner that stood between two bytes of one character now stands before it.
  SnapToCharacters();
  InvalidateAll();
  if (OnSelectionChange) OnSelectionChange();
}

int TqeCustomEdit::ShownDigits() const {
  const int last = gutter_.ZeroStart() ? LineCount() - 1 : LineCount();
  return std::max(gutter_.DigitCount(), static_cast<int>(std::to_string(last).size()));
}

void TqeCustomEdit::GutterChanged() {
  shownDigits_ = ShownDigits();
  const int pixels =
      (gutter_.ShowLineNumbers() ? gutter_.LeftOffset() + gutter_.RightOffset() + cellWidth_ * shownDigits_ + 2
                                 : gutter_.Width()) +
      FoldMarkPixels();
  if (pixels == gutterPixels_) {
    InvalidateGutterLines(topLine_, topLine_ + visibleRows_);
    return;
  }
  gutterPixels_ = pixels;
  RecomputeMetrics();
  UpdateScrollBars();
  InvalidateAll();
}

// ---- Caret and view ----

void TqeCustomEdit::SetCaretColumn(int column) { PlaceCaretColumn(column, 0); }

void TqeCustomEdit::PlaceCaretColumn(int column, int reach) {
  column = std::max(column, 1);
  if (PastLineEnd() || reach > 0) {
    // The limit bounds positions past the text, never inside a line longer than it, nor short of text just
    // typed (whose blanks at the line's end are not kept).
    column =
        std::max(1, std::min(column, std::max({columnLimit_ - visibleColumns_, LineLength(caret_.line) + 1, reach})));
  } else {
    column = std::min(column, LineLength(caret_.line) + 1);
  }
  column = SnapColumn(caret_.line, column);
  if (!PastLineEnd() && reach == 0) {
    const int shown = ViewColumn({column, caret_.line});
    if (shown >= leftChar_ + visibleColumns_)
      SetLeftChar(shown - visibleColumns_ + 1);
    else if (shown < leftChar_)
      SetLeftChar(shown);
  }
  if (column != caret_.column) {
    caret_.column = column;
    EnsureCaretVisible();
    UpdateCaret();
  }
  if (OnSelectionChange) OnSelectionChange();
}

void TqeCustomEdit::SetCaretLine(int line) {
  line = std::clamp(line, 1, LineCount());
  if (line != caret_.line) {
    caret_.line = line;
    caret_.column = SnapColumn(line, caret_.column);
    const int end = LineLength(line) + 1;
    if (!PastLineEnd() && caret_.column > end) {
      SetCaretColumn(end);
      if (caret_.column < leftChar_) SetLeftChar(caret_.column);
      return;
    }
    EnsureCaretVisible();
    UpdateCaret();
  }
  if (OnSelectionChange) OnSelectionChange();
}

void TqeCustomEdit::SetCaretXY(TextPoint point) {
  IncPaintLock();
  SetCaretLine(point.line);
  SetCaretColumn(point.column);
  DecPaintLock();
}

void TqeCustomEdit::EnsureCaretVisible() {
  const int column = ViewColumn(caret_);
  if (column < leftChar_)
    SetLeftChar(column);
  else if (column > leftChar_ + visibleColumns_)
    SetLeftChar(column - visibleColumns_ + 1);
  // A caret that lands inside a fold (a search match, a bookmark, a jump) opens it.
  if (LineHidden(caret_.line)) Unfold(caret_.line);
  // Rows are lines while nothing wraps.
  const ShownRow row = RowOfPoint(caret_);
  const int at = RowOf(row);
  if (at < 0)
    SetTopRow(row);
  else if (at > visibleRows_ - 1)
    SetTopRow(RowAfter(row, -(visibleRows_ - 1)));
}

void TqeCustomEdit::SetLeftChar(int column) {
  column = wordWrap_ ? 1 : std::clamp(column, 1, std::max(1, columnLimit_ - visibleColumns_));
  if (column == leftChar_) return;
  leftChar_ = column;
  InvalidateLines(topLine_, topLine_ + visibleRows_, Area::Text);
  UpdateScrollBars();
  UpdateCaret();
}

void TqeCustomEdit::SetTopLine(int line) { SetTopRow({line, 0}); }

void TqeCustomEdit::SetTopRow(ShownRow row) {
  const int line = std::clamp(row.line, 1, LineCount());
  row = {LineHidden(line) ? PrecedingLine(line + 1) : line, row.part};
  row.part = std::clamp(row.part, 0, RowsOf(row.line) - 1);
  if (row.line == topLine_ && row.part == topPart_) return;
  const int delta = -RowOf(row);
  topLine_ = row.line;
  topPart_ = row.part;
  // Scrolling the window while an edit is collecting invalid areas would move them; repaint instead.
  if (window_ && paintLock_ == 0 && !collecting_ && std::abs(delta) < visibleRows_)
    window_->ScrollContents(0, delta * RowHeight());
  else
    InvalidateAll();
  UpdateScrollBars();
  UpdateCaret();
}

void TqeCustomEdit::UpdateCaret() {
  if (!window_) return;
  if (paintLock_ > 0) {
    pendingCaret_ = true;
    return;
  }
  if (highlightCaretLine_ && caret_.line != shownCaretLine_) {
    InvalidateLines(shownCaretLine_, shownCaretLine_, Area::Text);
    InvalidateLines(caret_.line, caret_.line, Area::Text);
    shownCaretLine_ = caret_.line;
  }
  const int rowHeight = RowHeight();
  int width = cellWidth_, height = rowHeight - 2, dx = 0, dy = 0;
  switch (insertMode_ ? insertCaret_ : overwriteCaret_) {
    case ctVerticalLine:
      width = 2, dx = -1;
      break;
    case ctHorizontalLine:
      height = 2, dy = rowHeight - 2;
      break;
    case ctHalfBlock:
      height = (rowHeight - 2) / 2, dy = height;
      break;
    case ctBlock:
      break;
  }
  const ShownRow row = RowOfPoint(caret_);
  const int x = (ShownColumn(caret_.line, caret_.column) - RowStart(row)) * cellWidth_ + TextLeft() + dx;
  const int y = RowOf(row) * rowHeight + 1 + dy;
  const platform::Size client = window_->ClientSize();
  const bool visible = x >= gutterPixels_ && x < client.width && y >= 0 && y < client.height;
  window_->SetCaret(visible ? platform::Rect{x, y, x + width, y + height} : platform::Rect{});
  RefreshMatchFrames();
}

void TqeCustomEdit::UpdateScrollBars() {
  if (!window_) return;
  if (paintLock_ > 0) {
    pendingScrollBars_ = true;
    return;
  }
  const long long range = VerticalScrollRange();
  platform::ScrollBarState vertical{1, static_cast<int>(range), visibleRows_, topLine_};
  if (range > 32767) {
    vertical = {0, 32767, static_cast<int>(visibleRows_ * 32767LL / range),
                static_cast<int>(topLine_ * 32767LL / range)};
  }
  window_->SetScrollBar(platform::ScrollBarKind::Vertical, vertical);
  // Wrapped lines never reach past the window: the horizontal bar goes.
  window_->SetScrollBar(platform::ScrollBarKind::Horizontal,
                        {1, columnLimit_ - visibleColumns_, visibleColumns_, leftChar_, !wordWrap_});
}

void TqeCustomEdit::ScrollBarMoved(platform::ScrollBarKind kind, int position) {
  if (kind == platform::ScrollBarKind::Horizontal) {
    SetLeftChar(position);
    return;
  }
  const long long range = VerticalScrollRange();
  SetTopLine(range > 32767 ? static_cast<int>(position * range / 32767) : position);
}

// ---- Painting locks and invalidation ----

void TqeCustomEdit::IncPaintLock() { ++paintLock_; }

void TqeCustomEdit::DecPaintLock() {
  if (--paintLock_ > 0) return;
  // Every edit runs under the lock, so its release comes once the edit has made its records: an edit can
  // join invalid bytes into one character around the caret, which then moves to the character's start.
  // Undo and redo do this once their replay is over.
  if (Utf8() && !document_.Replaying()) SnapToCharacters();
  if (!window_) return;
  if (pendingScrollBars_) {
    pendingScrollBars_ = false;
    UpdateScrollBars();
  }
  if (pendingRepaint_) {
    pendingRepaint_ = false;
    InvalidateAll();
  }
  if (pendingCaret_) {
    pendingCaret_ = false;
    UpdateCaret();
  }
}

void TqeCustomEdit::Invalidate(const platform::Rect& rect) {
  if (!window_ || rect.IsEmpty()) return;
  if (collecting_)
    collected_ = collected_.United(rect);
  else
    window_->Invalidate(rect);
}

void TqeCustomEdit::InvalidateAll() {
  if (!window_) return;
  if (paintLock_ > 0) {
    pendingRepaint_ = true;
    return;
  }
  platform::Size client = window_->ClientSize();
  Invalidate({0, 0, client.width, client.height});
}

void TqeCustomEdit::InvalidateLines(int first, int last, Area area) {
  if (!window_ || last < first) return;
  platform::Size client = window_->ClientSize();
  const int top = std::max(0, RowOfLine(first) * RowHeight());
  const long long bottom =
      std::min<long long>(client.height, (static_cast<long long>(RowOf({last, RowsOf(last) - 1})) + 1) * RowHeight());
  if (bottom <= top) return;
  const int left = area == Area::Text ? gutterPixels_ : 0;
  const int right = area == Area::Gutter ? gutterPixels_ : client.width;
  Invalidate({left, top, right, static_cast<int>(bottom)});
}

// ---- The document's notifications ----

void TqeCustomEdit::LinesChanging() { collecting_ = true; }

void TqeCustomEdit::LinesChanged() {
  collecting_ = false;
  if (OnLinesChanged) OnLinesChanged();
  if (LineCount() == 0) return;  // a load is in progress; its loaded answer adds the empty line
  if (gutter_.ShowLineNumbers() && ShownDigits() != shownDigits_) GutterChanged();
  // A caret left below the last line by a removal is brought back, so no edit starts outside the text.
  if (caret_.line > LineCount()) SetCaretLine(LineCount());
  if (!Active()) {
    selStart_ = ClampCorner(selStart_);
    selEnd_ = ClampCorner(selEnd_);
    if (topLine_ > LineCount()) SetTopLine(LineCount());
  }
  // The top line may have lost the row shown at the top.
  if (wordWrap_ && topPart_ >= RowsOf(topLine_)) {
    topPart_ = RowsOf(topLine_) - 1;
    InvalidateAll();
  }
  if (!window_) return;
  UpdateScrollBars();
  if (Active()) SetSelectionStart(caret_);
  if (!collected_.IsEmpty()) window_->Invalidate(collected_);
  collected_ = {};
}

void TqeCustomEdit::FollowLines(int fromLine, int delta) {
  if (Active()) return;
  auto follow = [&](int& line) {
    if (line >= fromLine) line += delta;
  };
  follow(caret_.line);
  follow(selStart_.line);
  follow(selEnd_.line);
  const int top = topLine_;
  follow(topLine_);
  // Every row shows another line number now.
  if (topLine_ != top) InvalidateAll();
  UpdateCaret();
}

void TqeCustomEdit::LineAdded() {
  columns_.Forget();
  const int count = LineCount();
  InvalidateLines(count, count, Area::Both);
}

void TqeCustomEdit::LineDeleted(int index) {
  ForgetWrapPoints();
  columns_.Forget();
  // Lines below the removed one (editor line index + 1) move up; a place on it stays on its line.
  FollowLines(index + 2, -1);
  FoldsFollowLines(index + 1, -1);
  InvalidateLines(index + 1, INT_MAX / 2, Area::Both);
}

void TqeCustomEdit::LineInserted(int index) {
  ForgetWrapPoints();
  columns_.Forget();
  FollowLines(index + 1, 1);
  FoldsFollowLines(index + 1, 1);
  InvalidateLines(index + 1, topLine_ + visibleRows_, Area::Both);
}

void TqeCustomEdit::LinePutted(int index, int from, int lastRescanned) {
  ForgetWrapPoints();
  columns_.ForgetFrom(index + 1, from);
  FoldsFollowLines(index + 1, 0);
  // A wrapped line that gains or loses a row moves the rows below it.
  if (wordWrap_)
    InvalidateLines(index + 1, topLine_ + visibleRows_, Area::Both);
  else
    InvalidateLines(index + 1, lastRescanned + 1, Area::Text);
}

void TqeCustomEdit::TextLoaded() {
  ForgetWrapPoints();
  columns_.Forget();
  folds_.clear();
  SetCaretXY({1, 1});
  SetLeftChar(1);
  SetTopLine(1);
  InvalidateAll();
}

}  // namespace editor
