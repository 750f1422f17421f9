// Selection corners, reading the selected text and replacing it: the primitive every edit goes through.
#include <algorithm>
#include <climits>
#include <vector>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {

TextPoint TqeCustomEdit::ClampCorner(TextPoint p) const {
  p.line = std::clamp(p.line, 1, LineCount());
  p.column = std::clamp(p.column, 1, std::max(columnLimit_, LineLength(p.line) + 1));
  if (selectionMode_ == smNormal) p.column = std::min(p.column, LineLength(p.line) + 1);
  p.column = SnapColumn(p.line, p.column);
  return p;
}

std::pair<TextPoint, TextPoint> TqeCustomEdit::NormalizedSelection() const {
  if (IsBefore(selEnd_, selStart_)) return {selEnd_, selStart_};
  return {selStart_, selEnd_};
}

TextPoint TqeCustomEdit::SelectionInsertPoint() const {
  if (!HasSelection()) return caret_;
  auto [first, last] = NormalizedSelection();
  if (selectionMode_ == smLine) first.column = 1;
  // Deleting a column block leaves the caret at its left column on the line of SelectionEnd, and that is
  // where the new text goes; recording the first corner instead made undo remove the wrong text.
  if (selectionMode_ == smColumn) first = {std::min(first.column, last.column), selEnd_.line};
  return first;
}

void TqeCustomEdit::SetSelectionStart(TextPoint point) {
  point = ClampCorner(point);
  auto [first, last] = NormalizedSelection();
  if (HasSelection()) InvalidateLines(first.line, last.line, Area::Text);
  selStart_ = selEnd_ = point;
}

void TqeCustomEdit::SetSelectionEnd(TextPoint point) {
  point = ClampCorner(point);
  if (selectionMode_ == smColumn && point.column != selEnd_.column) {
    const int top = std::min({selStart_.line, selEnd_.line, point.line});
    const int bottom = std::max({selStart_.line, selEnd_.line, point.line});
    InvalidateLines(top, bottom, Area::Text);
  } else {
    InvalidateLines(std::min(selEnd_.line, point.line), std::max(selEnd_.line, point.line), Area::Text);
  }
  selEnd_ = point;
  WidenColumnBlock();
}

int TqeCustomEdit::CommonCharacterStart(int firstLine, int lastLine, int column) const {
  lastLine = std::min(lastLine, LineCount());
  // Each pass can only move the column left, so the passes end; most need one.
  for (bool moved = true; moved;) {
    moved = false;
    for (int l = firstLine; l <= lastLine; ++l)
      if (const int start = SnapColumn(l, column); start != column) column = start, moved = true;
  }
  return column;
}

void TqeCustomEdit::WidenColumnBlock() {
  if (selectionMode_ != smColumn || !Utf8() || document_.Replaying() || !HasSelection()) return;
  const auto [first, last] = NormalizedSelection();
  const int left = CommonCharacterStart(first.line, last.line, std::min(first.column, last.column));
  int right = std::max(first.column, last.column);
  // Each pass can only move right further right, so the passes end; most blocks need one.
  for (bool moved = true; moved;) {
    moved = false;
    for (int l = first.line; l <= last.line; ++l) {
      const std::string_view text = lines_.Get(l - 1);
      if (CharacterStart(text, right, Encoding()) != right)
        right = NextCharacterColumn(text, right, Encoding()), moved = true;
    }
  }
  TextPoint& leftCorner = selStart_.column <= selEnd_.column ? selStart_ : selEnd_;
  TextPoint& rightCorner = &leftCorner == &selStart_ ? selEnd_ : selStart_;
  if (leftCorner.column == left && rightCorner.column == right) return;
  leftCorner.column = left;
  rightCorner.column = right;
  InvalidateLines(first.line, last.line, Area::Text);
}

void TqeCustomEdit::SetSelectionMode(TSelectionMode mode) {
  if (mode == selectionMode_) return;
  selectionMode_ = mode;
  // Corners set in column or line mode may stand past a line's end; normal mode reads them clamped, and its
  // edits must see the same points, or a replaced selection comes back at the wrong column on undo.
  selStart_ = ClampCorner(selStart_);
  selEnd_ = ClampCorner(selEnd_);
  WidenColumnBlock();
  if (HasSelection()) {
    auto [first, last] = NormalizedSelection();
    InvalidateLines(first.line, last.line, Area::Text);
  }
}

