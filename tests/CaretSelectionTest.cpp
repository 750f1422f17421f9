// Caret and selection corner rules, reading the selection, and what a load resets.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "EditorFixture.h"

TEST_F(EditorTest, NewEditorHasOneEmptyLineAndTheControlDefaults) {
  EXPECT_EQ(Lines(), (::Lines{""}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{1, 1}));
  EXPECT_EQ(editor.VisibleColumns(), (800 - 30 - 2) / 8);
  EXPECT_EQ(editor.VisibleRows(), 600 / 16);
  EXPECT_EQ(editor.MaxUndo(), 10);
  EXPECT_EQ(editor.TabIndent(), 4);
  EXPECT_TRUE(editor.ScrollPastEOL());
  EXPECT_TRUE(editor.InsertMode());
}

TEST_F(EditorTest, CaretColumnClampsByScrollPastEOL) {
  SetLines({"short", "a much longer line"});
  editor.SetCaretXY({500, 2});
  EXPECT_EQ(editor.CaretColumn(), 500);
  editor.SetCaretColumn(5000);
  EXPECT_EQ(editor.CaretColumn(), editor.ColumnLimit() - editor.VisibleColumns());
  editor.SetCaretColumn(-3);
  EXPECT_EQ(editor.CaretColumn(), 1);

  editor.SetScrollPastEOL(false);
  editor.SetCaretColumn(500);
  EXPECT_EQ(editor.CaretColumn(), 19);
}

TEST_F(EditorTest, MovingDownOntoAShortLineKeepsOrClampsTheColumn) {
  SetLines({"a much longer line", "short"});
  editor.SetCaretXY({15, 1});
  editor.SetCaretLine(2);
  EXPECT_EQ(editor.CaretColumn(), 15) << "ScrollPastEOL on keeps the column";

  editor.SetScrollPastEOL(false);
  editor.SetCaretXY({15, 1});
  editor.SetCaretLine(2);
  EXPECT_EQ(editor.CaretColumn(), 6);
  editor.SetCaretLine(99);
  EXPECT_EQ(editor.CaretLine(), 2);
}

TEST_F(EditorTest, CaretStaysVisible) {
  std::vector<std::string> many(200, "x");
  SetLines(many);
  editor.SetCaretXY({1, 100});
  EXPECT_EQ(editor.TopLine(), 100 - editor.VisibleRows() + 1);
  editor.SetCaretXY({1, 5});
  EXPECT_EQ(editor.TopLine(), 5);

  const int vc = editor.VisibleColumns();
  editor.SetCaretColumn(vc + 1);
  EXPECT_EQ(editor.LeftChar(), 1) << "the column right after the last visible one does not scroll";
  editor.SetCaretColumn(vc + 10);
  EXPECT_EQ(editor.LeftChar(), 10 + 1);
  editor.SetCaretColumn(3);
  EXPECT_EQ(editor.LeftChar(), 3);
}

TEST_F(EditorTest, SelectionChangeFiresOnEveryCaretAssignment) {
  int fired = 0;
  editor.OnSelectionChange = [&] { ++fired; };
  editor.SetCaretColumn(1);
  editor.SetCaretLine(1);
  editor.SetCaretXY({4, 1});
  EXPECT_EQ(fired, 4);
}

TEST_F(EditorTest, SelectionCornersAreClamped) {
  SetLines({"abc", "defgh"});
  Select(9, 0, 9, 7);
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{4, 1})) << "normal mode stops at the line end";
  EXPECT_EQ(editor.SelectionEnd(), (editor::TextPoint{6, 2}));
  editor.SetSelectionMode(editor::smColumn);
  Select(9, 1, 2000, 2);
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{9, 1}));
  EXPECT_EQ(editor.SelectionEnd(), (editor::TextPoint{1024, 2}));
}

