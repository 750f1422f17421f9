// The mouse: placing the caret, selecting by dragging (with auto-scroll past the edges), Shift-click,
// double-click word selection, the wheel, and dragging selected text to move or copy it.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <tuple>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

// How far the mouse must travel with the button down before a drag of the selection starts.
constexpr int kDragDistance = 4;

enum class CharClass { Word, Symbol, Blank };

// Word selection without a highlighter: letters, digits, '_' and bytes from 128 up form words; punctuation
// selects nothing; runs of blanks and control bytes select as one.
CharClass ClassOf(unsigned char c) {
  if (c >= 128 || c == '_' || (c >= '0' && c <= '9') || ((c | 32) >= 'a' && (c | 32) <= 'z')) return CharClass::Word;
  if (c > ' ' && c < 127) return CharClass::Symbol;
  return CharClass::Blank;
}

}  // namespace

TextPoint TqeCustomEdit::PointAt(int x, int y) const {
  const int dx = x - gutterPixels_ - 2;
  const int offset = leftChar_ - 1 + FloorDiv(2 * dx + cellWidth_, 2 * cellWidth_);
  const ShownRow row = RowAt(y);
  if (wordWrap_) return PointInRow(row, offset);
  const int line = std::clamp(row.line, 1, LineCount());
  return {std::max(1, ByteColumn(line, offset + 1)), line};
}

std::optional<TextSpan> TqeCustomEdit::MisspeltWordAt(int x, int y) {
  if (!OverText(x) || y < 0) return std::nullopt;
  const ShownRow row = RowAt(y);
  const int line = row.line;
  if (line < 1 || line > LineCount()) return std::nullopt;
  // The cell under the point, not the nearest edge: the word is the one the pointer is on.
  const int byte = ByteColumn(line, RowStart(row) + leftChar_ - 1 + FloorDiv(x - gutterPixels_ - 2, cellWidth_)) - 1;
  for (const WordSpan& word : document_.Spelling().Misspelt(line - 1))
    if (byte >= word.from && byte < word.to) return TextSpan{line, word.from + 1, word.to + 1};
  return std::nullopt;
}

const TqeDocument::LineNote* TqeCustomEdit::GutterNoteAt(int x, int y) const {
  if (OverText(x) || y < 0) return nullptr;
  const ShownRow row = RowAt(y);
  return row.part == 0 && row.line >= 1 && row.line <= LineCount() ? document_.NoteOn(row.line) : nullptr;
}

bool TqeCustomEdit::InsideSavedSelection(TextPoint p) const {
  if (!dragHadSelection_) return false;
  // Whole lines, or a rectangle, in the modes that select them: a drop there would land in the text it
  // moves.
  if (selectionMode_ == smLine) return p.line >= dragFirst_.line && p.line <= dragLast_.line;
  if (selectionMode_ == smColumn) {
    return p.line >= dragFirst_.line && p.line <= dragLast_.line &&
           p.column >= std::min(dragFirst_.column, dragLast_.column) &&
           p.column < std::max(dragFirst_.column, dragLast_.column);
  }
  auto value = [this](TextPoint q) {
    return static_cast<long long>(q.column) + static_cast<long long>(q.line) * visibleColumns_;
  };
  return value(p) >= value(dragFirst_) && value(p) < value(dragLast_);
}

void TqeCustomEdit::MouseDown(MouseButton button, TShiftState shift, int x, int y) {
  Activate();
  if (button != MouseButton::Left) return;
  if (const int line = FoldMarkAt(x, y); line > 0 && ToggleFoldAt(line)) return;
  // A press always starts afresh, even if the last one never saw its release.
  dragPending_ = dragging_ = false;
  dragHadSelection_ = HasSelection();
  if (dragHadSelection_) std::tie(dragFirst_, dragLast_) = NormalizedSelection();
  mouseDown_ = lastMouse_ = {x, y};
  captured_ = true;
  IncPaintLock();
  SetCaretXY(PointAt(x, y));
  if (InsideSavedSelection(caret_)) {
    dragPending_ = true;
  } else if (!doubleClickPending_) {
    if (shift & ssShift)
      SetSelectionEnd(caret_);
    else
      SetSelectionStart(caret_);
  }
  DecPaintLock();
}

