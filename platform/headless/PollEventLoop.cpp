#include "platform/headless/PollEventLoop.h"

#include <poll.h>

#include <algorithm>
#include <vector>

namespace platform::headless {

TimerId PollEventLoop::StartTimer(int intervalMs, std::function<void()> tick) {
  const int id = ++lastId_;
  const std::chrono::milliseconds interval(intervalMs);
  timers_[id] = {interval, Clock::now() + interval, std::move(tick)};
  return {id};
}

WatchId PollEventLoop::WatchSocket(int descriptor, std::function<void(bool readable, bool writable)> ready) {
  const int id = ++lastId_;
  watches_[id] = {descriptor, false, std::move(ready)};
  return {id};
}

void PollEventLoop::WantWrite(WatchId watch, bool wanted) {
  if (auto it = watches_.find(watch.id); it != watches_.end()) it->second.wantWrite = wanted;
}

void PollEventLoop::RunOnce(Clock::time_point deadline) {
  // What a posted call changed is looked at before anything waits.
  if (!posted_.empty()) {
    while (!posted_.empty()) {
      auto call = std::move(posted_.front());
      posted_.pop_front();
      call();
    }
    return;
  }
  const auto now = Clock::now();
  std::vector<int> due;
  for (const auto& [id, timer] : timers_)
    if (timer.due <= now) due.push_back(id);
  for (const int id : due) {
    auto found = timers_.find(id);  // an earlier tick may have stopped it
    if (found == timers_.end()) continue;
    found->second.due = now + std::max(found->second.interval, std::chrono::milliseconds(1));
    auto tick = found->second.tick;
    tick();
  }
  if (!posted_.empty() || !due.empty()) return;
  Clock::time_point wake = deadline;
  for (const auto& [id, timer] : timers_) wake = std::min(wake, timer.due);
  std::vector<pollfd> polled;
  std::vector<int> ids;
  for (const auto& [id, watch] : watches_) {
    polled.push_back({watch.descriptor, static_cast<short>(POLLIN | (watch.wantWrite ? POLLOUT : 0)), 0});
    ids.push_back(id);
  }
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now()).count();
  if (::poll(polled.data(), polled.size(), static_cast<int>(std::max<long long>(0, wait))) <= 0) return;
  for (size_t i = 0; i < polled.size(); ++i) {
    auto it = watches_.find(ids[i]);  // an earlier call may have dropped it
    if (it == watches_.end() || polled[i].revents == 0) continue;
    const bool readable = (polled[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    const bool writable = it->second.wantWrite && (polled[i].revents & (POLLOUT | POLLERR | POLLHUP)) != 0;
    if (!readable && !writable) continue;
    auto ready = it->second.ready;
    ready(readable, writable);
  }
}

bool PollEventLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (Clock::now() >= deadline) return false;
    RunOnce(deadline);
  }
  return true;
}

void PollEventLoop::RunFor(int milliseconds) {
  RunUntil([] { return false; }, milliseconds);
}

}  // namespace platform::headless
