// The thread tells the loop it is done through a pipe the loop watches, the one thing a loop can hear
// from another thread.
#include "platform/BackgroundJob.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <system_error>
#include <thread>

namespace platform {
namespace {

// What the thread and the loop share: the thread writes a byte into the pipe when the work is done. The
// thread keeps its own reference, so a job destroyed meanwhile ends harmlessly. The flag, set with
// release order after the work, is what makes the work's writes visible to the loop's thread: a readable
// pipe alone orders nothing in the memory model.
struct JobPipe {
  int ends[2] = {-1, -1};
  std::atomic<bool> finished{false};
  ~JobPipe() {
    for (int end : ends)
      if (end >= 0) ::close(end);
  }
};

class ThreadJob : public BackgroundJob {
 public:
  ThreadJob(EventLoop& loop, std::function<void()> work, std::function<void()> done)
      : loop_(loop), pipe_(std::make_shared<JobPipe>()), done_(std::move(done)) {
    if (::pipe2(pipe_->ends, O_CLOEXEC | O_NONBLOCK) == 0) {
      watch_ = loop_.WatchSocket(pipe_->ends[0], [this](bool, bool) {
        if (!pipe_->finished.load(std::memory_order_acquire)) return;
        // done may destroy the job, and Unwatch the callback running now: neither is touched after.
        auto done = std::move(done_);
        loop_.Unwatch(watch_);
        watch_ = {};
        done();
      });
      try {
        std::thread([pipe = pipe_, work] {
          work();
          pipe->finished.store(true, std::memory_order_release);
          const char byte = 1;
          [[maybe_unused]] const auto written = ::write(pipe->ends[1], &byte, 1);
        }).detach();
        return;
      } catch (const std::system_error&) {
        loop_.Unwatch(watch_);
        watch_ = {};
      }
    }
    work();
    loop_.Post([alive = alive_, done = std::move(done_)] {
      if (*alive) done();
    });
  }
  ~ThreadJob() override {
    *alive_ = false;
    if (watch_.id) loop_.Unwatch(watch_);
  }

 private:
  EventLoop& loop_;
  std::shared_ptr<JobPipe> pipe_;
  std::function<void()> done_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  WatchId watch_;
};

}  // namespace

std::unique_ptr<BackgroundJob> StartBackgroundJob(EventLoop& loop, std::function<void()> work,
                                                  std::function<void()> done) {
  return std::make_unique<ThreadJob>(loop, std::move(work), std::move(done));
}

}  // namespace platform
