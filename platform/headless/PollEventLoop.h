// An event loop on the real clock for tests, qmtool and the fuzzers: timers, posted calls and sockets
// watched with poll(), run until a condition holds or a time is up.
#pragma once

#include <chrono>
#include <deque>
#include <map>

#include "platform/EventLoop.h"

namespace platform::headless {

class PollEventLoop : public EventLoop {
 public:
  using Clock = std::chrono::steady_clock;

  TimerId StartTimer(int intervalMs, std::function<void()> tick) override;
  void StopTimer(TimerId timer) override { timers_.erase(timer.id); }
  void Post(std::function<void()> call) override { posted_.push_back(std::move(call)); }
  WatchId WatchSocket(int descriptor, std::function<void(bool readable, bool writable)> ready) override;
  void WantWrite(WatchId watch, bool wanted) override;
  void Unwatch(WatchId watch) override { watches_.erase(watch.id); }

  // Runs the loop until done() holds (true) or timeoutMs have passed (false).
  bool RunUntil(const std::function<bool()>& done, int timeoutMs);
  // Runs the loop for that long.
  void RunFor(int milliseconds);
  int Watched() const { return static_cast<int>(watches_.size()); }

 private:
  // Runs the posted calls and the timers that are due, then waits for a socket until the next timer or deadline.
  void RunOnce(Clock::time_point deadline);
  struct Timer {
    std::chrono::milliseconds interval;
    Clock::time_point due;
    std::function<void()> tick;
  };
  struct Watch {
    int descriptor;
    bool wantWrite;
    std::function<void(bool, bool)> ready;
  };
  std::map<int, Timer> timers_;
  std::map<int, Watch> watches_;
  std::deque<std::function<void()>> posted_;
  int lastId_ = 0;
};

}  // namespace platform::headless
