// ReplaceSelectionRaw in the three deletion and three insertion modes, with marks following the lines,
// and the recorded public edits built on it.
#include <gtest/gtest.h>

#include "EditorFixture.h"

namespace {

std::vector<int> MarkLines(editor::TqeCustomEdit& e) {
  std::vector<int> lines;
  for (int i = 0; i < e.Marks().Count(); ++i) lines.push_back(e.Marks()[i].line);
  return lines;
}

}  // namespace

TEST_F(EditorTest, NormalDeletionJoinsAndTrimsAndMovesMarks) {
  SetLines({"keep", "head   tail-x", "gone", "more  end", "after"});
  for (int line : {1, 2, 3, 4, 5}) editor.Marks().Add({line, 1, 0, -1, true});
  Select(8, 2, 7, 4);
  editor.ReplaceSelectionRaw(editor::smNormal, {});
  EXPECT_EQ(Lines(), (::Lines{"keep", "head   end", "after"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{8, 2}));
  EXPECT_EQ(MarkLines(editor), (std::vector<int>{1, 2, 2, 2, 3}));

  Select(5, 1, 1, 2);
  editor.ReplaceSelectionRaw(editor::smNormal, {});
  EXPECT_EQ(Lines(), (::Lines{"keephead   end", "after"})) << "joined text keeps its inner blanks";
  Select(1, 1, 5, 1);
  editor.SetCaretXY({1, 1});
  editor.ReplaceSelectionRaw(editor::smNormal, "  ");
  EXPECT_EQ(Lines()[0], "  head   end");
}

TEST_F(EditorTest, ColumnDeletionCutsTheBlockAndLeavesMarks) {
  SetLines({"abcdef", "ab", "abcdefgh"});
  editor.Marks().Add({3, 1, 0, -1, true});
  editor.SetSelectionMode(editor::smColumn);
  Select(5, 3, 3, 1);
  editor.ReplaceSelectionRaw(editor::smNormal, {});
  EXPECT_EQ(Lines(), (::Lines{"abef", "ab", "abefgh"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{3, 1})) << "left column, on the line of SelectionEnd";
  EXPECT_EQ(MarkLines(editor), (std::vector<int>{3}));
}

TEST_F(EditorTest, LineDeletionEmptiesTheLastLineInsteadOfDeletingIt) {
  SetLines({"one", "two", "three", "four"});
  editor.Marks().Add({4, 1, 0, -1, true});
  editor.SetSelectionMode(editor::smLine);
  Select(2, 2, 1, 3);
  editor.ReplaceSelectionRaw(editor::smNormal, {});
  EXPECT_EQ(Lines(), (::Lines{"one", "four"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{1, 2}));
  EXPECT_EQ(MarkLines(editor), (std::vector<int>{2}));

  Select(1, 1, 1, 2);
  editor.ReplaceSelectionRaw(editor::smNormal, {});
  EXPECT_EQ(Lines(), (::Lines{""}));
  EXPECT_EQ(MarkLines(editor), (std::vector<int>{1})) << "a mark never leaves the text";
}

TEST_F(EditorTest, NormalInsertionSplitsAtTheCaretAndPadsPastTheEnd) {
  SetLines({"headtail", "x"});
  editor.Marks().Add({2, 1, 0, -1, true});
  editor.SetCaretXY({5, 1});
  editor.ReplaceSelectionRaw(editor::smNormal, "A\r\nB\nC\rD");
  EXPECT_EQ(Lines(), (::Lines{"headA", "B", "C", "Dtail", "x"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{2, 4}));
  EXPECT_EQ(MarkLines(editor), (std::vector<int>{5}));

  editor.SetCaretXY({4, 5});
  editor.ReplaceSelectionRaw(editor::smNormal, "y");
  EXPECT_EQ(Lines()[4], "x  y");
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{5, 5}));

  editor.SetCaretXY({1, 5});
  editor.ReplaceSelectionRaw(editor::smNormal, "end\r\n");
  EXPECT_EQ(Lines()[4], "end");
  EXPECT_EQ(Lines()[5], "x  y");
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{1, 6}));
}

TEST_F(EditorTest, ColumnInsertionWritesDownwardAndAddsLinesPastTheEnd) {
  SetLines({"abc", "a"});
  editor.SetCaretXY({3, 1});
  editor.ReplaceSelectionRaw(editor::smColumn, "12\r\n34\r\n56");
  EXPECT_EQ(Lines(), (::Lines{"ab12c", "a 34", "  56"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{5, 3}));
}

TEST_F(EditorTest, LineInsertionGoesAboveTheCaretLine) {
  SetLines({"one", "two"});
  editor.Marks().Add({2, 1, 0, -1, true});
  editor.SetCaretXY({3, 2});
  editor.ReplaceSelectionRaw(editor::smLine, "new1\r\nnew2\r\n");
  EXPECT_EQ(Lines(), (::Lines{"one", "new1", "new2", "two"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{1, 4}));
  EXPECT_EQ(MarkLines(editor), (std::vector<int>{4}));

  editor.ReplaceSelectionRaw(editor::smLine, "x\r\npre-");
  EXPECT_EQ(Lines(), (::Lines{"one", "new1", "new2", "x", "pre-two"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{5, 5}));
}

TEST_F(EditorTest, SelectedTextWriteIsRecordedAsDeleteThenInsert) {
  SetLines({"hello world"});
  Select(12, 1, 7, 1);  // made backward
  editor.SetSelectedText("there");
  EXPECT_EQ(Lines(), (::Lines{"hello there"}));
  ASSERT_EQ(editor.UndoList().RecordCount(), 2);
  auto insert = editor.UndoList().TakeRecord();
  EXPECT_EQ(insert.kind, editor::UndoInsert);
  EXPECT_EQ(insert.start, (editor::TextPoint{7, 1}));
  EXPECT_EQ(insert.end, (editor::TextPoint{12, 1}));
  EXPECT_EQ(insert.text, "");
  auto deletion = editor.UndoList().TakeRecord();
  EXPECT_EQ(deletion.kind, editor::UndoDelete);
  EXPECT_EQ(deletion.text, "world");
}

TEST_F(EditorTest, ClearTextKeepsUndoAndBringsTheCaretBackIntoTheText) {
  SetLines({"a", "b", "c"});
  editor.SetCaretXY({1, 3});
  Type("x");
  Select(1, 1, 2, 2);
  editor.ClearText();
  EXPECT_EQ(Lines(), (::Lines{""}));
  EXPECT_EQ(editor.CaretLine(), 1);
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(editor.UndoList().RecordCount(), 1);
  Type("y");
  EXPECT_EQ(Lines(), (::Lines{" y"}));
}

TEST_F(EditorTest, UndoListLimits) {
  editor.SetMaxUndo(3);
  Type("abcde");
  EXPECT_EQ(editor.UndoList().RecordCount(), 3);
  EXPECT_EQ(editor.UndoList().TakeRecord().start.column, 5) << "the oldest records were dropped";
  editor.SetMaxUndo(1);
  EXPECT_EQ(editor.UndoList().RecordCount(), 1);
  editor.SetMaxUndo(-4);
  EXPECT_EQ(editor.MaxUndo(), 1);
  editor.SetMaxUndo(0);
  Type("fg");
  EXPECT_EQ(editor.UndoList().RecordCount(), 1) << "MaxUndo 0 keeps the newest record alone";
  int changes = 0;
  editor.OnChange = [&] { ++changes; };
  editor.UndoList().Lock();
  Type("h");
  EXPECT_EQ(changes, 0);
  editor.UndoList().Unlock();
  Type("i");
  EXPECT_EQ(changes, 1);
}
