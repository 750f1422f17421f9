// Atomic replacement of files.
#include "platform/FileIO.h"

#include <unistd.h>

#include <fstream>

namespace platform {
namespace fs = std::filesystem;

void WriteFileAtomically(const fs::path& target, const std::function<void(std::ostream&)>& write) {
  const std::string message = "Cannot create file " + target.string();
  std::error_code ec;
  // Replace what a link points at, not the link.
  fs::path file = target;
  if (fs::is_symlink(target, ec)) {
    file = fs::weakly_canonical(target, ec);
    if (ec) file = target;
  }
  if (fs::is_directory(file, ec)) throw EFileError(message);

  fs::path temp = file;
  temp += ".~" + std::to_string(::getpid()) + ".tmp";
  bool written = false;
  try {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out) {
      write(out);
      out.close();
      written = static_cast<bool>(out);
    }
  } catch (...) {
    written = false;
  }
  if (written) {
    if (fs::exists(file, ec)) fs::permissions(temp, fs::status(file, ec).permissions(), ec);
    fs::rename(temp, file, ec);
    if (!ec) return;
  }
  fs::remove(temp, ec);
  throw EFileError(message);
}

}  // namespace platform
