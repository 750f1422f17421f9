// Timers through QTimer, posted calls as queued calls, sockets through QSocketNotifier.
#pragma once

#include <QObject>
#include <map>
#include <memory>

#include "platform/EventLoop.h"

class QTimer;
class QSocketNotifier;

namespace platform::qt {

class QtEventLoop : public EventLoop {
 public:
  QtEventLoop();
  ~QtEventLoop() override;
  TimerId StartTimer(int intervalMs, std::function<void()> tick) override;
  void StopTimer(TimerId timer) override;
  void Post(std::function<void()> call) override;
  WatchId WatchSocket(int descriptor, std::function<void(bool readable, bool writable)> ready) override;
  void WantWrite(WatchId watch, bool wanted) override;
  void Unwatch(WatchId watch) override;

 private:
  struct Watch {
    std::unique_ptr<QSocketNotifier> read, write;
  };
  // Owns the queued calls, so none runs once the loop is gone.
  QObject context_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::map<int, Watch> watches_;
  int lastId_ = 0;
};

}  // namespace platform::qt
