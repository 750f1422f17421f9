#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<FileLock> FileLock::TryAcquire(const std::filesystem::path& file) {
  const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (descriptor < 0) return nullptr;
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    ::close(descriptor);
    return nullptr;
  }
  return std::unique_ptr<FileLock>(new FileLock(descriptor));
}

FileLock::~FileLock() { ::close(descriptor_); }

}  // namespace platform
