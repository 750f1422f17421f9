#include "app/LineStatusButtons.h"

namespace app {

void TLineStatusButtons::Click(editor::TqeCustomEdit& editor, Button button) {
  down_ = down_ == button ? -1 : button;
  editor.Marks().ClearLine(editor.CaretLine());
  if (down_ < 0) return;
  editor::TMark mark;
  mark.line = editor.CaretLine();
  mark.column = editor.CaretColumn();
  mark.imageIndex = kImageIndex[button];
  mark.visible = true;
  mark.internalImage = editor.BookmarkImages() == nullptr;
  editor.PlaceMark(mark);
}

}  // namespace app
