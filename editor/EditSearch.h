// TqeEditSearch: every occurrence of a pattern in one line, found with a skip table, with or without regard
// to case and optionally as whole words only. Matches never overlap.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace editor {

// Options of TqeCustomEdit::SearchReplace.
enum TSearchOption : unsigned {
  soMatchCase = 1,            // compare with regard to case
  soWholeWord = 2,            // a match touches no letter or digit on either side
  soBackwards = 4,            // from the end of the area towards its start
  soEntireScope = 8,          // the whole area, not only from the caret on (or up to it, backwards)
  soSelectedOnly = 16,        // the area is the selection, when there is one
  soReplace = 32,             // replace the match
  soReplaceAll = 64,          // replace every match of the area, as one undo step
  soRegularExpression = 128,  // the search text is a Perl-compatible pattern; $0..$9 in the replacement
};
using TSearchOptions = unsigned;

// What an OnReplaceText handler answers for a match.
enum TqeReplaceAction { ReplaceCancel = 0, ReplaceSkip = 1, ReplaceOne = 2, ReplaceAll = 3 };

class TqeEditSearch {
 public:
  TqeEditSearch();

  const std::string& Pattern() const { return pattern_; }
  // A different pattern rebuilds the tables; an empty one raises "Pattern is empty". Resets the count.
  void SetPattern(std::string_view pattern);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool on);
  bool WholeWord() const { return wholeWord_; }
  void SetWholeWord(bool on) { wholeWord_ = on; }

  // Every match of the text, kept for MatchAt; returns how many.
  int FindAllMatches(std::string_view text);
  // The first match's position (1-based), 0 when there is none; FindNextMatch goes on after the last match.
  int FindFirstMatch(std::string_view text);
  int FindNextMatch();
  // The i-th (0-based) position found by FindAllMatches; 0 outside the list.
  int MatchAt(int i) const { return i >= 0 && i < MatchCount() ? matches_[i] : 0; }
  int MatchCount() const { return static_cast<int>(matches_.size()); }
  // Matches found since the pattern was set.
  int Count() const { return count_; }
  // After the text changed at position by delta bytes, the later positions found move with it.
  void ShiftMatches(int position, int delta);

 private:
  void BuildTables();
  unsigned char Fold(char c) const { return fold_[static_cast<unsigned char>(c)]; }
  // Whether the pattern, and the whole-word rule, match the text at start.
  bool MatchesAt(std::size_t start) const;
  // Counts the match at start, moves past it and returns its position.
  int Found(std::size_t start);

  std::string pattern_;  // as given
  std::string folded_;   // through the fold table
  bool caseSensitive_ = false;
  bool wholeWord_ = false;
  std::array<unsigned char, 256> fold_{};
  std::array<std::size_t, 256> skip_{};
  std::array<bool, 256> endsPattern_{};  // the bytes that fold to the pattern's last byte
  // The (at most two) bytes that fold to the pattern's first and last bytes, for the 16-at-a-time scan.
  std::optional<std::pair<unsigned char, unsigned char>> first_, last_;
  std::size_t lookBack_ = 0;
  std::string_view text_;
  std::size_t windowEnd_ = 0;  // 0-based index of the window's last byte
  int count_ = 0;
  std::vector<int> matches_;
};

}  // namespace editor
