// Typing through ecChar: tabs, control bytes, padding, overwrite, block scrolling, read-only and hooks.
#include <gtest/gtest.h>

#include "EditorFixture.h"

TEST_F(EditorTest, TabExpandsToTheNextIndentStop) {
  editor.SetCaretXY({6, 1});
  Type("\t");
  EXPECT_EQ(editor.CaretColumn(), 9);
  Type("x");
  EXPECT_EQ(Lines(), (::Lines{"        x"}));

  editor.SetTabIndent(0);
  Type("\t");
  EXPECT_EQ(Lines(), (::Lines{"        x"})) << "with TabIndent 0 a tab is an ignored control byte";
  editor.SetTabIndent(17);
  EXPECT_EQ(editor.TabIndent(), 0) << "out-of-range values are ignored";
}

TEST_F(EditorTest, TabTypesATabCharacterWhenAskedAndANewLineKeepsTheTabsOfItsIndentation) {
  editor.SetTabInsertsBlanks(false);
  editor.SetScrollPastEOL(false);
  editor.SetAutoindent(true);
  Type("\t");
  EXPECT_EQ(Lines(), (::Lines{"\t"})) << "a tab at the line's end is not trimmed as blanks are";
  Type("  x");
  editor.ExecuteCommand(editor::ecLineBreak, 0);
  Type("y");
  EXPECT_EQ(Lines(), (::Lines{"\t  x", "\t  y"}));
  editor.SetCaretXY({1, 1});
  Type("a");
  EXPECT_EQ(Lines(), (::Lines{"a\t  x", "\t  y"}));
  editor.SetCaretXY({7, 1});
  Type("\t ");
  editor.SetCaretXY({1, 1});
  Type("b");
  EXPECT_EQ(Lines(), (::Lines{"ba\t  x\t", "\t  y"})) << "typing takes spaces from a line's end, never a tab";
}

TEST_F(EditorTest, TypingPastTheEndPadsAndTrailingSpacesAreTrimmed) {
  editor.SetCaretXY({10, 1});
  Type(" ");
  EXPECT_EQ(Lines(), (::Lines{""}));
  EXPECT_EQ(editor.CaretColumn(), 11);
  editor.SetCaretXY({10, 1});
  Type("a");
  EXPECT_EQ(Lines(), (::Lines{"         a"}));
  Type("\x01\x7f\r");
  EXPECT_EQ(Lines(), (::Lines{"         a"}));
}

TEST_F(EditorTest, TypingPastEndWorksWithScrollPastEOLOff) {
  editor.SetScrollPastEOL(false);
  SetLines({"ab"});
  editor.SetCaretXY({3, 1});
  Type("cd");
  EXPECT_EQ(Lines(), (::Lines{"abcd"}));
  EXPECT_EQ(editor.CaretColumn(), 5);
  EXPECT_FALSE(editor.ScrollPastEOL());
}

TEST_F(EditorTest, OverwriteReplacesAndRecordsTheOldByte) {
  SetLines({"abc"});
  editor.SetInsertMode(false);
  editor.SetCaretXY({2, 1});
  Type("X");
  EXPECT_EQ(Lines(), (::Lines{"aXc"}));
  auto record = editor.UndoList().TakeRecord();
  EXPECT_EQ(record.kind, editor::UndoInsert);
  EXPECT_EQ(record.text, "b");
  EXPECT_EQ(record.start, (editor::TextPoint{2, 1}));
  EXPECT_EQ(record.end, (editor::TextPoint{3, 1}));
  editor.SetCaretXY({4, 1});
  Type("d");
  EXPECT_EQ(Lines(), (::Lines{"aXcd"})) << "overwriting past the end appends";
}

TEST_F(EditorTest, TypingAtTheRightEdgeScrollsByABlock) {
  const int vc = editor.VisibleColumns();
  editor.SetCaretXY({vc - 1, 1});
  Type("a");
  EXPECT_EQ(editor.LeftChar(), 1);
  Type("b");
  EXPECT_EQ(editor.CaretColumn(), vc + 1);
  EXPECT_EQ(editor.LeftChar(), 1 + 25);
}

TEST_F(EditorTest, TypingOverASelectionReplacesIt) {
  SetLines({"one two three"});
  Select(5, 1, 8, 1);
  Type("2");
  EXPECT_EQ(Lines(), (::Lines{"one 2 three"}));
  ASSERT_EQ(editor.UndoList().RecordCount(), 2);
  auto insert = editor.UndoList().TakeRecord();
  EXPECT_EQ(insert.kind, editor::UndoInsert);
  EXPECT_EQ(insert.start, (editor::TextPoint{5, 1}));
  EXPECT_EQ(editor.UndoList().TakeRecord().kind, editor::UndoSelectionReplaced);

  editor.SetSelectionMode(editor::smLine);
  Select(3, 1, 4, 1);
  Type("z");
  EXPECT_EQ(Lines(), (::Lines{"z"})) << "a line selection is replaced whole";
}

TEST_F(EditorTest, ReadOnlyRefusesTyping) {
  editor.SetReadOnly(true);
  int done = 0;
  editor.OnCommandDone = [&] { ++done; };
  Type("abc");
  EXPECT_EQ(Lines(), (::Lines{""}));
  EXPECT_EQ(done, 0);
}

TEST_F(EditorTest, HooksSeeChangeAndCancelCommands) {
  int done = 0;
  editor.OnCommandDone = [&] { ++done; };
  editor.OnKeyPress = [](char& c) {
    if (c == 'a') c = 'A';
  };
  editor.OnProcessCommand = [](editor::TqeEditorCommand& command, char& c, const editor::TCommandData&) {
    if (c == 'q') command = editor::ecNone;
  };
  Type("aqb");
  EXPECT_EQ(Lines(), (::Lines{"Ab"}));
  EXPECT_EQ(done, 2);
  Type("\t");
  EXPECT_EQ(done, 2 + 2) << "the spaces of an expanded tab finish as commands; the tab itself does not";

  bool userHookRan = false;
  editor.OnProcessUserCommand = [&](editor::TqeEditorCommand& command, char&, const editor::TCommandData&) {
    userHookRan = command == editor::ecUserFirst;
  };
  editor.ExecuteCommand(editor::ecUserFirst, 0);
  EXPECT_TRUE(userHookRan);
  EXPECT_EQ(done, 4) << "user commands are only the hook's";
}