std::string TqeCustomEdit::SelectedText() const {
  if (!HasSelection()) return {};
  auto [first, last] = NormalizedSelection();
  std::string out;
  switch (selectionMode_) {
    case smNormal:
      if (first.line == last.line) return std::string(Slice(lines_.Get(first.line - 1), first.column, last.column));
      out = Slice(lines_.Get(first.line - 1), first.column, INT_MAX);
      for (int l = first.line + 1; l < last.line; ++l) {
        out += "\r\n";
        out += lines_.Get(l - 1);
      }
      out += "\r\n";
      out += Slice(lines_.Get(last.line - 1), 1, last.column);
      return out;
    case smColumn: {
      const int left = std::min(first.column, last.column);
      const int right = std::max(first.column, last.column);
      for (int l = first.line; l <= last.line; ++l) {
        if (l > first.line) out += "\r\n";
        std::string piece(Slice(lines_.Get(l - 1), left, right));
        piece.resize(right - left, ' ');
        out += piece;
      }
      return out;
    }
    case smLine:
      for (int l = first.line; l <= last.line; ++l) {
        out += lines_.Get(l - 1);
        if (l < last.line || l < LineCount()) out += "\r\n";
      }
      return out;
  }
  return out;
}

std::string TqeCustomEdit::CurrentLineText() const {
  if (LineCount() == 0) return {};
  return std::string(lines_.Get(caret_.line - 1));
}

void TqeCustomEdit::SetCurrentLineText(std::string_view text) {
  Activate();
  lines_.Put(caret_.line - 1, text);
}

void TqeCustomEdit::SelectWholeText() {
  IncPaintLock();
  const TextPoint end{LineLength(LineCount()) + 1, LineCount()};
  SetSelectionStart({1, 1});
  SetSelectionEnd(end);
  SetCaretXY(end);
  DecPaintLock();
}

void TqeCustomEdit::DeleteSelectionRaw(TextPoint& pos) {
  auto [first, last] = NormalizedSelection();
  switch (selectionMode_) {
    case smNormal: {
      std::string joined(Slice(lines_.Get(first.line - 1), 1, first.column));
      joined += Slice(lines_.Get(last.line - 1), last.column, INT_MAX);
      lines_.Put(first.line - 1, RightTrim(joined));
      for (int l = first.line + 1; l <= last.line; ++l) lines_.Delete(first.line);
      pos = first;
      const int removed = last.line - first.line;
      marks_.MoveLinesTo(first.line + 1, last.line - 1, first.line);
      marks_.ShiftLines(last.line, INT_MAX, -removed);
      break;
    }
    case smColumn: {
      const int left = std::min(first.column, last.column);
      const int right = std::max(first.column, last.column);
      for (int l = first.line; l <= last.line; ++l) {
        std::string text(lines_.Get(l - 1));
        if (left - 1 < static_cast<int>(text.size())) text.erase(left - 1, right - left);
        lines_.Put(l - 1, RightTrim(text));
      }
      pos = {left, selEnd_.line};
      break;
    }
    case smLine: {
      const int removed = last.line - first.line + 1;
      const bool reachesEnd = last.line >= LineCount();
      for (int l = first.line; l < last.line; ++l) lines_.Delete(first.line - 1);
      if (reachesEnd)
        lines_.Put(first.line - 1, {});
      else
        lines_.Delete(first.line - 1);
      pos = {1, first.line};
      marks_.MoveLinesTo(first.line + 1, last.line - 1, first.line);
      marks_.ShiftLines(last.line, INT_MAX, -removed);
      break;
    }
  }
}

