// Timers through QTimer.
#pragma once

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/EventLoop.h"

namespace platform::qt {

class QtEventLoop : public EventLoop {
 public:
  TimerId StartTimer(int intervalMs, std::function<void()> tick) override {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(intervalMs);
    QObject::connect(timer.get(), &QTimer::timeout, std::move(tick));
    timer->start();
    const int id = ++lastId_;
    timers_[id] = std::move(timer);
    return {id};
  }
  void StopTimer(TimerId timer) override {
    auto it = timers_.find(timer.id);
    if (it == timers_.end()) return;
    it->second->stop();
    // A timer may stop itself from its own tick: delete it once control is back in the loop.
    it->second.release()->deleteLater();
    timers_.erase(it);
  }

 private:
  std::map<int, std::unique_ptr<QTimer>> timers_;
  int lastId_ = 0;
};

}  // namespace platform::qt
