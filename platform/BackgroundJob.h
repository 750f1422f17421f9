// Work done on a thread of its own, its end heard on the loop: the page check over a snapshot, the host
// lookups under every transfer.
#pragma once

#include <functional>
#include <memory>

#include "platform/EventLoop.h"

namespace platform {

// A running job; destroying it means done is never called (the work still ends on its thread, harmlessly:
// what it shares with done must be held by both, as a shared_ptr is).
class BackgroundJob {
 public:
  virtual ~BackgroundJob() = default;
};

// Runs work on a new thread, then done from the loop. When no thread can be made the work runs at once
// on the caller's thread, and done still comes from the loop.
std::unique_ptr<BackgroundJob> StartBackgroundJob(EventLoop& loop, std::function<void()> work,
                                                  std::function<void()> done);

}  // namespace platform
