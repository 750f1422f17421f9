// An event loop that runs only when its clock is moved on (qmtool edit scripts, tests). It has no sockets:
// network code runs on PollEventLoop.
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <stdexcept>

#include "platform/EventLoop.h"

namespace platform::headless {

class ManualEventLoop : public EventLoop {
 public:
  TimerId StartTimer(int intervalMs, std::function<void()> tick) override {
    const int id = ++lastId_;
    timers_[id] = {intervalMs, now_ + intervalMs, std::move(tick)};
    return {id};
  }
  void StopTimer(TimerId timer) override { timers_.erase(timer.id); }
  void Post(std::function<void()> call) override { posted_.push_back(std::move(call)); }
  WatchId WatchSocket(int, std::function<void(bool, bool)>) override {
    throw std::logic_error("ManualEventLoop does not watch sockets");
  }
  void WantWrite(WatchId, bool) override {}
  void Unwatch(WatchId) override {}

  // Moves the clock on, running the posted calls and every tick that falls due on the way, in time order.
  void Advance(int milliseconds) {
    const long end = now_ + milliseconds;
    for (;;) {
      RunPosted();
      auto next = timers_.end();
      for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
      if (next == timers_.end()) break;
      now_ = next->second.due;
      next->second.due = now_ + std::max(1, next->second.interval);
      auto tick = next->second.tick;  // the tick may stop or restart its own timer
      tick();
    }
    RunPosted();
    now_ = end;
  }
  int RunningTimers() const { return static_cast<int>(timers_.size()); }

 private:
  struct Timer {
    int interval;
    long due;
    std::function<void()> tick;
  };
  void RunPosted() {
    while (!posted_.empty()) {
      auto call = std::move(posted_.front());
      posted_.pop_front();
      call();
    }
  }
  std::map<int, Timer> timers_;
  std::deque<std::function<void()>> posted_;
  long now_ = 0;
  int lastId_ = 0;
};

}  // namespace platform::headless
