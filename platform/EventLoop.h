// The program's one thread runs an event loop: timers, calls posted to it and sockets it watches. QTimer,
// queued calls and socket notifiers in the program; a manually pumped loop with a fake clock, or a poll()
// loop on the real clock, in tests and qmtool.
#pragma once

#include <functional>

namespace platform {

struct TimerId {
  int id = 0;  // 0: no timer
  friend bool operator==(const TimerId&, const TimerId&) = default;
};

struct WatchId {
  int id = 0;  // 0: nothing watched
  friend bool operator==(const WatchId&, const WatchId&) = default;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Calls tick every intervalMs milliseconds (0: as soon as the loop is idle) until stopped.
  virtual TimerId StartTimer(int intervalMs, std::function<void()> tick) = 0;
  virtual void StopTimer(TimerId timer) = 0;
  // Calls call once from the loop, never inside the caller.
  virtual void Post(std::function<void()> call) = 0;
  // Watches a socket descriptor: ready(readable, writable) is called when it can be read (which includes
  // a closed or failed connection) and, while writing is wanted, when it can be written.
  virtual WatchId WatchSocket(int descriptor, std::function<void(bool readable, bool writable)> ready) = 0;
  virtual void WantWrite(WatchId watch, bool wanted) = 0;
  // Stops watching; ready is not called again, even for an event the loop already collected.
  virtual void Unwatch(WatchId watch) = 0;
};

}  // namespace platform
