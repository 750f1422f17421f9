// The window services a core control needs from its host widget: size, invalidation, scrolling,
// scroll bars and the caret.
#pragma once

#include "platform/Geometry.h"

namespace platform {

enum class ScrollBarKind { Vertical, Horizontal };

struct ScrollBarState {
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;
  bool visible = true;  // a control may hide a bar it does not need
  friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

class ControlWindow {
 public:
  virtual ~ControlWindow() = default;
  virtual Size ClientSize() const = 0;
  virtual void Invalidate(const Rect& area) = 0;
  // Moves the painted contents by (dx, dy) pixels and invalidates what is uncovered.
  virtual void ScrollContents(int dx, int dy) = 0;
  virtual void SetScrollBar(ScrollBarKind kind, const ScrollBarState& state) = 0;
  // The caret's rectangle, in client pixels; an empty rectangle hides it.
  virtual void SetCaret(const Rect& caret) = 0;
  // Paints what is invalid now rather than on the next idle turn of the event loop.
  virtual void RepaintNow() = 0;
};

}  // namespace platform