void TqeCustomEdit::MouseMove(TShiftState, int x, int y, bool leftButtonDown) {
  lastMouse_ = {x, y};
  if (dragPending_ && captured_ && !readOnly_) {
    if (std::abs(x - mouseDown_.x) > kDragDistance || std::abs(y - mouseDown_.y) > kDragDistance) {
      dragPending_ = false;
      dragging_ = true;
    }
    return;
  }
  if (dragging_) {
    // The caret follows the mouse to show where the text would land.
    SetCaretXY(PointAt(x, y));
    return;
  }
  if (!leftButtonDown || !captured_) return;
  const platform::Size client = window_ ? window_->ClientSize() : platform::Size{0, 0};
  const bool inside = x >= gutterPixels_ + 2 && x < client.width && y >= 0 && y < client.height;
  if (inside) {
    StopAutoScroll();
    IncPaintLock();
    SetCaretXY(PointAt(x, y));
    SetSelectionEnd(caret_);
    DecPaintLock();
  } else {
    UpdateAutoScroll();
  }
}

// Outside the text area the selection keeps growing on a timer: a step every 100 ms, or as fast as the
// loop runs when the mouse is 42 pixels or more outside.
void TqeCustomEdit::UpdateAutoScroll() {
  const platform::Size client = window_ ? window_->ClientSize() : platform::Size{0, 0};
  const int textLeft = gutterPixels_ + 2;
  const int outside = std::max({textLeft - lastMouse_.x, lastMouse_.x - (client.width - 1), -lastMouse_.y,
                                lastMouse_.y - (client.height - 1), 0});
  const int interval = outside >= 42 ? 0 : 100;
  AutoScrollStep();
  if (!eventLoop_ || interval == autoScrollInterval_) return;
  StopAutoScroll();
  autoScrollInterval_ = interval;
  autoScrollTimer_ = eventLoop_->StartTimer(interval, [this] { AutoScrollStep(); });
}

void TqeCustomEdit::StopAutoScroll() {
  if (eventLoop_ && autoScrollTimer_.id) eventLoop_->StopTimer(autoScrollTimer_);
  autoScrollTimer_ = {};
  autoScrollInterval_ = -1;
}

void TqeCustomEdit::AutoScrollStep() {
  const platform::Size client = window_ ? window_->ClientSize() : platform::Size{0, 0};
  const int textLeft = gutterPixels_ + 2;
  const int x = lastMouse_.x, y = lastMouse_.y;
  IncPaintLock();
  const int inside = std::clamp(x, textLeft, std::max(textLeft, client.width - 1));
  TextPoint p = PointAt(inside, std::clamp(y, 0, std::max(0, client.height - 1)));
  // Wrapped rows fit the window: only a view that does not wrap scrolls sideways.
  if (x < textLeft && !wordWrap_) {
    SetLeftChar(leftChar_ - (textLeft - x > 9 ? 8 : 1));
    p.column = leftChar_;
  } else if (x >= client.width && !wordWrap_) {
    SetLeftChar(leftChar_ + (x - client.width + 1 > 9 ? 8 : 1));
    p.column = leftChar_ + visibleColumns_;
  }
  if (y < 0 || y >= client.height) {
    const bool up = y < 0;
    SetTopRow(RowAfter(TopRow(), up ? -(-y > 9 ? visibleRows_ : 1) : (y - client.height + 1 < 10 ? 1 : visibleRows_)));
    const int edge = up ? 0 : visibleRows_ - 1;
    if (wordWrap_)
      p = PointAt(inside, edge * RowHeight());
    else
      p.line = std::min(LineCount(), ShownLineAfter(topLine_, edge));
  }
  SetCaretXY(p);
  SetSelectionEnd(caret_);
  DecPaintLock();
  if (window_) window_->RepaintNow();
}

