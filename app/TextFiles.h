// Line files of the data folder (recent.ini, the side lists): read with the editor's line rules, written
// with CR LF after every line, atomically.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace app {

// Raises "Cannot open file PATH" when the file cannot be read.
std::vector<std::string> ReadLines(const std::filesystem::path& file);
// Raises "Cannot create file PATH" and leaves the old file when it cannot be written.
void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace app
