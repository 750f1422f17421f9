// Clipboard copy, cut and paste: both formats, modes surviving a round trip, and the failure messages.
#include <gtest/gtest.h>

#include "EditorFixture.h"

TEST_F(EditorTest, CopyPutsPlainTextAndTheModeBlock) {
  SetLines({"abc", "def"});
  editor.SetSelectionMode(editor::smColumn);
  Select(2, 1, 3, 2);
  editor.CopySelection();
  EXPECT_EQ(clipboard.Data(platform::kPlainTextFormat), "b\r\ne");
  EXPECT_EQ(clipboard.Data(editor::kBlockTypeFormat), std::string("\x01") + "b\r\ne");
}

TEST_F(EditorTest, ColumnBlockPastesBackAsAColumnInNormalMode) {
  SetLines({"abcd", "efgh", "ijkl"});
  editor.SetSelectionMode(editor::smColumn);
  Select(2, 1, 4, 2);
  editor.CopySelection();
  editor.SetSelectionMode(editor::smNormal);
  editor.SetCaretXY({1, 3});
  editor.SetSelectionStart({1, 3});
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"abcd", "efgh", "bcijkl", "fg"}));
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{1, 4})) << "at the block's left column; no line below it";
  auto paste = editor.UndoList().TakeRecord();
  EXPECT_EQ(paste.kind, editor::UndoPaste);
  EXPECT_EQ(paste.mode, editor::smColumn);
  EXPECT_EQ(paste.start, (editor::TextPoint{1, 3}));
  EXPECT_EQ(paste.end, (editor::TextPoint{3, 4}));
}

TEST_F(EditorTest, LineBlockPastesAboveTheCaretLineInNormalMode) {
  SetLines({"one", "two", "three"});
  editor.SetSelectionMode(editor::smLine);
  Select(1, 1, 2, 1);
  editor.CopySelection();
  editor.SetSelectionMode(editor::smNormal);
  editor.SetCaretXY({3, 3});
  editor.SetSelectionStart({3, 3});
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"one", "two", "one", "three"}));
}

TEST_F(EditorTest, PasteOverASelectionRecordsTheReplacedText) {
  SetLines({"hello world"});
  clipboard.SetItems({{std::string(platform::kPlainTextFormat), std::string("big\0ignored", 11)}});
  Select(7, 1, 12, 1);
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"hello big"})) << "plain text ends at a zero byte";
  ASSERT_EQ(editor.UndoList().RecordCount(), 2) << "the plain paste is one step: no separate insert record";
  EXPECT_EQ(editor.UndoList().TakeRecord().kind, editor::UndoPaste);
  auto replaced = editor.UndoList().TakeRecord();
  EXPECT_EQ(replaced.kind, editor::UndoSelectionReplaced);
  EXPECT_EQ(replaced.text, "world");
}

TEST_F(EditorTest, CutCopiesRecordsAndDeletes) {
  SetLines({"one two"});
  Select(4, 1, 8, 1);
  editor.CutSelection();
  EXPECT_EQ(Lines(), (::Lines{"one"}));
  EXPECT_EQ(clipboard.Data(platform::kPlainTextFormat), " two");
  ASSERT_EQ(editor.UndoList().RecordCount(), 1);
  auto cut = editor.UndoList().TakeRecord();
  EXPECT_EQ(cut.kind, editor::UndoDelete);
  EXPECT_EQ(cut.text, " two");
}

TEST_F(EditorTest, ClipboardFailuresRaiseAndLeaveTheTextAlone) {
  SetLines({"text"});
  Select(1, 1, 3, 1);
  clipboard.refuseWrites = true;
  try {
    editor.CutSelection();
    FAIL() << "cut should fail";
  } catch (const editor::EqeEditError& e) {
    EXPECT_STREQ(e.what(), "Clipboard copy operation failed");
  }
  EXPECT_EQ(Lines(), (::Lines{"text"}));
  EXPECT_EQ(editor.UndoList().RecordCount(), 0);

  clipboard.refuseWrites = false;
  editor.CopySelection();
  clipboard.refuseReads = true;
  try {
    editor.PasteClipboard();
    FAIL() << "paste should fail";
  } catch (const editor::EqeEditError& e) {
    EXPECT_STREQ(e.what(), "Clipboard paste operation failed.");
  }
  EXPECT_EQ(Lines(), (::Lines{"text"}));
}

TEST_F(EditorTest, NothingToCopyOrPasteChangesNothing) {
  SetLines({"text"});
  editor.CopySelection();
  EXPECT_FALSE(clipboard.HasFormat(platform::kPlainTextFormat));
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"text"}));
  EXPECT_EQ(editor.UndoList().RecordCount(), 0);
}