void TqeCustomEdit::InsertRaw(TSelectionMode mode, std::string_view text, TextPoint& pos) {
  const std::vector<std::string_view> segments = SplitAtLineEnds(text);
  const int startLine = pos.line;
  const int countBefore = LineCount();
  switch (mode) {
    case smNormal: {
      std::string line(lines_.Get(pos.line - 1));
      if (static_cast<int>(line.size()) < pos.column - 1) line.resize(pos.column - 1, ' ');
      const std::string tail = line.substr(pos.column - 1);
      line.resize(pos.column - 1);
      if (segments.size() == 1) {
        lines_.Put(pos.line - 1, line + std::string(segments[0]) + tail);
        pos.column += static_cast<int>(segments[0].size());
        break;
      }
      lines_.Put(pos.line - 1, line + std::string(segments[0]));
      for (size_t i = 1; i + 1 < segments.size(); ++i) lines_.Insert(pos.line - 1 + static_cast<int>(i), segments[i]);
      const int lastLine = pos.line + static_cast<int>(segments.size()) - 1;
      lines_.Insert(lastLine - 1, std::string(segments.back()) + tail);
      pos = {static_cast<int>(segments.back().size()) + 1, lastLine};
      break;
    }
    case smColumn: {
      // Lines are right-trimmed as every other edit leaves them: a block's padding must not stay at line
      // ends, where a later join would carry it into the middle of a line.
      // In UTF-8 the block goes in at one column that starts a character on each of its lines (undo takes it
      // out again by columns).
      pos.column = CommonCharacterStart(pos.line, pos.line + static_cast<int>(segments.size()) - 1, pos.column);
      for (size_t i = 0; i < segments.size(); ++i) {
        const int l = pos.line + static_cast<int>(i);
        if (l <= LineCount()) {
          std::string line(lines_.Get(l - 1));
          if (static_cast<int>(line.size()) < pos.column - 1) line.resize(pos.column - 1, ' ');
          line.insert(pos.column - 1, segments[i]);
          lines_.Put(l - 1, RightTrim(line));
        } else {
          lines_.Add(RightTrim(std::string(pos.column - 1, ' ') + std::string(segments[i])));
        }
      }
      pos.column += static_cast<int>(segments.back().size());
      pos.line += static_cast<int>(segments.size()) - 1;
      break;
    }
    case smLine: {
      pos.column = 1;
      for (size_t i = 0; i + 1 < segments.size(); ++i) {
        lines_.Insert(pos.line - 1, segments[i]);
        ++pos.line;
      }
      const std::string_view final = segments.back();
      if (!final.empty()) {
        if (pos.line <= LineCount())
          lines_.Put(pos.line - 1, std::string(final) + std::string(lines_.Get(pos.line - 1)));
        else
          lines_.Add(final);
        pos.column = static_cast<int>(final.size()) + 1;
      }
      break;
    }
  }
  const int added = LineCount() - countBefore;
  if (added > 0) marks_.ShiftLines(startLine, INT_MAX, added);
}

TextPoint TqeCustomEdit::ReplaceSelectionRaw(TSelectionMode mode, std::string_view text) {
  Activate();
  IncPaintLock();
  lines_.BeginUpdate();
  TextPoint pos = caret_;
  if (HasSelection()) DeleteSelectionRaw(pos);
  if (!text.empty()) InsertRaw(mode, text, pos);
  if (LineCount() == 0) lines_.Add({});
  pos.line = std::max(pos.line, 1);
  SetCaretXY(pos);
  EnsureCaretVisible();
  lines_.EndUpdate();
  DecPaintLock();
  return pos;
}

TextPoint TqeCustomEdit::ReplaceSelectionRecorded(std::string_view text, TUndoKind selectionKind) {
  if (HasSelection()) undoList_.AddRecord(selectionKind, selStart_, selectionMode_, SelectedText(), selEnd_);
  const TextPoint from = SelectionInsertPoint();
  const TextPoint end = ReplaceSelectionRaw(smNormal, text);
  undoList_.AddRecord(UndoInsert, from, smNormal, {}, end);
  return end;
}

TextPoint TqeCustomEdit::SetSelectedText(std::string_view text) {
  Activate();
  IncPaintLock();
  const TextPoint end = ReplaceSelectionRecorded(text, UndoDelete);
  DecPaintLock();
  return end;
}

TextPoint TqeCustomEdit::InsertTextAt(TextPoint pos, std::string_view text) {
  Activate();
  pos.line = std::clamp(pos.line, 1, LineCount());
  pos.column = std::clamp(pos.column, 1, static_cast<int>(lines_.Get(pos.line - 1).size()) + 1);
  IncPaintLock();
  TextPoint end = pos;
  InsertRaw(smNormal, text, end);
  undoList_.AddRecord(UndoInsert, pos, smNormal, {}, end);
  DecPaintLock();
  return end;
}

}  // namespace editor
