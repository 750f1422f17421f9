// Whole files read and written byte for byte in the tests' own folders.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testfiles {

inline std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Makes the file's folders first.
inline void Write(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace testfiles
