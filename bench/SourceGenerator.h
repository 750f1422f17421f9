// Deterministic source files for the scanners' benchmarks: realistic Perl, C++ and Java of a given size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bench {

// language: "perl", "cpp" or "java". Functions with comments (some over several lines), strings, numbers,
// keywords, operators and indentation, about `bytes` long.
std::string RealisticSource(std::string_view language, std::size_t bytes);

}  // namespace bench
