// Folds: the regions the outline finds, what a fold hides from moves and painting, what opens a fold, and
// that two views of one document fold on their own.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "highlighters/CppHighlighter.h"
#include "highlighters/WebPageHighlighter.h"

namespace {

using editor::FoldRegion;

const Lines kPage = {
    "<html>",             // 1
    "<body>",             // 2
    "<!-- a comment",     // 3
    "   over lines -->",  // 4
    "<ul>",               // 5
    "  <li>one",          // 6
    "  <li>two</li>",     // 7
    "</ul>",              // 8
    "<script>",           // 9
    "function f() {",     // 10
    "  return 1;",        // 11
    "}",                  // 12
    "</script>",          // 13
    "<% if x then",       // 14
    "   y %>",            // 15
    "<p>one line</p>",    // 16
    "</body>",            // 17
    "</html>",            // 18
};

class FoldingTest : public EditorTest {
 protected:
  FoldingTest() {
    editor.SetHighLighter(&page);
    SetLines(kPage);
  }
  ~FoldingTest() override { editor.SetHighLighter(nullptr); }

  std::vector<std::pair<int, int>> Regions() {
    std::vector<std::pair<int, int>> out;
    for (const FoldRegion& r : editor.Document().Outline().Regions()) out.emplace_back(r.first, r.last);
    return out;
  }
  std::vector<std::pair<int, int>> Folds() const {
    std::vector<std::pair<int, int>> out;
    for (const FoldRegion& r : editor.Folds()) out.emplace_back(r.first, r.last);
    return out;
  }

  highlighters::TWebPageSyn page;
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(FoldingTest, RegionsAreElementsCommentsBlocksAndBracesOverLines) {
  // The unclosed <li> is no region; the one-line <p> neither.
  EXPECT_EQ(Regions(), (Pairs{{1, 18}, {2, 17}, {3, 4}, {5, 8}, {9, 13}, {10, 12}, {14, 15}}));
  // Edits are seen: the braces lose their closing one; then the comment its end, and runs on to the end
  // of the page, where only the server block (cut out wherever it stands) is left.
  editor.SetCaretXY({1, 12});
  editor.SetSelectionStart({1, 12});
  editor.SetSelectionEnd({2, 12});
  Type("x");
  EXPECT_EQ(Regions(), (Pairs{{1, 18}, {2, 17}, {3, 4}, {5, 8}, {9, 13}, {14, 15}}));
  editor.SetSelectionStart({4, 4});
  editor.SetSelectionEnd({18, 4});
  editor.SetCaretXY({18, 4});
  Type("y");
  EXPECT_EQ(Regions(), (Pairs{{14, 15}}));

  highlighters::TUloCppSyn cpp;
  editor.SetHighLighter(&cpp);
  SetLines({"int f() {", "  if (x) {", "  }", "}", "/* not { */"});
  EXPECT_EQ(Regions(), (Pairs{{1, 4}, {2, 3}}));
  editor.SetHighLighter(nullptr);
  EXPECT_TRUE(Regions().empty());
}

// The outline reads again only the lines an edit touched or whose start state it changed: after any run of
// edits its regions are those of the same text read afresh.
TEST_F(FoldingTest, RegionsKeptUpToDateAreThoseOfTheTextReadAfresh) {
  const struct {
    editor::TextPoint at;
    const char* text;
  } edits[] = {{{1, 3}, "<!-- "}, {{1, 10}, "<div>\r\n"},         {{7, 4}, "-->"},
               {{1, 16}, "<%"},   {{1, 20}, "<ul>\r\n<li>x\r\n"}, {{1, 1}, "<?php { ?>\r\n"},
               {{3, 12}, "}"}};
  auto afresh = [&] {
    std::string text;
    for (int i = 0; i < editor.Lines().Count(); ++i) text += std::string(editor.Lines().Get(i)) + "\r\n";
    editor::TqeCustomEdit other(fonts, clipboard);
    other.SetHighLighter(&page);
    other.Lines().SetTextStr(text);
    std::vector<std::pair<int, int>> out;
    for (const FoldRegion& r : other.Document().Outline().Regions()) out.emplace_back(r.first, r.last);
    other.SetHighLighter(nullptr);
    return out;
  };
  ASSERT_FALSE(Regions().empty());
  for (const auto& edit : edits) {
    editor.InsertTextAt(edit.at, edit.text);
    EXPECT_EQ(Regions(), afresh()) << "after putting " << edit.text << " at line " << edit.at.line;
  }
  // Lines taken out again, and the whole text undone.
  editor.SetSelectionStart({1, 2});
  editor.SetSelectionEnd({1, 9});
  editor.SetCaretXY({1, 9});
  editor.SetSelectedText("");
  EXPECT_EQ(Regions(), afresh());
  editor.SetMaxUndo(100);
  while (editor.CanUndo()) editor.Undo();
  EXPECT_EQ(Regions(), afresh());
}

TEST_F(FoldingTest, AFoldHidesItsInnerLinesFromMovesPaintingAndTheMouse) {
  editor.SetCaretXY({1, 6});
  ASSERT_TRUE(editor.Fold(6));  // the innermost region round line 6: the list
  EXPECT_EQ(Folds(), (Pairs{{5, 8}}));
  // The caret stood inside: it goes to the end of the line that stays.
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{5, 5}));
  EXPECT_TRUE(editor.LineHidden(6) && editor.LineHidden(8) && !editor.LineHidden(5) && !editor.LineHidden(9));

