// An exclusive lock on a file, held while the object lives and dropped by the system when the process
// ends in any way (a crash or kill -9 included), so a lock that can be taken names a program that is gone.
#pragma once

#include <filesystem>
#include <memory>

namespace platform {

class FileLock {
 public:
  // Creates the file when needed and locks it; nothing when another process holds it.
  static std::unique_ptr<FileLock> TryAcquire(const std::filesystem::path& file);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  explicit FileLock(int descriptor) : descriptor_(descriptor) {}
  int descriptor_;
};

}  // namespace platform
