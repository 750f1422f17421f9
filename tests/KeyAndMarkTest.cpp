// The key map's rules, bookmarks and marks, and the timed auto-scroll of a drag past the window's edge.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/KeyStrokes.h"
#include "platform/headless/ManualEventLoop.h"
#include "testsupport/RecordingCanvas.h"

using namespace editor;

TEST(KeyStrokes, DefaultsLookupsAndNames) {
  TqeKeyStrokes keys;
  keys.SetDefaultBindings();
  EXPECT_EQ(keys.Count(), 76);
  auto command = [&](std::uint16_t key, TShiftState shift) {
    const int i = keys.FindKeyBinding(key, shift);
    return i < 0 ? TqeEditorCommand{ecNone} : keys[i].Command;
  };
  EXPECT_EQ(command('Z', ssCtrl | ssShift), ecRedo);
  EXPECT_EQ(command(VK_BACK, ssShift | ssAlt), ecRedo);
  EXPECT_EQ(command('Z', ssCtrl | ssShift | ssAlt), ecNone);
  EXPECT_EQ(command(VK_LEFT, ssCtrl | ssAlt), ecNone);
  EXPECT_EQ(command('5', ssCtrl), ecGotoMarker0 + 5);
  EXPECT_EQ(keys[0].DisplayName(), "Up - ecUp");
  EXPECT_EQ(keys[75].DisplayName(), "Shift+Ctrl+L - ecLineSelect");

  TqeKeyStroke& custom = keys.Add();
  custom.Command = 1002;
  custom.SetShortCut(TextToShortCut("Ctrl+F7"));
  EXPECT_EQ(custom.DisplayName(), "Ctrl+F7 - 1002");
}

TEST(KeyStrokes, ADuplicateShortcutIsRefused) {
  TqeKeyStrokes keys;
  keys.SetDefaultBindings();
  const int ctrlInsert = keys.FindKeyBinding(VK_INSERT, ssCtrl);
  try {
    keys[ctrlInsert].SetShortCut(ShortCut('C', ssCtrl));
    FAIL() << "the duplicate should be refused";
  } catch (const EqeKeyError& e) {
    EXPECT_STREQ(e.what(), "Shortcut already exists");
  }
  EXPECT_EQ(keys[ctrlInsert].Key, VK_INSERT) << "the binding keeps its old key";
  keys[ctrlInsert].SetShortCut(0);
  EXPECT_EQ(keys[ctrlInsert].Key, 0);
  EXPECT_EQ(TextToShortCut("Shift+Ctrl+Alt+PgDn"), 8192 + 16384 + 32768 + VK_NEXT);
  EXPECT_EQ(ShortCutToText(ShortCut(VK_BACK, ssShift | ssAlt)), "Shift+Alt+BkSp");
}

TEST_F(EditorTest, UnboundKeysAreLeftToTheHost) {
  EXPECT_FALSE(editor.KeyDown(VK_LEFT, ssCtrl | ssAlt));
  EXPECT_TRUE(editor.KeyDown(VK_LEFT, 0));
}

TEST_F(EditorTest, PlacingBookmarksAndMarks) {
  SetLines({"a", "b", "c"});
  editor.OnPlaceBookmark = [](TMark& mark, bool& keep) {
    if (mark.line == 2) keep = false;
  };
  editor.SetBookmark(1, 1, 2);
  EXPECT_EQ(editor.Bookmark(1), nullptr) << "the handler cancelled it";
  editor.SetBookmark(1, 1, 3);
  editor.SetBookmark(12, 1, 1);
  editor.SetBookmark(2, 1, 9);
  EXPECT_EQ(editor.Marks().Count(), 1);
  editor.PlaceMark({1, 1, 3, -1, true, false});
  editor.Marks().ClearLine(1);
  EXPECT_EQ(editor.Marks().Count(), 1) << "ClearLine keeps bookmarks and removes plain marks";

  editor.SetCaretXY({1, 1});
  editor.Lines().Delete(2);  // the bookmark's line goes, and the mark stays where it was
  editor.GotoBookmark(1);
  EXPECT_EQ(editor.CaretLine(), 1);
}

TEST_F(EditorTest, HiddenGlyphsStayInTheList) {
  SetLines({"a"});
  editor.SetBookmark(0, 1, 1);
  editor.BookMarkOptions().GlyphsVisible = false;
  platform::fakes::RecordingCanvas canvas;
  editor.Paint(canvas, {0, 0, 800, 600});
  for (const auto& call : canvas.Calls()) EXPECT_EQ(call.find("#00A00000"), std::string::npos) << call;
  EXPECT_EQ(editor.Marks().Count(), 1);
}

TEST_F(EditorTest, DraggingPastTheBottomScrollsOnATimer) {
  std::vector<std::string> lines(200, "text");
  SetLines(lines);
  platform::headless::ManualEventLoop loop;
  editor.SetEventLoop(&loop);
  editor.MouseDown(MouseButton::Left, 0, 40, 8);
  editor.MouseMove(0, 40, 605, true);  // 5 pixels below: a line a step, every 100 ms
  EXPECT_EQ(editor.TopLine(), 2);
  loop.Advance(300);
  EXPECT_EQ(editor.TopLine(), 5);
  EXPECT_EQ(editor.SelectionEnd().line, editor.TopLine() + editor.VisibleRows() - 1);
  editor.MouseMove(0, 40, 700, true);  // far below: a page a step, as fast as the loop runs
  EXPECT_EQ(editor.TopLine(), 5 + editor.VisibleRows());
  editor.MouseUp(MouseButton::Left, 0, 40, 700);
  EXPECT_EQ(loop.RunningTimers(), 0);
  EXPECT_TRUE(editor.HasSelection());
}

TEST(UndoList, LoweringTheLimitDropsTheOldest) {
  TUndoList list;
  for (int i = 0; i < 6; ++i) list.AddRecord(UndoInsert, {i + 1, 1}, smNormal, "", {i + 2, 1});
  list.SetMaxCount(5);
  EXPECT_EQ(list.RecordCount(), 5);
  EXPECT_EQ(list.TakeRecord().start.column, 6);
  TUndoList empty;
  EXPECT_EQ(empty.TakeRecord().kind, UndoNone);
  EXPECT_EQ(empty.LastKind(), UndoNone);
}
