// The live preview: while it is on and the preview page shows, the editor's text is shown again once
// typing pauses (300 ms unless the Preview preference says otherwise). Each change restarts the wait, so typing never
// waits for a render and a render that would be stale is never queued.
#pragma once

#include <functional>

#include "platform/EventLoop.h"

namespace app {

class LivePreview {
 public:
  static constexpr int kPauseMs = 300;

  LivePreview(platform::EventLoop& loop, std::function<void()> render) : loop_(loop), render_(std::move(render)) {}
  ~LivePreview() { loop_.StopTimer(timer_); }
  LivePreview(const LivePreview&) = delete;
  LivePreview& operator=(const LivePreview&) = delete;

  bool On() const { return on_; }
  void SetOn(bool on);
  void SetPauseMs(int ms) { pauseMs_ = ms; }
  // Whether the preview page is the one shown.
  void SetShowing(bool showing);
  void TextChanged();

 private:
  void Fire();
  platform::EventLoop& loop_;
  std::function<void()> render_;
  platform::TimerId timer_;
  int pauseMs_ = kPauseMs;
  bool on_ = false;
  bool showing_ = false;
};

}  // namespace app
