// Timers and posted calls on the program's one thread: QTimer in the program, a manually pumped loop with
// a fake clock in tests.
#pragma once

#include <functional>

namespace platform {

struct TimerId {
  int id = 0;  // 0: no timer
  friend bool operator==(const TimerId&, const TimerId&) = default;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Calls tick every intervalMs milliseconds (0: as soon as the loop is idle) until stopped.
  virtual TimerId StartTimer(int intervalMs, std::function<void()> tick) = 0;
  virtual void StopTimer(TimerId timer) = 0;
};

}  // namespace platform
