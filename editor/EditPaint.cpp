// Painting: the gutter (line numbers, the 3-D edge, mark glyphs, the page check's dots) and the text area
// (highlighter tokens merged into runs, the selection in up to three pieces per run, special lines, the
// right edge, misspelt words' waves).
#include <algorithm>
#include <climits>
#include <string>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

// The text of a line number: right-aligned in digits characters, zeros instead of the leading blanks.
std::string LineNumberText(int number, int digits, bool leadingZeros) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), leadingZeros ? '0' : ' ');
  return text;
}

constexpr platform::Color kMisspeltColor = platform::Rgb(0xE0, 0, 0);

bool AllSpaces(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// The colours and style one run is drawn with.
struct Look {
  platform::FontStyle style = 0;
  platform::Color foreground = 0;
  platform::Color background = 0;
};

}  // namespace

void TqeCustomEdit::Paint(platform::Canvas& canvas, const platform::Rect& clip) {
  const int rowHeight = RowHeight();
  const int firstLine = RowAt(std::max(0, clip.top)).line;
  const int lastLine = std::min(LineCount(), RowAfter(TopRow(), (clip.bottom + rowHeight - 1) / rowHeight).line);
  textDrawer_.StartDrawing(canvas);
  if (clip.left < gutterPixels_) PaintGutter(canvas, clip, firstLine, lastLine);
  if (clip.right > gutterPixels_) {
    PaintText(canvas, clip, firstLine, lastLine);
    PaintFoldedEnds(canvas, firstLine, lastLine);
    PaintMatchFrames(canvas, firstLine, lastLine);
  }
  textDrawer_.FinishDrawing();
  if (OnPaint) OnPaint(canvas);
}

// A frame one pixel inside the cells of each span: the selection's colour when the pair matched, red when
// the tag or bracket has no partner.
void TqeCustomEdit::PaintMatchFrames(platform::Canvas& canvas, int firstLine, int lastLine) {
  if (!showMatches_) return;
  const TagMatch match = CaretMatch();
  // What is on the screen now, for the next caret move to take away.
  shownMatch_ = match.spans;
  const platform::Color color = match.matched ? fontColor_ : platform::Rgb(0xFF, 0, 0);
  for (const TextSpan& span : match.spans) {
    if (span.line < firstLine || span.line > lastLine || LineHidden(span.line)) continue;
    // Framed on the row the span starts on.
    const ShownRow row = RowOfPoint({span.from, span.line});
    const int rowStart = RowStart(row);
    const int left = (ShownColumn(span.line, span.from) - rowStart) * cellWidth_ + TextLeft();
    const int right = (ShownColumn(span.line, span.to) - rowStart) * cellWidth_ + TextLeft() - 1;
    const int top = RowOf(row) * RowHeight(), bottom = top + RowHeight() - 1;
    if (right < gutterPixels_ + 2) continue;
    const int l = std::max(left, gutterPixels_ + 2);
    canvas.DrawLine({l, top}, {right, top}, color);
    canvas.DrawLine({l, bottom}, {right, bottom}, color);
    canvas.DrawLine({right, top}, {right, bottom}, color);
    if (left == l) canvas.DrawLine({left, top}, {left, bottom}, color);
  }
}

// A dot at the gutter's left end (where short line numbers leave room) for each line a check found
// errors (red) or warnings (orange) on.
void TqeCustomEdit::PaintLineNotes(platform::Canvas& canvas, int firstLine, int lastLine) {
  const int size = std::min(RowHeight() / 2 + 1, gutterPixels_ - 6);
  const int left = 2;
  if (size < 3) return;
  for (int line = firstLine; line <= lastLine; line = FollowingLine(line)) {
    const TqeDocument::LineNote* note = document_.NoteOn(line);
    if (!note) continue;
    const int top = RowOfLine(line) * RowHeight() + (RowHeight() - size) / 2;
    const platform::Color color = note->error ? platform::Rgb(0xE0, 0x20, 0x20) : platform::Rgb(0xF0, 0xA0, 0x00);
    canvas.DrawEllipse({left, top, left + size, top + size}, color, color);
  }
}

