// The skip-table matcher. The window's last byte is compared first; on a mismatch the window jumps by the
// skip value of the byte just after it, and after a failed comparison by the look-back distance plus the
// skip value of the byte that far beyond the window. Where the processor compares 16 bytes at once, the
// windows whose first and last bytes fit are picked out 16 at a time first, and only they are compared;
// the skip table takes the rest of a line. Both find the same matches.
#include "editor/EditSearch.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/EditTypes.h"
#include "editor/TextUtil.h"
#include "platform/Cp1252.h"

namespace editor {
namespace {

// The bytes that fold to target, when there are at most two of them (a letter and its capital).
std::optional<std::pair<unsigned char, unsigned char>> Preimages(const std::array<unsigned char, 256>& fold,
                                                                 unsigned char target) {
  int found = 0;
  unsigned char bytes[2] = {0, 0};
  for (int c = 0; c < 256; ++c) {
    if (fold[c] != target) continue;
    if (found == 2) return std::nullopt;
    bytes[found++] = static_cast<unsigned char>(c);
  }
  if (found == 1) bytes[1] = bytes[0];
  return std::pair{bytes[0], bytes[1]};
}

}  // namespace

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
  for (int c = 0; c < 256; ++c) endsPattern_[c] = n > 0 && fold_[c] == static_cast<unsigned char>(folded_[n - 1]);
  first_ = last_ = std::nullopt;
  if (n >= 2) {
    first_ = Preimages(fold_, static_cast<unsigned char>(folded_[0]));
    last_ = Preimages(fold_, static_cast<unsigned char>(folded_[n - 1]));
  }
  lookBack_ = n;
  for (std::size_t j = n - (n > 0 ? 1 : 0); j-- > 0;) {
    if (folded_[j] == folded_[n - 1]) {
      lookBack_ = n - 1 - j;
      break;
    }
  }
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

bool TqeEditSearch::MatchesAt(std::size_t start) const {
  for (std::size_t j = 0; j < pattern_.size(); ++j)
    if (fold_[static_cast<unsigned char>(text_[start + j])] != static_cast<unsigned char>(folded_[j])) return false;
  return !wholeWord_ || IsWholeWord(text_, start, start + pattern_.size());
}

int TqeEditSearch::Found(std::size_t start) {
  ++count_;
  windowEnd_ = start + 2 * pattern_.size() - 1;  // matches never overlap
  return static_cast<int>(start) + 1;
}

int TqeEditSearch::FindNextMatch() {
  const std::size_t n = pattern_.size();
  const std::size_t size = text_.size();
  const auto* text = reinterpret_cast<const unsigned char*>(text_.data());
#if defined(__SSE2__)
  if (first_ && last_) {
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(first_->first)),
                  f1 = _mm_set1_epi8(static_cast<char>(first_->second));
    const __m128i l0 = _mm_set1_epi8(static_cast<char>(last_->first)),
                  l1 = _mm_set1_epi8(static_cast<char>(last_->second));
    // 16 windows at a time, starting at start .. start + 15, while all their last bytes lie in the text.
    for (std::size_t start = windowEnd_ + 1 - n; start + n - 1 + 16 <= size; start += 16) {
      const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + start));
      const __m128i lasts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + start + n - 1));
      const __m128i fits = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(firsts, f0), _mm_cmpeq_epi8(firsts, f1)),
                                         _mm_or_si128(_mm_cmpeq_epi8(lasts, l0), _mm_cmpeq_epi8(lasts, l1)));
      for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(fits)); mask != 0; mask &= mask - 1) {
        const std::size_t candidate = start + static_cast<std::size_t>(std::countr_zero(mask));
        if (MatchesAt(candidate)) return Found(candidate);
      }
      windowEnd_ = start + 16 + n - 1;
    }
  }
#endif
  while (windowEnd_ < size) {
    // The hot path: the window's last byte is not the pattern's.
    if (!endsPattern_[text[windowEnd_]]) {
      windowEnd_ += windowEnd_ + 1 < size ? skip_[text[windowEnd_ + 1]] : n + 1;
      continue;
    }
    const std::size_t start = windowEnd_ + 1 - n;
    if (MatchesAt(start)) return Found(start);
    const std::size_t beyond = windowEnd_ + lookBack_;
    windowEnd_ += lookBack_ - 1 + (beyond < size ? skip_[text[beyond]] : n + 1);
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
