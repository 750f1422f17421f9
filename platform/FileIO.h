// Reading and writing whole files with the program's error messages. Every write of a document goes to a
// temporary file beside the target that is then renamed over it, so a failed write never destroys the
// old file.
#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A file that cannot be read or written ("Cannot open file PATH", "Cannot create file PATH").
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole file's bytes, read in one piece of its size; raises "Cannot open file PATH".
std::string ReadFileBytes(const std::filesystem::path& file);

// A name beside file for this process's unfinished copy of it: "FILE.~PID" followed by suffix.
std::filesystem::path TemporaryBeside(const std::filesystem::path& file, std::string_view suffix);

// Calls write with a stream on a temporary file in target's folder and renames it over target. An existing
// target's permission bits are kept; a link is followed, so the file it points at is replaced. Any failure
// removes the temporary file, leaves target as it was and raises "Cannot create file TARGET".
void WriteFileAtomically(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write);

// Writes the pieces, one after the other, to a temporary file beside target, flushes it to the disk and renames it over
// target, so target holds either its old bytes or all the new ones even after a power cut. Raises "Cannot create file
// TARGET".
void WriteFileDurably(const std::filesystem::path& target, std::initializer_list<std::string_view> pieces);

}  // namespace platform