// A dot in the middle of each blank's cell, an arrow across each tab's cells.
void TqeCustomEdit::PaintBlanks(platform::Canvas& canvas, int line, int y, int firstColumn, int lastColumn,
                                int rowStart) {
  const std::string_view text = lines_.Get(line - 1);
  const int mid = y + RowHeight() / 2;
  // From a byte before the first column's, so that a tab reaching into it is found (blanks and tabs are
  // single bytes in either encoding).
  const std::size_t start = static_cast<std::size_t>(std::max(0, ByteColumn(line, firstColumn) - 2));
  for (std::size_t i = text.find_first_of(" \t", start); i != std::string_view::npos;
       i = text.find_first_of(" \t", i + 1)) {
    const int column = ShownColumn(line, static_cast<int>(i) + 1);
    if (column > lastColumn) break;
    const int end = ShownColumn(line, static_cast<int>(i) + 2);
    if (end <= firstColumn) continue;
    const int left = TextLeft() + (column - rowStart) * cellWidth_;
    const int right = TextLeft() + (end - rowStart) * cellWidth_;
    if (text[i] == ' ') {
      const int x = (left + right) / 2;
      canvas.FillRect({x - 1, mid - 1, x + 1, mid + 1}, rightEdgeColor_);
    } else {
      canvas.DrawLine({left + 2, mid}, {right - 2, mid}, rightEdgeColor_);
      canvas.DrawLine({right - 5, mid - 3}, {right - 2, mid}, rightEdgeColor_);
      canvas.DrawLine({right - 5, mid + 3}, {right - 2, mid}, rightEdgeColor_);
    }
  }
}

void TqeCustomEdit::PaintGutter(platform::Canvas& canvas, const platform::Rect& clip, int firstLine, int lastLine) {
  const int rowHeight = RowHeight();
  const platform::Rect strip{clip.left, clip.top, std::min(clip.right, gutterPixels_), clip.bottom};
  textDrawer_.SetBackgroundColour(gutter_.Color());
  if (gutter_.ShowLineNumbers()) {
    textDrawer_.SetForegroundColour(fontColor_);
    textDrawer_.ApplyStyle(0);
    int y = RowOfLine(firstLine) * rowHeight;
    for (int line = firstLine; line <= lastLine; line = FollowingLine(line)) {
      const std::string number =
          LineNumberText(gutter_.ZeroStart() ? line - 1 : line, shownDigits_, gutter_.LeadingZeros());
      textDrawer_.DrawText(gutter_.LeftOffset(), y, true, {clip.left, y, gutterPixels_ - 2, y + rowHeight}, number);
      // A wrapped line's number stands on its first row only.
      const int rows = RowsOf(line);
      if (rows > 1) canvas.FillRect({strip.left, y + rowHeight, strip.right, y + rows * rowHeight}, gutter_.Color());
      y += rows * rowHeight;
    }
    if (y < clip.bottom) canvas.FillRect({strip.left, y, strip.right, clip.bottom}, gutter_.Color());
  } else {
    canvas.FillRect(strip, gutter_.Color());
  }
  const int edge = gutterPixels_ - 2;
  if (clip.left <= edge && edge < clip.right) {
    canvas.DrawLine({edge, clip.top}, {edge, clip.bottom}, gutter_.EdgeLight());
    canvas.DrawLine({edge + 1, clip.top}, {edge + 1, clip.bottom}, gutter_.EdgeShadow());
  }

  PaintFoldMarks(canvas, firstLine, lastLine);
  PaintLineNotes(canvas, firstLine, lastLine);
  if (!bookMarkOptions_.GlyphsVisible || marks_.Count() == 0) return;
  std::vector<int> offsets(lastLine - firstLine + 2, 0);
  const platform::FontHandle font = textDrawer_.Font(fontDesc_.style);
  // Plain marks first, then bookmarks, side by side on a shared line.
  for (bool bookmarks : {false, true}) {
    for (int i = 0; i < marks_.Count(); ++i) {
      const TMark& mark = marks_[i];
      if (!mark.visible || mark.IsBookmark() != bookmarks || mark.line < firstLine || mark.line > lastLine ||
          LineHidden(mark.line))
        continue;
      int& offset = offsets[mark.line - firstLine];
      const platform::Point at{bookMarkOptions_.LeftMargin + offset, RowOfLine(mark.line) * rowHeight};
      const MarkImages& images = (!bookmarkImages_ || mark.internalImage) ? internalGlyphs_ : *bookmarkImages_;
      if (mark.imageIndex >= 0 && mark.imageIndex < images.Count())
        images.Draw(canvas, mark.imageIndex, at, rowHeight, font, cellWidth_);
      offset += bookMarkOptions_.Xoffset;
    }
  }
}

