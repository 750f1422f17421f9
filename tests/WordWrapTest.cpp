// Word wrap: where a line breaks into rows, and a view that shows, moves, scrolls, points and paints by
// those rows while the text stays the same lines of bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include "EditorFixture.h"
#include "editor/WrapPoints.h"
#include "highlighters/HtmlHighlighter.h"
#include "highlighters/WebPageHighlighter.h"
#include "testsupport/RecordingCanvas.h"

namespace {

using editor::TextPoint;
using editor::WrapPoints;
using platform::TextEncoding;
using Points = std::vector<int>;

TEST(WrapPointsTest, BreaksAfterBlanksAndCutsWordsLongerThanARow) {
  const auto cp = TextEncoding::Cp1252;
  EXPECT_EQ(WrapPoints("hello world foo", 8, 8, cp), (Points{7, 13}));
  EXPECT_EQ(WrapPoints("abcdefghij", 4, 8, cp), (Points{5, 9})) << "a word longer than a row is cut";
  EXPECT_EQ(WrapPoints(" abcdefgh", 4, 8, cp), (Points{5, 9})) << "a blank that starts the row is no break";
  EXPECT_EQ(WrapPoints("abc", 3, 8, cp), Points{}) << "exactly a row";
  EXPECT_EQ(WrapPoints("", 4, 8, cp), Points{});
  EXPECT_EQ(WrapPoints("abcdef", 0, 8, cp), Points{}) << "no width, no wrap";
  EXPECT_EQ(WrapPoints("abcdef", 1, 8, cp), (Points{2, 3, 4, 5, 6}));
}

TEST(WrapPointsTest, BlanksAtARowsEndHangPastIt) {
  const auto cp = TextEncoding::Cp1252;
  EXPECT_EQ(WrapPoints("abcd    efgh", 4, 8, cp), (Points{9})) << "the next row starts at the next word";
  EXPECT_EQ(WrapPoints("abcd      ", 4, 8, cp), Points{}) << "blanks alone never make a row";
  EXPECT_EQ(WrapPoints("ab cd  ef", 5, 8, cp), (Points{8}));
}

TEST(WrapPointsTest, TabsAndWideCharactersTakeTheirCells) {
  // The tab takes cells 1-8: "\tab " fills the row, and "cd" goes on.
  EXPECT_EQ(WrapPoints("\tab cd", 11, 8, TextEncoding::Cp1252), (Points{12}));
  EXPECT_EQ(WrapPoints("\t\tx", 8, 8, TextEncoding::Cp1252), (Points{17})) << "tabs hang at a row's end as blanks do";
  const auto utf8 = TextEncoding::Utf8;
  // Two cells each: a wide character across the row's end goes to the next row.
  EXPECT_EQ(WrapPoints("ab\xE6\xBC\xA2\xE5\xAD\x97", 3, 8, utf8), (Points{3, 5}));
  EXPECT_EQ(WrapPoints("\xE6\xBC\xA2\xE5\xAD\x97", 1, 8, utf8), (Points{3}))
      << "a row takes one character at least, and no row is empty";
  EXPECT_EQ(WrapPoints("\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9", 4, 8, utf8), (Points{5})) << "bytes are not cells";
}

// A view 20 cells wide (rows of 19: one cell is kept for the caret) and 10 rows high.
class WordWrapTest : public EditorTest {
 protected:
  WordWrapTest() {
    ResizeTo(20);
    editor.SetWordWrap(true);
  }
  void ResizeTo(int columns) {
    window.Resize({editor.GutterPixels() + 2 + columns * editor.CellWidth(), 10 * editor.RowHeight()});
    editor.Resized();
  }
  TextPoint Caret() const { return {editor.CaretColumn(), editor.CaretLine()}; }
  void Run(editor::TqeEditorCommand command) { editor.ExecuteCommand(command, 0); }
  int X(int shownColumn) const { return editor.GutterPixels() + (shownColumn - 1) * editor.CellWidth() + 1; }
  int Y(int row) const { return row * editor.RowHeight() + 1; }
  // Text drawn, as "[TEXT@ROW]" in the order painted.
  std::string RowsPainted() {
    canvas.Clear();
    const platform::Size client = window.ClientSize();
    editor.Paint(canvas, {0, 0, client.width, client.height});
    std::string texts;
    for (const auto& call : canvas.Calls()) {
      if (call.rfind("text ", 0) != 0) continue;
      int x, y;
      std::sscanf(call.c_str(), "text %d %d", &x, &y);
      if (x < editor.GutterPixels()) continue;
      texts += "[" + call.substr(call.find('"') + 1, call.size() - call.find('"') - 2) + "@" +
               std::to_string(y / editor.RowHeight()) + "]";
    }
    return texts;
  }

