// Deterministic source files for the scanners' benchmarks: realistic code of a given size in each language
// that has a scanner besides HTML.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bench {

// language: a scanner's name ("perl", "cpp", "java", "vbscript", "sql", "pascal", "awk"). Functions with comments (some
// over several lines), strings, numbers, keywords, operators and indentation, about `bytes` long.
std::string RealisticSource(std::string_view language, std::size_t bytes);

}  // namespace bench