  editor.ExecuteCommand(editor::ecDown, 0);
  EXPECT_EQ(editor.CaretLine(), 9);
  editor.ExecuteCommand(editor::ecUp, 0);
  EXPECT_EQ(editor.CaretLine(), 5);
  EXPECT_EQ(editor.RowOfLine(9), 5);  // rows 0..4 are lines 1..5
  EXPECT_EQ(editor.PointAt(10, 5 * editor.RowHeight() + 2).line, 9);

  // Line numbers stay the document's, and line 9's number is painted on row 5.
  ASSERT_TRUE(editor.Fold(3));
  EXPECT_EQ(Folds(), (Pairs{{3, 4}, {5, 8}}));
  EXPECT_EQ(editor.RowOfLine(9), 4);
  EXPECT_EQ(editor.ShownLineAfter(1, 4), 9);
  EXPECT_EQ(editor.ShownLineAfter(9, -4), 1);

  // An outer fold takes the inner ones in; Unfold opens it; Fold All then Unfold All.
  ASSERT_TRUE(editor.Fold(2));
  EXPECT_EQ(Folds(), (Pairs{{2, 17}}));
  ASSERT_TRUE(editor.Unfold(2));
  EXPECT_TRUE(Folds().empty());
  editor.FoldAll();
  EXPECT_EQ(Folds(), (Pairs{{1, 18}}));
  editor.UnfoldAll();
  EXPECT_TRUE(Folds().empty());
  // A line without a region folds nothing.
  EXPECT_FALSE(editor.ToggleFoldAt(16));
  EXPECT_TRUE(editor.ToggleFoldAt(9));
  EXPECT_TRUE(editor.LineFolded(9));
  EXPECT_TRUE(editor.ToggleFoldAt(9));
  EXPECT_TRUE(Folds().empty());
}

TEST_F(FoldingTest, TheCaretASearchMatchAnEditOrABookmarkInsideAFoldOpensIt) {
  editor.Fold(10);
  ASSERT_EQ(Folds(), (Pairs{{10, 12}}));
  editor.SetCaretXY({1, 1});
  EXPECT_EQ(editor.SearchReplace("return", "", 0), 1);
  EXPECT_TRUE(Folds().empty());
  EXPECT_EQ(editor.CaretLine(), 11);

  editor.SetBookmark(1, 1, 7);
  editor.Fold(5);
  ASSERT_EQ(Folds(), (Pairs{{5, 8}}));
  editor.GotoBookmark(1);
  EXPECT_TRUE(Folds().empty());

  // An edit of a hidden line (here through another view's caret) opens the fold; lines coming and going
  // above it move it with its text.
  editor.Fold(14);
  ASSERT_EQ(Folds(), (Pairs{{14, 15}}));
  editor.SetCaretXY({1, 1});
  editor.ExecuteCommand(editor::ecLineBreak, 0);
  EXPECT_EQ(Folds(), (Pairs{{15, 16}}));
  editor.InsertTextAt({3, 16}, "z");
  EXPECT_TRUE(Folds().empty());
}

TEST_F(FoldingTest, EachViewOfADocumentKeepsItsOwnFolds) {
  editor::TqeCustomEdit second(fonts, clipboard, editor.Document());
  platform::headless::RecordingWindow secondWindow{{800, 600}};
  second.SetWindow(&secondWindow);
  ASSERT_TRUE(second.Fold(10));
  EXPECT_TRUE(editor.Folds().empty());
  EXPECT_TRUE(second.LineHidden(11));
  EXPECT_FALSE(editor.LineHidden(11));
  // Typing in the first view above the fold moves the second view's fold with its text.
  editor.SetCaretXY({1, 1});
  editor.ExecuteCommand(editor::ecLineBreak, 0);
  ASSERT_EQ(second.Folds().size(), 1u);
  EXPECT_EQ(second.Folds()[0].first, 11);
  second.SetWindow(nullptr);
}

}  // namespace