  // Rows "the quick brown fox " (columns 1-20), "jumps over the lazy " (21-40) and "dog" (41-43).
  const std::string kLong = "the quick brown fox jumps over the lazy dog";
  platform::fakes::RecordingCanvas canvas;
};

TEST_F(WordWrapTest, RowsFollowTheWidthAndTheTextNeverChanges) {
  SetLines({kLong, "short", kLong});
  EXPECT_EQ(editor.RowsOf(1), 3);
  EXPECT_EQ(editor.RowsOf(2), 1);
  EXPECT_EQ(editor.ShownRowCount(), 7);
  ResizeTo(50);
  EXPECT_EQ(editor.ShownRowCount(), 3) << "a wider window takes the lines on one row each";
  ResizeTo(10);
  EXPECT_EQ(editor.RowsOf(1), 5) << "the quick|brown fox|jumps|over the|lazy dog";
  editor.SetWordWrap(false);
  EXPECT_EQ(editor.ShownRowCount(), 3);
  EXPECT_EQ(Lines(), (::Lines{kLong, "short", kLong}));
  EXPECT_TRUE(window.horizontal.visible);
  editor.SetWordWrap(true);
  EXPECT_FALSE(window.horizontal.visible) << "wrapped lines never need the horizontal bar";
}

TEST_F(WordWrapTest, UpAndDownGoByRowsKeepingTheOffsetInTheRow) {
  SetLines({kLong, "short"});
  editor.SetCaretXY({5, 1});
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{25, 1})) << "the same cell of the second row";
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{44, 1})) << "the last row is shorter: its end";
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{4, 2}));
  Run(editor::ecUp);
  EXPECT_EQ(Caret(), (TextPoint{44, 1}));
  Run(editor::ecUp);
  EXPECT_EQ(Caret(), (TextPoint{24, 1}));
  editor.SetCaretXY({20, 1});  // before the blank that hangs at the first row's end
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{40, 1}));
  editor.SetCaretXY({21, 1});  // the first cell of the second row
  Run(editor::ecUp);
  EXPECT_EQ(Caret(), (TextPoint{1, 1}));
}

TEST_F(WordWrapTest, HomeAndEndGoToTheRowsEndsThenTheLines) {
  SetLines({kLong});
  editor.SetCaretXY({25, 1});
  Run(editor::ecLineEnd);
  EXPECT_EQ(Caret(), (TextPoint{40, 1})) << "after the row's last word, before the blank that hangs";
  Run(editor::ecLineEnd);
  EXPECT_EQ(Caret(), (TextPoint{44, 1}));
  Run(editor::ecLineStart);
  EXPECT_EQ(Caret(), (TextPoint{41, 1}));
  Run(editor::ecLineStart);
  EXPECT_EQ(Caret(), (TextPoint{1, 1}));
  editor.SetCaretXY({30, 1});
  Run(editor::ecSelLineEnd);
  EXPECT_EQ(editor.SelectionStart(), (TextPoint{30, 1}));
  EXPECT_EQ(editor.SelectionEnd(), (TextPoint{40, 1}));
}

