// Word wrap: a view shows a line longer than its window on several rows. Rows are a mapping of the view,
// like tabs and UTF-8 cells: the document stays lines of bytes. Nothing is wrapped ahead of time; the
// rows of a line are worked out when a screen needs them, so a change of width costs one screen.
#include <algorithm>
#include <climits>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"
#include "editor/WrapPoints.h"

namespace editor {

void TqeCustomEdit::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  topPart_ = 0;
  if (on) {
    leftChar_ = 1;
    // The caret may not stand past its line's end, which would be past the window's edge.
    if (caret_.column > LineLength(caret_.line) + 1) SetCaretColumn(LineLength(caret_.line) + 1);
  }
  InvalidateAll();
  UpdateScrollBars();
  EnsureCaretVisible();
  UpdateCaret();
}

// One cell of the window is kept free for the caret and the blanks that hang at a row's end.
int TqeCustomEdit::WrapWidth() const { return wordWrap_ ? std::max(1, visibleColumns_ - 1) : 0; }

const std::vector<int>& TqeCustomEdit::WrapPointsOf(int line) const {
  static const std::vector<int> kNone;
  if (!wordWrap_ || line < 1 || line > LineCount()) return kNone;
  if (wrapCache_.line != line || wrapCache_.width != WrapWidth())
    wrapCache_ = {line, WrapWidth(), WrapPoints(lines_.Get(line - 1), WrapWidth(), DisplayTabWidth, Encoding())};
  return wrapCache_.points;
}

int TqeCustomEdit::RowsOf(int line) const { return static_cast<int>(WrapPointsOf(line).size()) + 1; }

long long TqeCustomEdit::ShownRowCount() const {
  long long rows = 0;
  for (int line = 1; line <= LineCount(); line = FollowingLine(line)) rows += RowsOf(line);
  return rows;
}

ShownRow TqeCustomEdit::RowAfter(ShownRow row, int rows) const {
  if (!wordWrap_) return {ShownLineAfter(row.line, rows), 0};
  int line = row.line, part = row.part + rows;
  while (part < 0 && line >= 1) {
    line = PrecedingLine(line);
    part += RowsOf(line);
  }
  for (int count = RowsOf(line); part >= count && line <= LineCount(); count = RowsOf(line)) {
    part -= count;
    line = FollowingLine(line);
  }
  if (line < 1 || line > LineCount()) return {line + part, 0};
  return {line, part};
}

ShownRow TqeCustomEdit::RowAt(int y) const { return RowAfter(TopRow(), FloorDiv(y, RowHeight())); }

int TqeCustomEdit::RowOf(ShownRow row) const {
  if (!wordWrap_) return RowOfLine(row.line);
  // Counted a line at a time from the top; once past a screen the count only has to say so.
  const int bound = visibleRows_ + 2;
  int rows = -topPart_;
  int line = topLine_;
  if (row.line >= topLine_) {
    for (; line < row.line && rows <= bound; line = FollowingLine(line)) rows += RowsOf(line);
  } else {
    while (line > row.line && rows >= -bound) {
      line = PrecedingLine(line);
      rows -= RowsOf(line);
    }
  }
  return rows + row.part;
}

ShownRow TqeCustomEdit::RowOfPoint(TextPoint p) const {
  if (!wordWrap_) return {p.line, 0};
  const std::vector<int>& points = WrapPointsOf(p.line);
  const int shown = ShownColumn(p.line, p.column);
  return {p.line, static_cast<int>(std::upper_bound(points.begin(), points.end(), shown) - points.begin())};
}

int TqeCustomEdit::RowStart(ShownRow row) const {
  if (!wordWrap_ || row.part <= 0) return 1;
  const std::vector<int>& points = WrapPointsOf(row.line);
  return points.empty() ? 1 : points[std::min<std::size_t>(row.part, points.size()) - 1];
}

TextPoint TqeCustomEdit::PointInRow(ShownRow row, int offset) const {
  if (row.line < 1) return {1, 1};
  if (row.line > LineCount()) row = {LineCount(), INT_MAX};
  const std::vector<int>& points = WrapPointsOf(row.line);
  const int part = std::clamp(row.part, 0, static_cast<int>(points.size()));
  const int start = part == 0 ? 1 : points[part - 1];
  int column = ByteColumn(row.line, start + std::max(0, offset));
  if (part < static_cast<int>(points.size())) {
    // The next row's first column is shown there: the row's last place is before its last character.
    if (ShownColumn(row.line, column) >= points[part])
      column = PreviousCharacterColumn(lines_.Get(row.line - 1), ByteColumn(row.line, points[part]), Encoding());
  } else if (!PastLineEnd()) {
    column = std::min(column, LineLength(row.line) + 1);
  }
  return {column, row.line};
}

std::optional<TextPoint> TqeCustomEdit::WrappedMoveTarget(TqeEditorCommand move) {
  const ShownRow from = RowOfPoint(caret_);
  const int offset = OffsetInRow(caret_);
  const int page = halfpageScroll_ ? visibleRows_ / 2 : visibleRows_;
  const bool byLines = selectionMode_ == smColumn;
  switch (move) {
    case ecUp:
      return byLines ? std::nullopt : std::optional(PointInRow(RowAfter(from, -1), offset));
    case ecDown:
      return byLines ? std::nullopt : std::optional(PointInRow(RowAfter(from, 1), offset));
    case ecPageUp:
      if (byLines) return std::nullopt;
      SetTopRow(RowAfter(TopRow(), -page));
      return PointInRow(RowAfter(from, -page), offset);
    case ecPageDown:
      if (byLines) return std::nullopt;
      SetTopRow(RowAfter(TopRow(), page));
      return PointInRow(RowAfter(from, page), offset);
    case ecPageTop:
      return byLines ? std::nullopt : std::optional(PointInRow(TopRow(), offset));
    case ecPageBottom:
      return byLines ? std::nullopt : std::optional(PointInRow(RowAfter(TopRow(), visibleRows_ - 1), offset));
    case ecLineStart:
    case ecLineEnd: {
      // To the end of the shown row, and from there on to the end of the line.
      const TextPoint end = PointInRow(from, move == ecLineStart ? 0 : INT_MAX / 2);
      if (end == caret_) return TextPoint{move == ecLineStart ? 1 : LineLength(caret_.line) + 1, caret_.line};
      return end;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace editor
