// A headless window for a core control: a fixed client size, and a log of what the control asked for.
#pragma once

#include <vector>

#include "platform/ControlWindow.h"

namespace platform::headless {

class RecordingWindow : public ControlWindow {
 public:
  explicit RecordingWindow(Size client = {800, 600}) : client_(client) {}

  Size ClientSize() const override { return client_; }
  void Invalidate(const Rect& area) override { invalidated.push_back(area); }
  void ScrollContents(int dx, int dy) override { scrolled.push_back({dx, dy}); }
  void SetScrollBar(ScrollBarKind kind, const ScrollBarState& state) override;
  void SetCaret(const Rect& rect) override { caret = rect; }
  void RepaintNow() override { ++repaintsNow; }

  void Resize(Size client) { client_ = client; }
  void ClearLog();

  std::vector<Rect> invalidated;
  std::vector<Point> scrolled;
  ScrollBarState vertical, horizontal;
  int scrollBarUpdates = 0;
  Rect caret;
  int repaintsNow = 0;

 private:
  Size client_;
};

}  // namespace platform::headless