TEST_F(WordWrapTest, TheCaretStaysWithinItsLine) {
  editor.SetScrollPastEOL(true);
  SetLines({"ab", "abcdef"});
  editor.SetCaretXY({6, 2});
  Run(editor::ecUp);
  EXPECT_EQ(Caret(), (TextPoint{3, 1}));
  Run(editor::ecRight);
  EXPECT_EQ(Caret(), (TextPoint{1, 2})) << "past the end goes on to the next line";
  editor.SetWordWrap(false);
  editor.SetCaretXY({30, 1});
  editor.SetWordWrap(true);
  EXPECT_EQ(Caret(), (TextPoint{3, 1})) << "a caret past the end comes back when wrapping starts";
}

TEST_F(WordWrapTest, ColumnModeMovesByLines) {
  SetLines({kLong, kLong});
  editor.SetSelectionMode(editor::smColumn);
  editor.SetCaretXY({5, 1});
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{5, 2}));
}

TEST_F(WordWrapTest, TypingRewrapsAndUndoPutsBackTheRows) {
  SetLines({"the quick brown fox", "next"});
  EXPECT_EQ(editor.ShownRowCount(), 2);
  editor.SetCaretXY({20, 1});
  Type(" jumps");
  EXPECT_EQ(editor.RowsOf(1), 2);
  EXPECT_EQ(Caret(), (TextPoint{26, 1}));
  EXPECT_EQ(RowsPainted(), "[the quick brown fox @0][jumps@1][next@2]");
  window.ClearLog();
  while (editor.CanUndo()) editor.Undo();
  EXPECT_EQ(editor.RowsOf(1), 1);
  EXPECT_EQ(Lines(), (::Lines{"the quick brown fox", "next"}));
  // The row that went is painted over, and so is the line that moved up into its place.
  ASSERT_FALSE(window.invalidated.empty());
  EXPECT_TRUE(std::any_of(window.invalidated.begin(), window.invalidated.end(),
                          [&](const platform::Rect& r) { return r.top <= Y(1) && r.bottom > Y(2); }));
}

TEST_F(WordWrapTest, PaintDrawsEachRowOnItsOwnLine) {
  SetLines({kLong, "short"});
  EXPECT_EQ(RowsPainted(), "[the quick brown fox @0][jumps over the lazy @1][dog@2][short@3]");
  editor.SetTopRow({1, 1});
  EXPECT_EQ(RowsPainted(), "[jumps over the lazy @0][dog@1][short@2]");
}

TEST_F(WordWrapTest, ATokenAcrossAWrapPointIsDrawnOnBothRows) {
  highlighters::TzrHTMLSyn html;
  editor.SetHighLighter(&html);
  SetLines({"<a href=\"x\">one two three four five</a> six"});
  EXPECT_EQ(RowsPainted(),
            "[<@0][a @0][href=@0][\"x\"@0][>@0][one two @0][three four five@1][<@1][/a@1][>@1][ @1][six@2]");
  editor.SetHighLighter(nullptr);
}

TEST_F(WordWrapTest, GutterNumbersAndFoldMarksStandOnALinesFirstRow) {
  highlighters::TWebPageSyn page;
  editor.SetHighLighter(&page);
  editor.Gutter().SetShowLineNumbers(true);
  editor.SetShowFoldMarks(true);
  ResizeTo(20);
  SetLines({"<div>", kLong, "</div>", kLong});
  ASSERT_TRUE(editor.ToggleFoldAt(1));
  EXPECT_EQ(editor.ShownRowCount(), 4) << "the folded lines take no rows";
  canvas.Clear();
  editor.Paint(canvas, {0, 0, window.ClientSize().width, window.ClientSize().height});
  std::vector<int> numberRows;
  for (const auto& call : canvas.Calls()) {
    int x, y;
    if (call.rfind("text ", 0) == 0 && std::sscanf(call.c_str(), "text %d %d", &x, &y) == 2 &&
        x < editor.GutterPixels())
      numberRows.push_back(y / editor.RowHeight());
  }
  EXPECT_EQ(numberRows, (std::vector<int>{0, 1}));
  const int markX = editor.GutterPixels() - 3;
  EXPECT_EQ(editor.FoldMarkAt(markX, Y(0)), 1);
  EXPECT_EQ(editor.FoldMarkAt(markX, Y(2)), 0) << "no mark on a line's second row";
  editor.SetCaretXY({1, 1});
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{1, 4})) << "over the fold to the next shown line";
  editor.SetHighLighter(nullptr);
}

