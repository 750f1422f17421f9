// The ten bookmarks and placing marks.
#include <algorithm>

#include "editor/CustomEdit.h"

namespace editor {

const TMark* TqeCustomEdit::Bookmark(int number) const {
  for (int i = 0; i < marks_.Count(); ++i)
    if (marks_[i].bookmarkNumber == number) return &marks_[i];
  return nullptr;
}

void TqeCustomEdit::ClearBookmark(int number) {
  for (int i = 0; i < marks_.Count(); ++i) {
    if (marks_[i].bookmarkNumber == number) {
      marks_.Delete(i);
      return;
    }
  }
}

void TqeCustomEdit::SetBookmark(int number, int column, int line) {
  if (number < 0 || number > 9 || line < 1 || line > LineCount()) return;
  TMark mark{line, column, number, number, true, bookmarkImages_ == nullptr};
  bool keep = true;
  if (OnPlaceBookmark) OnPlaceBookmark(mark, keep);
  if (!keep) return;
  for (int i = marks_.Count() - 1; i >= 0; --i)
    if (marks_[i].IsBookmark() && marks_[i].line == mark.line) marks_.Delete(i);
  ClearBookmark(number);
  marks_.Add(mark);
}

void TqeCustomEdit::GotoBookmark(int number) {
  const TMark* mark = Bookmark(number);
  if (!mark || mark->line > LineCount()) return;
  SetCaretXY({mark->column, mark->line});
  EnsureCaretVisible();
}

// The set-bookmark keys toggle: on the bookmark's own line they remove it, elsewhere they move it here.
void TqeCustomEdit::ToggleBookmark(int number) {
  if (const TMark* mark = Bookmark(number)) {
    const bool sameLine = mark->line == caret_.line;
    ClearBookmark(number);
    if (sameLine) return;
  }
  SetBookmark(number, caret_.column, caret_.line);
}

void TqeCustomEdit::PlaceMark(TMark mark) {
  bool keep = true;
  if (OnPlaceBookmark) OnPlaceBookmark(mark, keep);
  if (keep) marks_.Add(mark);
}

}  // namespace editor
