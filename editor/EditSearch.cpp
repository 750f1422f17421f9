// The skip-table matcher. The window's last byte is compared first; on a mismatch the window jumps by the
// skip value of the byte just after it, and after a failed comparison by the look-back distance plus the
// skip value of the byte that far beyond the window.
#include "editor/EditSearch.h"

#include "editor/EditTypes.h"
#include "platform/Cp1252.h"

namespace editor {

TqeEditSearch::TqeEditSearch() { SetCaseSensitive(false); }

void TqeEditSearch::SetPattern(std::string_view pattern) {
  if (pattern.empty()) throw EqeEditError("Pattern is empty");
  count_ = 0;
  if (pattern == pattern_) return;
  pattern_ = pattern;
  BuildTables();
}

void TqeEditSearch::SetCaseSensitive(bool on) {
  caseSensitive_ = on;
  for (int c = 0; c < 256; ++c)
    fold_[c] = on ? static_cast<unsigned char>(c) : platform::Cp1252Lower(static_cast<unsigned char>(c));
  BuildTables();
}

void TqeEditSearch::BuildTables() {
  const std::size_t n = pattern_.size();
  folded_.resize(n);
  for (std::size_t i = 0; i < n; ++i) folded_[i] = static_cast<char>(Fold(pattern_[i]));
  // Bytes the pattern lacks move the window past themselves; the others as far as their last occurrence
  // allows. With the fold table, a letter and its capital share their skip.
  skip_.fill(n + 1);
  for (int c = 0; c < 256; ++c) {
    const unsigned char folded = fold_[c];
    for (std::size_t j = n; j-- > 0;) {
      if (static_cast<unsigned char>(folded_[j]) == folded) {
        skip_[c] = n - j;
        break;
      }
    }
  }
  lookBack_ = n;
  for (std::size_t j = n - (n > 0 ? 1 : 0); j-- > 0;) {
    if (folded_[j] == folded_[n - 1]) {
      lookBack_ = n - 1 - j;
      break;
    }
  }
}

bool TqeEditSearch::IsWholeWord(std::size_t start) const {
  const std::size_t end = start + pattern_.size();
  if (start > 0 && platform::Cp1252IsAlphaNumeric(static_cast<unsigned char>(text_[start - 1]))) return false;
  return end >= text_.size() || !platform::Cp1252IsAlphaNumeric(static_cast<unsigned char>(text_[end]));
}

int TqeEditSearch::FindFirstMatch(std::string_view text) {
  text_ = text;
  if (pattern_.empty() || text.size() < pattern_.size()) {
    windowEnd_ = text.size();
    return 0;
  }
  windowEnd_ = pattern_.size() - 1;
  return FindNextMatch();
}

int TqeEditSearch::FindNextMatch() {
  const std::size_t n = pattern_.size();
  const std::size_t size = text_.size();
  const auto last = static_cast<unsigned char>(folded_.empty() ? 0 : folded_[n - 1]);
  auto skipAt = [&](std::size_t i) { return i < size ? skip_[static_cast<unsigned char>(text_[i])] : n + 1; };
  while (windowEnd_ < size) {
    if (Fold(text_[windowEnd_]) != last) {
      windowEnd_ += skipAt(windowEnd_ + 1);
      continue;
    }
    const std::size_t start = windowEnd_ + 1 - n;
    std::size_t j = 0;
    while (j + 1 < n && Fold(text_[start + j]) == static_cast<unsigned char>(folded_[j])) ++j;
    if (j + 1 >= n && (!wholeWord_ || IsWholeWord(start))) {
      ++count_;
      windowEnd_ += n;
      return static_cast<int>(start) + 1;
    }
    windowEnd_ += lookBack_ - 1 + skipAt(windowEnd_ + lookBack_);
  }
  return 0;
}

int TqeEditSearch::FindAllMatches(std::string_view text) {
  matches_.clear();
  for (int at = FindFirstMatch(text); at != 0; at = FindNextMatch()) matches_.push_back(at);
  return MatchCount();
}

void TqeEditSearch::ShiftMatches(int position, int delta) {
  for (int i = MatchCount() - 1; i >= 0 && matches_[i] > position; --i) matches_[i] -= delta;
}

}  // namespace editor