TEST_F(EditorTest, SelectedTextInEachMode) {
  SetLines({"first line", "mid", "last line"});
  Select(4, 3, 3, 1);  // made upward: still read top to bottom
  EXPECT_EQ(editor.SelectedText(), "rst line\r\nmid\r\nlas");
  Select(2, 1, 5, 1);
  EXPECT_EQ(editor.SelectedText(), "irs");

  editor.SetSelectionMode(editor::smColumn);
  Select(6, 3, 2, 1);
  EXPECT_EQ(editor.SelectedText(), "irst\r\nid  \r\nast ") << "short lines are padded to the block's width";

  editor.SetSelectionMode(editor::smLine);
  Select(1, 1, 1, 2);
  EXPECT_EQ(editor.SelectedText(), "first line\r\nmid\r\n");
  Select(1, 2, 1, 3);
  EXPECT_EQ(editor.SelectedText(), "mid\r\nlast line") << "no line end after the text's last line";
}

TEST_F(EditorTest, SelectWholeTextPutsTheCaretAtTheEnd) {
  SetLines({"ab", "cde"});
  editor.SelectWholeText();
  EXPECT_EQ(editor.SelectedText(), "ab\r\ncde");
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{4, 2}));
}

TEST_F(EditorTest, LoadingResetsCaretViewAndUndo) {
  std::vector<std::string> many(100, "some text");
  SetLines(many);
  editor.SetCaretXY({30, 80});
  Type("abc");
  ASSERT_TRUE(editor.CanUndo());

  const auto file = std::filesystem::temp_directory_path() / "quillmark-empty-load.htm";
  { std::ofstream(file, std::ios::binary); }
  editor.Lines().LoadFromFile(file);
  std::filesystem::remove(file);
  EXPECT_EQ(Lines(), (::Lines{""}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{1, 1}));
  EXPECT_EQ(editor.TopLine(), 1);
  EXPECT_EQ(editor.LeftChar(), 1);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.CanRedo());
}

TEST_F(EditorTest, EveryChangeOfTheLinesCollapsesTheSelectionToTheCaret) {
  SetLines({"abc", "def"});
  editor.SetCaretXY({2, 2});
  Select(1, 1, 3, 1);
  editor.Lines().Put(1, "changed");
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{2, 2}));
}

TEST_F(EditorTest, PaintLockDefersScrollBarsUntilTheOutermostRelease) {
  std::vector<std::string> many(100, "x");
  SetLines(many);
  window.ClearLog();
  editor.IncPaintLock();
  editor.IncPaintLock();
  editor.SetTopLine(50);
  editor.DecPaintLock();
  EXPECT_EQ(window.scrollBarUpdates, 0);
  editor.DecPaintLock();
  EXPECT_EQ(window.scrollBarUpdates, 2);
  EXPECT_EQ(window.vertical, (platform::ScrollBarState{1, 100 + 37 - 1, 37, 50}));
}

TEST_F(EditorTest, ScrollBarRangeIsScaledPast32767) {
  editor.Lines().SetTextStr(std::string(100000, '\n'));
  editor.SetTopLine(50000);
  const long long range = 100000 + 37 - 1;
  EXPECT_EQ(window.vertical, (platform::ScrollBarState{0, 32767, static_cast<int>(37 * 32767LL / range),
                                                       static_cast<int>(50000 * 32767LL / range)}));
  editor.ScrollBarMoved(platform::ScrollBarKind::Vertical, 32767 / 2);
  EXPECT_NEAR(editor.TopLine(), range / 2, 4) << "a thumb position is scaled back to a line";
}

TEST_F(EditorTest, NonFixedPitchFontIsReplacedByCourierNew) {
  class Proportional : public platform::headless::CellFontEngine {
   public:
    platform::FontMetrics Metrics(platform::FontHandle f) const override {
      auto m = CellFontEngine::Metrics(f);
      if (Desc(f).family != "Courier New") m.maximumWidth = 20;
      return m;
    }
  } proportional;
  editor::TqeCustomEdit other(proportional, clipboard);
  other.SetFont({"Arial", 12, platform::kBold});
  EXPECT_EQ(other.Font(), (platform::FontDesc{"Courier New", 12, platform::kBold}));
}
