// Peak memory of one load, measured in a fresh process: this program started again with a flag that
// makes it load one file, print its peak resident kilobytes above where it started, and exit.
#pragma once

#include <filesystem>
#include <string>

namespace bench {

long ResidentKilobytes(const char* field);
// Runs this program with `flag FILE` and reads the kilobytes it prints; -1 when it fails.
long PeakKilobytesOfChild(const std::string& flag, const std::filesystem::path& file);

}  // namespace bench
