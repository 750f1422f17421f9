// Two views of one document: an edit in one repaints the other, which keeps its own caret, selection and
// scroll position (following its text as lines come and go above it), and either view undoes the shared
// history.
#include <gtest/gtest.h>

#include "editor/CustomEdit.h"
#include "highlighters/HtmlHighlighter.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/RecordingWindow.h"

namespace {

using editor::TextPoint;

class DocumentViewsTest : public ::testing::Test {
 protected:
  DocumentViewsTest() : first(fonts, clipboard, document), second(fonts, clipboard, document) {
    first.SetWindow(&firstWindow);
    second.SetWindow(&secondWindow);
    std::string text;
    for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
    first.Lines().SetTextStr(text);
  }
  ~DocumentViewsTest() override {
    first.SetWindow(nullptr);
    second.SetWindow(nullptr);
  }
  // Whether the window was asked to repaint the text of an editor line (8 x 16 pixel cells, no spacing).
  static bool Repainted(const platform::headless::RecordingWindow& window, const editor::TqeCustomEdit& view,
                        int line) {
    const int y = (line - view.TopLine()) * view.RowHeight() + 1;
    for (const platform::Rect& r : window.invalidated)
      if (r.top <= y && y < r.bottom && r.right > view.GutterPixels()) return true;
    return false;
  }

  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  editor::TqeDocument document;
  platform::headless::RecordingWindow firstWindow{{800, 320}}, secondWindow{{800, 320}};
  editor::TqeCustomEdit first, second;
};

}  // namespace

TEST_F(DocumentViewsTest, AnEditInOneViewRepaintsTheOtherWhichKeepsItsPlace) {
  second.SetTopLine(40);
  second.SetCaretXY({3, 45});
  second.SetSelectionStart({1, 44});
  second.SetSelectionEnd({3, 45});
  first.SetCaretXY({1, 42});
  secondWindow.ClearLog();

  first.KeyPress('x');
  EXPECT_EQ(document.Lines().Get(41), "xline 42");
  EXPECT_EQ(second.Lines().Get(41), "xline 42") << "one text";
  EXPECT_TRUE(Repainted(secondWindow, second, 42)) << "the changed row is repainted in the other view";
  EXPECT_FALSE(Repainted(secondWindow, second, 50)) << "and only that row";
  EXPECT_EQ(second.CaretXY(), (TextPoint{3, 45}));
  EXPECT_EQ(second.SelectionStart(), (TextPoint{1, 44}));
  EXPECT_EQ(second.SelectionEnd(), (TextPoint{3, 45})) << "the other view's selection stays";
  EXPECT_EQ(second.TopLine(), 40);
  EXPECT_EQ(first.CaretXY(), (TextPoint{2, 42}));

  // A line break above the other view's place moves its caret, selection and top line down with the text.
  first.SetCaretXY({1, 10});
  first.ExecuteCommand(editor::ecLineBreak, '\r');
  EXPECT_EQ(second.CaretXY(), (TextPoint{3, 46}));
  EXPECT_EQ(second.SelectionStart(), (TextPoint{1, 45}));
  EXPECT_EQ(second.TopLine(), 41);
  EXPECT_EQ(second.Lines().Get(second.CaretLine() - 1), "line 45");
  EXPECT_EQ(first.CaretXY(), (TextPoint{1, 11})) << "the editing view moves as a single view does";

  // Deleting lines above moves them back; deleting the line they stand on leaves them on its line.
  first.SetCaretXY({1, 11});
  first.ExecuteCommand(editor::ecDeleteLine, 0);
  EXPECT_EQ(second.CaretXY(), (TextPoint{3, 45}));
  EXPECT_EQ(second.TopLine(), 40);
  second.SetCaretXY({2, 100});
  first.SetCaretXY({1, 99});
  first.Lines().Delete(99);
  first.Lines().Delete(98);
  EXPECT_EQ(second.CaretLine(), 98) << "a caret below the last line comes back to it";
  EXPECT_EQ(second.LineCount(), 98);
}

TEST_F(DocumentViewsTest, UndoFromEitherViewWorksOnTheSharedHistory) {
  first.SetCaretXY({1, 1});
  first.KeyPress('a');
  second.SetCaretXY({1, 3});
  second.KeyPress('b');
  EXPECT_EQ(document.UndoList().RecordCount(), 2);
  EXPECT_TRUE(first.CanUndo());

  first.Undo();
  EXPECT_EQ(document.Lines().Get(2), "line 3") << "the newest edit, made in the other view, is undone";
  EXPECT_EQ(first.CaretXY(), (TextPoint{1, 3})) << "the view that undoes goes to the change";
  EXPECT_EQ(second.CaretXY(), (TextPoint{2, 3})) << "the other view stays";
  second.Undo();
  EXPECT_EQ(document.Lines().Get(0), "line 1");
  EXPECT_TRUE(first.CanRedo());
  first.Redo();
  second.Redo();
  EXPECT_EQ(document.Lines().Get(0), "aline 1");
  EXPECT_EQ(document.Lines().Get(2), "bline 3");

  second.KeyPress('c');
  EXPECT_FALSE(first.CanRedo()) << "a new edit in either view empties the shared redo list";
}

TEST_F(DocumentViewsTest, HighlighterMarksAndLoadsAreTheDocuments) {
  highlighters::TzrHTMLSyn html;
  second.SetHighLighter(&html);
  EXPECT_EQ(first.HighLighter(), &html) << "bound once for every view";
  second.SetBookmark(3, 1, 20);
  ASSERT_NE(first.Bookmark(3), nullptr);
  EXPECT_EQ(first.Bookmark(3)->line, 20);

  second.SetCaretXY({4, 60});
  second.SetTopLine(50);
  first.Lines().SetTextStr("new\r\ntext\r\n");
  EXPECT_EQ(second.CaretXY(), (TextPoint{1, 1})) << "a load puts every view at the top";
  EXPECT_EQ(second.TopLine(), 1);
  EXPECT_FALSE(first.CanUndo());

  {
    editor::TqeCustomEdit third(fonts, clipboard, document);
    third.Lines().Add("third");
  }
  first.KeyPress('z');
  EXPECT_EQ(document.Lines().Get(0), "znew") << "a view that goes leaves the others working";
}

TEST_F(DocumentViewsTest, AViewThatWrapsFollowsEditsMadeInTheOther) {
  first.Lines().SetTextStr("the quick brown fox jumps");
  secondWindow.Resize({second.GutterPixels() + 2 + 20 * second.CellWidth(), 320});
  second.Resized();
  second.SetWordWrap(true);
  EXPECT_EQ(second.RowsOf(1), 2);
  // Overwriting the blank the row broke at keeps the line's length but moves its wrap point.
  first.SetInsertMode(false);
  first.SetCaretXY({20, 1});
  first.KeyPress('X');
  second.SetCaretXY({17, 1});
  EXPECT_EQ(secondWindow.caret.top, second.RowHeight() + 1) << "\"foxXjumps\" went to the second row";
  first.Lines().Add("next");
  first.SetCaretXY({1, 2});
  for (int i = 0; i < 30; ++i) first.KeyPress('y');
  EXPECT_EQ(second.RowsOf(2), 2);
  first.Lines().SetTextStr("short\r\n");
  EXPECT_EQ(second.RowsOf(1), 1);
  EXPECT_FALSE(first.WordWrap()) << "each view wraps on its own";
}
