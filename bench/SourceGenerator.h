// Deterministic source files for the scanners' benchmarks: realistic code of a given size in each language
// that has a scanner besides HTML, and a page that holds several.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bench {

// language: a scanner's name ("perl", "cpp", "java", "vbscript", "sql", "pascal", "awk", "css", "javascript",
// "php"). Functions with comments (some over several lines), strings, numbers, keywords, operators and
// indentation, about `bytes` long; style sheets pretty and minified; PHP templates mixing HTML. "webpage":
// a page with <style> and <script> blocks in it.
std::string RealisticSource(std::string_view language, std::size_t bytes);

}  // namespace bench