void TqeCustomEdit::MouseUp(MouseButton button, TShiftState shift, int x, int y) {
  if (button != MouseButton::Left) return;
  captured_ = false;
  StopAutoScroll();
  if (dragging_) {
    dragging_ = false;
    DropAt(PointAt(x, y), shift & ssCtrl);
  } else if (dragPending_ && !doubleClickPending_) {
    IncPaintLock();
    SetCaretXY(PointAt(x, y));
    SetSelectionStart(caret_);
    DecPaintLock();
  }
  dragPending_ = false;
  doubleClickPending_ = false;
}

// A drop inside the editor: the selected text moves (or, with Ctrl, is copied) to target.
void TqeCustomEdit::DropAt(TextPoint target, bool copy) {
  if (readOnly_ || !HasSelection() || InsideSavedSelection(target)) return;
  const std::string text = SelectedText();
  const auto [first, last] = NormalizedSelection();
  IncPaintLock();
  if (!copy) {
    undoList_.AddRecord(UndoDragDelete, selStart_, selectionMode_, text, selEnd_);
    ReplaceSelectionRaw(smNormal, {});
    // The drop point moves with the text after the deleted block.
    if (selectionMode_ == smLine && target.line > last.line) {
      target.line -= last.line - first.line + 1;
    } else if (selectionMode_ == smNormal && !IsBefore(target, last)) {
      if (target.line == last.line)
        target = {first.column + target.column - last.column, first.line};
      else
        target.line -= last.line - first.line;
    } else if (selectionMode_ == smColumn && target.line >= first.line && target.line <= last.line &&
               target.column >= std::max(first.column, last.column)) {
      target.column -= std::abs(last.column - first.column);
    }
  }
  const bool pastEnd = scrollPastEOL_;
  scrollPastEOL_ = true;
  SetCaretXY(target);
  SetSelectionStart(caret_);
  const TextPoint at = caret_;  // the drop point as clamped to the text that is left
  undoList_.Lock();
  const TextPoint end = SetSelectedText(text);
  undoList_.Unlock();
  scrollPastEOL_ = pastEnd;
  undoList_.AddRecord(UndoDragInsert, at, smNormal, {}, end);
  DecPaintLock();
}

void TqeCustomEdit::DoubleClick(int, int) {
  doubleClickPending_ = true;
  const std::string_view line = lines_.Get(caret_.line - 1);
  const int length = static_cast<int>(line.size());
  const int at = caret_.column - 1;
  IncPaintLock();
  int start = at, end = at;
  if (at >= length) {
    start = end = length;
  } else if (HighLighter()) {
    // From one past the last non-word byte before the position to the first non-word byte at or after it.
    while (start > 0 && IsWordByte(line[start - 1])) --start;
    while (end < length && IsWordByte(line[end])) ++end;
  } else if (ClassOf(line[at]) != CharClass::Symbol) {
    const CharClass kind = ClassOf(line[at]);
    while (start > 0 && ClassOf(line[start - 1]) == kind) --start;
    while (end < length && ClassOf(line[end]) == kind) ++end;
  } else {
    DecPaintLock();  // punctuation: nothing selected, the caret stays
    return;
  }
  SetSelectionStart({start + 1, caret_.line});
  SetSelectionEnd({end + 1, caret_.line});
  SetCaretXY({end + 1, caret_.line});
  DecPaintLock();
}

void TqeCustomEdit::MouseWheel(int delta, TShiftState shift) {
  wheelRemainder_ += delta;
  int step = 3;
  if (shift & ssCtrl) step = halfpageScroll_ ? visibleRows_ / 2 : visibleRows_;
  step = std::min(step, std::max(1, visibleRows_));
  const int notches = wheelRemainder_ / 120;
  wheelRemainder_ %= 120;
  if (notches) SetTopRow(RowAfter(TopRow(), -notches * step));
}

}  // namespace editor
