// Faults the fuzzers found, each kept as a test of the behaviour that replaced it.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "highlighters/HtmlHighlighter.h"

using editor::smColumn;
using editor::smLine;

TEST_F(EditorTest, UndoOfACharacterTypedInLineModeTakesOnlyTheCharacter) {
  SetLines({"keep this line"});
  editor.SetSelectionMode(smLine);
  editor.SetCaretXY({5, 1});
  Type("X");
  EXPECT_EQ(Lines(), (::Lines{"keepX this line"}));
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"keep this line"}));
}

TEST_F(EditorTest, UndoOfBackspaceInLineModePutsTheCharacterBackInPlace) {
  SetLines({"abc"});
  editor.SetSelectionMode(smLine);
  editor.SetCaretXY({3, 1});
  editor.KeyDown(editor::VK_BACK, 0);
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"abc"}));
}

TEST_F(EditorTest, UndoOfTypingOverAColumnBlockRestoresTheBlock) {
  SetLines({"abcdef", "ghijkl"});
  editor.SetSelectionMode(smColumn);
  Select(2, 1, 4, 2);
  Type("X");
  EXPECT_EQ(Lines(), (::Lines{"adef", "gXjkl"})) << "the character lands on SelectionEnd's line";
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"abcdef", "ghijkl"}));
}

TEST_F(EditorTest, UndoOfALineBreakBetweenBlanksKeepsThem) {
  SetLines({"ab   cd"});
  editor.SetCaretXY({4, 1});
  editor.KeyDown(editor::VK_RETURN, 0);
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"ab   cd"}));
}

TEST_F(EditorTest, UndoOfALinePasteWithoutALineEndKeepsTheCaretLine) {
  SetLines({"first", "last"});
  editor.SetSelectionMode(smLine);
  Select(1, 2, 2, 2);
  editor.CopySelection();  // the last line: no line end after it
  editor.SetSelectionMode(editor::smNormal);
  Select(1, 1, 1, 1);
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"lastfirst", "last"}));
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"first", "last"}));
}

TEST_F(EditorTest, UndoOfALinePasteOverASelectionLaterInTheLine) {
  SetLines({"first", "0123456789"});
  editor.SetSelectionMode(smLine);
  Select(1, 1, 2, 1);
  editor.CopySelection();  // "first" with its line end
  editor.SetSelectionMode(editor::smNormal);
  editor.SetCaretXY({1, 2});
  Select(4, 2, 7, 2);  // the caret stays at column 1; the lines go in at column 1 all the same
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"first", "first", "0126789"}));
  editor.Undo();
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"first", "0123456789"}));
}

TEST_F(EditorTest, UndoOfAnEmptyLineBlockPasteRemovesNothing) {
  SetLines({"0123456789"});
  clipboard.SetItems({{std::string(editor::kBlockTypeFormat), std::string(1, static_cast<char>(smLine))}});
  editor.SetCaretXY({5, 1});
  editor.PasteClipboard();
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"0123456789"}));
}

TEST_F(EditorTest, UndoOfABlankTypedOverTheLastCharacterPutsItBack) {
  SetLines({"abce"});
  editor.SetInsertMode(false);
  editor.SetCaretXY({4, 1});
  Type(" ");  // the line is trimmed to "abc"; the caret stays past its end
  Type("x");
  EXPECT_EQ(Lines(), (::Lines{"abc x"}));
  editor.Undo();
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"abce"}));
}

TEST_F(EditorTest, UndoBringsBackBlanksThatALaterEditTrimmed) {
  SetLines({"ab      cd"});
  clipboard.SetItems({{std::string(platform::kPlainTextFormat), "\r\n"}});
  editor.SetCaretXY({5, 1});
  editor.PasteClipboard();  // "ab  " and "    cd"
  editor.SetCaretXY({3, 1});
  Type("Z");  // the edited line loses its trailing blanks
  EXPECT_EQ(Lines(), (::Lines{"abZ", "    cd"}));
  editor.Undo();
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"ab      cd"}));
}

TEST_F(EditorTest, UndoingAJoinPastTheLineEndLeavesNoPaddingBehind) {
  SetLines({"i"});
  editor.SetCaretXY({1, 1});
  editor.ExecuteCommand(editor::ecLineBreak, '\r');
  editor.SetCaretXY({2, 1});
  editor.ExecuteCommand(editor::ecDeleteChar, 0);
  EXPECT_EQ(Lines(), (::Lines{" i"})) << "the empty line is padded out to the caret before the join";
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"", "i"})) << "the padding goes with the join";
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"i"}));
}

TEST_F(EditorTest, NormalModeReadsCornersSetInColumnModeClamped) {
  SetLines({"short", "a longer line"});
  editor.SetSelectionMode(smColumn);
  Select(9, 1, 3, 2);
  editor.SetSelectionMode(editor::smNormal);
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{6, 1}));
  Type("X");
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"short", "a longer line"}));
}

TEST_F(EditorTest, TypingAtTheColumnLimitExtendsTheLine) {
  editor.SetCaretXY({2000, 1});
  const int limit = editor.CaretColumn();
  Type("ab");
  EXPECT_EQ(editor.CaretColumn(), limit + 2) << "the caret follows the text past the limit";
  EXPECT_EQ(Lines()[0].substr(limit - 1), "ab");
  editor.Undo();
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{""}));
}

TEST(HtmlScanner, ALineOpeningWithAnAmpersandInsideATagIsScanned) {
  highlighters::TzrHTMLSyn html;
  html.StartLine("<a", 0);
  html.ScanToLineEnd();
  html.StartLine("&x=1>text", 1);
  int tokens = 0;
  for (; !html.AtLineEnd(); html.NextToken()) ++tokens;
  EXPECT_EQ(tokens, 2) << "an empty token at the '&', then the rest as text";
  EXPECT_EQ(html.TokenPosition(), 9);
}
