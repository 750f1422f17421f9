// TqeRegexSearch: the matches of a Perl-compatible regular expression within one line, through PCRE2 (with
// its just-in-time compiler where the machine has one), and the replacement of each with $0..$9 filled in.
// A pattern that is not valid raises the library's message with its position; a match that runs past
// the library's limits raises an error instead of running away.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

struct TextMatch {
  int position = 0;  // 1-based
  int length = 0;
  std::string replacement;  // filled when a replacement template was given
};

class TqeRegexSearch {
 public:
  TqeRegexSearch(std::string_view pattern, bool caseSensitive, bool wholeWord);
  ~TqeRegexSearch();
  TqeRegexSearch(const TqeRegexSearch&) = delete;
  TqeRegexSearch& operator=(const TqeRegexSearch&) = delete;

  // Every match in the line, left to right; an empty match counts once where it stands. With a template,
  // each match carries its replacement: "$0" the match, "$1".."$9" its groups (empty when a group took no
  // part), "$$" a dollar sign.
  std::vector<TextMatch> FindAll(std::string_view line, const std::string* replacementTemplate = nullptr);
  // Whether the whole of text is a match.
  bool MatchesWhole(std::string_view text);

 private:
  struct Code;
  std::unique_ptr<Code> code_;
  bool wholeWord_;
};

}  // namespace editor
