// Atomic replacement of files.
#include "platform/FileIO.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

namespace platform {
namespace fs = std::filesystem;

std::string ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  std::error_code ec;
  if (!in || fs::is_directory(file, ec)) throw EFileError("Cannot open file " + file.string());
  std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    throw EFileError("Cannot open file " + file.string());
  return bytes;
}

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
