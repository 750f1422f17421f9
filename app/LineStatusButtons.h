// The three "Editor Bookmarks" buttons ("Unknown", "Not Ready", "Incorrect"): one group in which at most one
// button is down. Each click clears the caret line's plain marks and, when its button went down, marks the
// line with the button's image.
#pragma once

#include "editor/CustomEdit.h"

namespace app {

class TLineStatusButtons {
 public:
  enum Button { Unknown = 0, NotReady = 1, Incorrect = 2 };
  static constexpr int kImageIndex[] = {3, 4, 2};  // the buttons' tags: images of the main window's list

  void Click(editor::TqeCustomEdit& editor, Button button);  // SpeedButton1Click .. SpeedButton3Click
  // The button that is down, or -1.
  int Down() const { return down_; }

 private:
  int down_ = -1;
};

}  // namespace app
