// Recording of window requests.
#include "platform/headless/RecordingWindow.h"

namespace platform::headless {

void RecordingWindow::SetScrollBar(ScrollBarKind kind, const ScrollBarState& state) {
  (kind == ScrollBarKind::Vertical ? vertical : horizontal) = state;
  ++scrollBarUpdates;
}

void RecordingWindow::ClearLog() {
  invalidated.clear();
  scrolled.clear();
  scrollBarUpdates = 0;
  repaintsNow = 0;
}

}  // namespace platform::headless