void TqeCustomEdit::PaintText(platform::Canvas& canvas, const platform::Rect& clip, int firstLine, int lastLine) {
  const int rowHeight = RowHeight();
  const int textX = gutterPixels_ + 2;
  const int rightEdgeX = rightEdge_ * cellWidth_ + TextLeft();
  // Scrolled right past the edge, the line would land in the gutter: it is not shown then.
  const bool showRightEdge =
      rightEdge_ > 0 && rightEdgeX >= textX && rightEdgeX >= clip.left && rightEdgeX < clip.right;
  auto drawRightEdge = [&](int top, int bottom) {
    if (showRightEdge) canvas.DrawLine({rightEdgeX, top}, {rightEdgeX, bottom}, rightEdgeColor_);
  };
  // The two pixels between the gutter and the text.
  const platform::Rect margin = platform::Rect{gutterPixels_, clip.top, textX, clip.bottom}.Intersected(clip);
  if (!margin.IsEmpty()) canvas.FillRect(margin, color_);

  const bool selectionShown = HasSelection() && !(hideSelection_ && !focused_);
  auto [selFirst, selLast] = NormalizedSelection();

  int y = RowOfLine(firstLine) * rowHeight;
  for (int line = firstLine; line <= lastLine; line = FollowingLine(line)) {
    // Columns below are shown columns (cells, 1-based); the laid-out line maps them to its bytes.
    const LaidOutLine laidOut = LayOutLine(lines_.Get(line - 1), DisplayTabWidth, Encoding());
    const std::string& text = laidOut.text;
    auto cellColumn = [&](int index) { return laidOut.Cell(index) + 1; };
    auto bytesBetween = [&](int from, int to) {
      const int a = laidOut.IndexAtCell(from - 1), b = laidOut.IndexAtCell(to - 1);
      return std::string_view(text).substr(a, b - a);
    };

    // The selected columns [selStart, selEnd) of this line, shown columns; whole: the entire line.
    int selStart = INT_MAX, selEnd = INT_MAX;
    bool whole = false;
    if (selectionShown && line >= selFirst.line && line <= selLast.line) {
      selStart = 1;
      selEnd = INT_MAX;
      if (selectionMode_ == smLine) {
        whole = true;
      } else if (selectionMode_ == smColumn) {
        selStart = ShownColumn(line, std::min(selFirst.column, selLast.column));
        selEnd = ShownColumn(line, std::max(selFirst.column, selLast.column));
      } else {
        if (line == selFirst.line) selStart = ShownColumn(line, selFirst.column);
        if (line == selLast.line) selEnd = ShownColumn(line, selLast.column);
        whole = line != selFirst.line && line != selLast.line;
      }
    }

    // On the caret's line what has the editor's colour takes the caret line's.
    const bool caretRow = highlightCaretLine_ && line == caret_.line;
    auto onRow = [&](platform::Color background) {
      return caretRow && background == color_ ? caretLineColor_ : background;
    };
    Look normal{fontDesc_.style, fontColor_, onRow(color_)};
    bool special = false;
    if (OnSpecialLineColors) {
      platform::Color fg = normal.foreground, bg = normal.background;
      OnSpecialLineColors(line, special, fg, bg);
      if (special) normal.foreground = fg, normal.background = bg;
    }
    const Look selected = special ? Look{0, normal.background, normal.foreground}
                                  : Look{0, selectedColor_.Foreground, selectedColor_.Background};
    const int textEnd = cellColumn(static_cast<int>(text.size()));  // the column after the last character

    // Each row of the line shows the columns [rowFrom, rowTo); a line that does not wrap is one row.
    const std::vector<int> wraps = WrapPointsOf(line);
    auto rowFromOf = [&](std::size_t part) { return part == 0 ? 1 : wraps[part - 1]; };
    auto rowToOf = [&](std::size_t part) { return part == wraps.size() ? INT_MAX : wraps[part]; };
    // The columns (shown, 1-based) of the cells the clip touches on a row.
    auto firstColumnOf = [&](std::size_t part) {
      return rowFromOf(part) + leftChar_ - 1 + std::max(0, clip.left - textX) / cellWidth_;
    };
    auto lastColumnOf = [&](std::size_t part) {
      return std::min(rowToOf(part) - 1,
                      rowFromOf(part) + leftChar_ - 1 + (clip.right - textX + cellWidth_ - 1) / cellWidth_);
    };
    const std::size_t partFirst = std::min<std::size_t>(wraps.size(), std::max(0, clip.top - y) / rowHeight);
    const std::size_t partLast = std::min<std::size_t>(wraps.size(), std::max(0, clip.bottom - 1 - y) / rowHeight);

    // The line's tokens joined into runs of one look, over the columns of the rows the clip touches: read
    // once for them all, since the scanner reads a line from its start.
    struct Run {
      int from, to;
      Look look;
    };
    std::vector<Run> runs;
    if (highlighters::TqeCustomHighLighter* highlighter = HighLighter()) {
      const int shownFrom = firstColumnOf(partFirst), shownTo = lastColumnOf(partLast);
      highlighter->SetRangeState(lines_.Slot(line - 1));
      highlighter->StartLine(text, line - 1);
      Run run{0, 0, {}};
      for (; !highlighter->AtLineEnd(); highlighter->NextToken()) {
        const std::string_view token = highlighter->TokenText();
        const int from = cellColumn(highlighter->TokenPosition());
        const int to = cellColumn(highlighter->TokenPosition() + static_cast<int>(token.size()));
        if (to <= shownFrom || token.empty()) continue;
        const highlighters::TqeHighLightAttributes* attribute = highlighter->TokenAttribute();
        const Look look = attribute ? Look{attribute->Style(), attribute->Foreground(), attribute->Background()}
                                    : Look{fontDesc_.style, fontColor_, color_};
        const bool blank = AllSpaces(token);
        const bool joins =
            run.to > run.from && (look.style == run.look.style || blank) &&
            (special || whole ||
             (look.background == run.look.background && (look.foreground == run.look.foreground || blank)));
        if (!joins) {
          if (run.to > run.from) runs.push_back(run);
          run = {from, from, look};
        }
        run.to = to;
        if (from > shownTo) break;
      }
      if (run.to > run.from) runs.push_back(run);
    } else {
      runs.push_back({1, textEnd, normal});
    }

    const int lineTop = y;
    y += static_cast<int>(partFirst) * rowHeight;
    for (std::size_t part = partFirst; part <= partLast && y < clip.bottom; ++part, y += rowHeight) {
      const int rowFrom = rowFromOf(part), rowTo = rowToOf(part);
      const bool lastRow = part == wraps.size();
      const int left = rowFrom + leftChar_ - 1;  // the column shown at textX
      const int firstColumn = firstColumnOf(part), lastColumn = lastColumnOf(part);
      auto columnX = [&](int column) { return textX + (column - left) * cellWidth_; };

      // Draws the columns [from, to) of text in look, split at the selection into up to three pieces. A wide
      // character half inside the clip is drawn whole (the clip cuts it), so the clip is widened by a cell.
      const int drawFrom =
          std::max(rowFrom, laidOut.cells.empty() ? firstColumn : cellColumn(laidOut.IndexAtCell(firstColumn - 2)));
      for (const Run& run : runs) {
        const int from = std::max(run.from, drawFrom), to = std::min(run.to, lastColumn + 1);
        if (from > lastColumn) break;
        if (to <= from) continue;
        Look look = run.look;
        look.background = onRow(look.background);
        if (special) look.foreground = normal.foreground, look.background = normal.background;
        textDrawer_.ApplyStyle(look.style);
        const int cuts[] = {from, std::clamp(selStart, from, to), std::clamp(selEnd, from, to), to};
        for (int piece = 0; piece < 3; ++piece) {
          const int a = cuts[piece], b = cuts[piece + 1];
          if (b <= a) continue;
          const bool inside = piece == 1 || whole;
          textDrawer_.SetForegroundColour(inside ? selected.foreground : look.foreground);
          textDrawer_.SetBackgroundColour(inside ? selected.background : look.background);
          const int x = columnX(a);
          textDrawer_.DrawText(x, y, true, {x, y, columnX(b), y + rowHeight}, bytesBetween(a, b), Encoding());
        }
      }

      if (lastRow) {
        // The rest of the row: the editor colour, the selection colour inside the selection.
        const int restFrom = std::max(textEnd, firstColumn);
        if (restFrom <= lastColumn) {
          const int restX = columnX(restFrom);
          const platform::Color rest = normal.background;
          if (whole) {
            canvas.FillRect({restX, y, clip.right, y + rowHeight}, selected.background);
          } else if (selEnd > restFrom && selStart != INT_MAX) {
            const int a = std::max(restFrom, selStart);
            const int aX = columnX(a);
            const int bX = selEnd == INT_MAX ? clip.right : std::min(clip.right, columnX(selEnd));
            if (aX > restX) canvas.FillRect({restX, y, aX, y + rowHeight}, rest);
            canvas.FillRect({aX, y, bX, y + rowHeight}, selected.background);
            if (bX < clip.right) canvas.FillRect({bX, y, clip.right, y + rowHeight}, rest);
          } else {
            canvas.FillRect({restX, y, clip.right, y + rowHeight}, rest);
          }
        }
      } else if (const int restX = std::max(clip.left, columnX(rowTo)); restX < clip.right) {
        // Past a wrap point: selected when the selection goes on over it to the next row.
        const bool across = whole || (selStart < rowTo && selEnd > rowTo);
        canvas.FillRect({restX, y, clip.right, y + rowHeight}, across ? selected.background : normal.background);
      }
      drawRightEdge(y, y + rowHeight);
      if (showBlanks_) PaintBlanks(canvas, line, y, firstColumn, lastColumn, left);

      for (const WordSpan& word : document_.Spelling().Misspelt(line - 1)) {
        const int from = std::max(cellColumn(word.from), rowFrom), to = std::min(cellColumn(word.to), rowTo);
        if (to <= from) continue;
        const int waveLeft = std::max(columnX(from), textX);
        const int waveRight = std::min(columnX(to), clip.right);
        textDrawer_.DrawWave(waveLeft, waveRight, y + rowHeight - 1, kMisspeltColor);
      }
    }
    y = lineTop + static_cast<int>(wraps.size() + 1) * rowHeight;
  }

  if (y < clip.bottom) {
    canvas.FillRect({std::max(clip.left, textX), y, clip.right, clip.bottom}, color_);
    drawRightEdge(y, clip.bottom);
  }
}

}  // namespace editor
