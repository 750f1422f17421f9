// The scanners by language: one row each, with the name qmtool and the tests use, the name the language
// drop-down shows and the file filter the scanner starts with.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "highlighters/CustomHighlighter.h"

namespace highlighters {

struct Language {
  std::string_view name;           // "html", "perl", "cpp", ...
  std::string_view displayName;    // "HTML", "Perl", "C++", ...
  std::string_view defaultFilter;  // "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi", ...
  std::unique_ptr<TqeCustomHighLighter> (*create)();
};

std::span<const Language> Languages();
// The scanner for a language's name; nothing for a name without one.
std::unique_ptr<TqeCustomHighLighter> CreateHighlighter(std::string_view name);

}  // namespace highlighters
