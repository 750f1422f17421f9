#include "platform/qt/QtEventLoop.h"

#include <QSocketNotifier>
#include <QTimer>

namespace platform::qt {
namespace {

// A timer or notifier may be dropped from its own signal: delete it once control is back in the loop.
template <typename T>
void DeleteLater(std::unique_ptr<T>& object) {
  if (!object) return;
  object->disconnect();
  object.release()->deleteLater();
}

}  // namespace

QtEventLoop::QtEventLoop() = default;

QtEventLoop::~QtEventLoop() = default;

TimerId QtEventLoop::StartTimer(int intervalMs, std::function<void()> tick) {
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(intervalMs);
  QObject::connect(timer.get(), &QTimer::timeout, std::move(tick));
  timer->start();
  const int id = ++lastId_;
  timers_[id] = std::move(timer);
  return {id};
}

void QtEventLoop::StopTimer(TimerId timer) {
  auto it = timers_.find(timer.id);
  if (it == timers_.end()) return;
  it->second->stop();
  DeleteLater(it->second);
  timers_.erase(it);
}

void QtEventLoop::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

WatchId QtEventLoop::WatchSocket(int descriptor, std::function<void(bool readable, bool writable)> ready) {
  Watch watch;
  watch.read = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
  watch.write = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Write);
  watch.write->setEnabled(false);
  QObject::connect(watch.read.get(), &QSocketNotifier::activated, [ready] { ready(true, false); });
  QObject::connect(watch.write.get(), &QSocketNotifier::activated, [ready] { ready(false, true); });
  const int id = ++lastId_;
  watches_[id] = std::move(watch);
  return {id};
}

void QtEventLoop::WantWrite(WatchId watch, bool wanted) {
  if (auto it = watches_.find(watch.id); it != watches_.end()) it->second.write->setEnabled(wanted);
}

void QtEventLoop::Unwatch(WatchId watch) {
  auto it = watches_.find(watch.id);
  if (it == watches_.end()) return;
  it->second.read->setEnabled(false);
  it->second.write->setEnabled(false);
  DeleteLater(it->second.read);
  DeleteLater(it->second.write);
  watches_.erase(it);
}

}  // namespace platform::qt
