// Moving marks with the lines they stand on.
#include "editor/MarkList.h"

#include <algorithm>

namespace editor {

void TMarkList::ShiftLines(int first, int last, int delta) {
  for (auto& m : marks_)
    if (m.line >= first && m.line <= last) m.line = std::max(1, m.line + delta);  // a mark never leaves the text
}

void TMarkList::ClearLine(int line) {
  for (int i = Count() - 1; i >= 0; --i)
    if (marks_[i].line == line && !marks_[i].IsBookmark()) Delete(i);
}

void TMarkList::MoveLinesTo(int first, int last, int target) {
  for (auto& m : marks_)
    if (m.line >= first && m.line <= last) m.line = target;
}

}  // namespace editor
