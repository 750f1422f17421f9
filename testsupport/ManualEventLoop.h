// An event loop that runs only when a test advances its clock.
#pragma once

#include <algorithm>
#include <map>

#include "platform/EventLoop.h"

namespace platform::fakes {

class ManualEventLoop : public EventLoop {
 public:
  TimerId StartTimer(int intervalMs, std::function<void()> tick) override {
    const int id = ++lastId_;
    timers_[id] = {intervalMs, now_ + intervalMs, std::move(tick)};
    return {id};
  }
  void StopTimer(TimerId timer) override { timers_.erase(timer.id); }

  // Moves the clock on, running every tick that falls due on the way, in time order.
  void Advance(int milliseconds) {
    const long end = now_ + milliseconds;
    for (;;) {
      auto next = timers_.end();
      for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
      if (next == timers_.end()) break;
      now_ = next->second.due;
      next->second.due = now_ + std::max(1, next->second.interval);
      auto tick = next->second.tick;  // the tick may stop or restart its own timer
      tick();
    }
    now_ = end;
  }
  int RunningTimers() const { return static_cast<int>(timers_.size()); }

 private:
  struct Timer {
    int interval;
    long due;
    std::function<void()> tick;
  };
  std::map<int, Timer> timers_;
  long now_ = 0;
  int lastId_ = 0;
};

}  // namespace platform::fakes