TEST_F(WordWrapTest, WideCharactersWrapWhole) {
  editor.SetEncoding(platform::TextEncoding::Utf8);
  std::string line;
  for (int i = 0; i < 12; ++i) line += "\xE6\xBC\xA2";  // 24 cells: 9 characters on the first row, 3 on the second
  SetLines({line});
  EXPECT_EQ(editor.RowsOf(1), 2);
  editor.SetCaretXY({1, 1});
  Run(editor::ecDown);
  EXPECT_EQ(Caret(), (TextPoint{28, 1})) << "the tenth character starts the second row";
  EXPECT_EQ(editor.PointAt(X(3), Y(1)), (TextPoint{31, 1}));
  Run(editor::ecLineEnd);
  EXPECT_EQ(Caret(), (TextPoint{37, 1}));
}

TEST_F(WordWrapTest, TheWheelScrollsByRows) {
  SetLines(std::vector<std::string>(6, kLong));
  editor.MouseWheel(-120, {});
  EXPECT_EQ(editor.TopRow().line, 2);
  EXPECT_EQ(editor.TopRow().part, 0);
  editor.MouseWheel(60, {});
  editor.MouseWheel(60, {});
  EXPECT_EQ(editor.TopRow().line, 1) << "back up three rows, half a notch at a time";
}

TEST_F(WordWrapTest, TheMouseAndTheCaretMeetOnRows) {
  SetLines({kLong, "short"});
  EXPECT_EQ(editor.PointAt(X(3), Y(1)), (TextPoint{23, 1}));
  EXPECT_EQ(editor.PointAt(X(20), Y(1)), (TextPoint{40, 1})) << "past a row's end: its last place";
  EXPECT_EQ(editor.PointAt(X(10), Y(2)), (TextPoint{44, 1})) << "past the line's end: the end";
  EXPECT_EQ(editor.PointAt(X(2), Y(3)), (TextPoint{2, 2}));
  editor.SetCaretXY({23, 1});
  EXPECT_EQ(window.caret.left, X(3));
  EXPECT_EQ(window.caret.top, Y(1));
}

TEST_F(WordWrapTest, ScrollingAndKeepingTheCaretInViewGoByRows) {
  std::vector<std::string> lines(6, kLong);  // 18 rows on a 10-row window
  SetLines(lines);
  Run(editor::ecScrollDown);
  EXPECT_EQ(editor.TopRow().line, 1);
  EXPECT_EQ(editor.TopRow().part, 1);
  EXPECT_EQ(Caret(), (TextPoint{21, 1})) << "the caret comes along on the top row";
  editor.SetCaretXY({41, 4});  // row 12 from the start: the view moves so it is the bottom row
  EXPECT_EQ(editor.TopRow().line, 1);
  EXPECT_EQ(editor.TopRow().part, 2);
  Run(editor::ecPageDown);
  EXPECT_EQ(Caret(), (TextPoint{41, 6})) << "past the last row: the last row, at the same offset";
  editor.SetCaretXY({1, 1});
  EXPECT_EQ(editor.TopRow().line, 1);
  EXPECT_EQ(editor.TopRow().part, 0);
}

}  // namespace
