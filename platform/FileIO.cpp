// Reading whole files, and atomic and durable replacement of files.
#include "platform/FileIO.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

fs::path TemporaryBeside(const fs::path& file, std::string_view suffix) {
  fs::path temp = file;
  temp += ".~" + std::to_string(::getpid()) + std::string(suffix);
  return temp;
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

  const fs::path temp = TemporaryBeside(file, ".tmp");
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

void WriteFileDurably(const fs::path& target, std::initializer_list<std::string_view> pieces) {
  const std::string message = "Cannot create file " + target.string();
  const fs::path temp = TemporaryBeside(target, ".tmp");
  const int descriptor = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (descriptor < 0) throw EFileError(message);
  bool written = true;
  for (const std::string_view bytes : pieces) {
    for (std::size_t done = 0; written && done < bytes.size();) {
      const ssize_t n = ::write(descriptor, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      written = n > 0;
      if (written) done += static_cast<std::size_t>(n);
    }
  }
  written = written && ::fsync(descriptor) == 0;
  written = ::close(descriptor) == 0 && written;
  if (!written || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw EFileError(message);
  }
  // The rename itself reaches the disk with the folder.
  const int folder = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(), O_RDONLY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace platform
