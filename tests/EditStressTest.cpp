// Random edits in every selection mode must keep the editor's invariants: a non-empty store, the caret and
// both selection corners inside it, and no error but the clipboard's.
#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"

TEST_F(EditorTest, RandomEditsKeepCaretAndSelectionInsideTheText) {
  std::mt19937 random(2024);
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  const char* texts[] = {"", "a", "word", "two\r\nlines", "x\ny\rz\r\n", "\r\n", "\t tab", "trailing   "};
  SetLines({"some text", "", "  indented line", "last"});
  for (int step = 0; step < 3000; ++step) {
    const int lines = editor.LineCount();
    switch (pick(9)) {
      case 0:
        editor.SetCaretXY({pick(40) - 2, pick(lines + 3) - 1});
        break;
      case 1:
        Select(pick(40) - 2, pick(lines + 3) - 1, pick(40), pick(lines + 3));
        break;
      case 2:
        editor.SetSelectionMode(static_cast<editor::TSelectionMode>(pick(3)));
        break;
      case 3:
        editor.SetSelectedText(texts[pick(8)]);
        break;
      case 4:
        editor.ReplaceSelectionRaw(static_cast<editor::TSelectionMode>(pick(3)), texts[pick(8)]);
        break;
      case 5:
        Type(texts[pick(8)]);
        break;
      case 6:
        editor.CopySelection();
        break;
      case 7:
        pick(2) ? editor.PasteClipboard() : editor.CutSelection();
        break;
      case 8:
        if (pick(20) == 0)
          editor.ClearText();
        else
          editor.SetInsertMode(pick(2));
        break;
    }
    ASSERT_GE(editor.LineCount(), 1);
    ASSERT_GE(editor.CaretLine(), 1);
    ASSERT_LE(editor.CaretLine(), editor.LineCount()) << "step " << step;
    ASSERT_GE(editor.CaretColumn(), 1);
    for (auto corner : {editor.SelectionStart(), editor.SelectionEnd()}) {
      ASSERT_GE(corner.line, 1);
      ASSERT_LE(corner.line, editor.LineCount()) << "step " << step;
    }
    (void)editor.SelectedText();
  }
}
