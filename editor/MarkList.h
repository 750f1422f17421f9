// Gutter marks: a position, an image, visibility and an optional bookmark number.
#pragma once

#include <functional>
#include <vector>

namespace editor {

struct TMark {
  int line = 1;
  int column = 1;
  int imageIndex = 0;
  int bookmarkNumber = -1;  // -1: a plain mark
  bool visible = true;
  bool internalImage = false;  // drawn with the editor's own glyphs even when it has BookmarkImages
  bool IsBookmark() const { return bookmarkNumber >= 0; }
};

class TMarkList {
 public:
  void Add(const TMark& mark) {
    marks_.push_back(mark);
    Changed();
  }
  void Clear() {
    marks_.clear();
    Changed();
  }
  void Delete(int index) {
    marks_.erase(marks_.begin() + index);
    Changed();
  }
  // Removes every mark of the line that is not a bookmark.
  void ClearLine(int line);
  int Count() const { return static_cast<int>(marks_.size()); }
  const TMark& operator[](int i) const { return marks_.at(i); }
  TMark& operator[](int i) { return marks_.at(i); }

  // Edits move marks: every mark whose line lies in [first, last] gets line + delta.
  void ShiftLines(int first, int last, int delta);
  // Every mark whose line lies in [first, last] moves to line target.
  void MoveLinesTo(int first, int last, int target);

  // The editor repaints its gutter.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<TMark> marks_;
};

}  // namespace editor
