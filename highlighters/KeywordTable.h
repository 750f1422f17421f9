// The hashed keyword lookup the scanners share: each keyword sits in the slot equal to its own hash, and a
// word is compared only with the keywords of its slot, in the order they were added.
#pragma once

#include <string_view>
#include <vector>

namespace highlighters {

// ASCII upper case without a library call per character: scanners call this in their hottest loops.
inline unsigned char UpperAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

template <typename Kind>
class KeywordTable {
 public:
  // caseInsensitive: letters compare without regard to case. (Comparing hash values instead would make a
  // digit equal the letter of the same value, so "1" would pass for "A".)
  KeywordTable(int size, Kind defaultKind, bool caseInsensitive)
      : slots_(size), defaultKind_(defaultKind), caseInsensitive_(caseInsensitive) {}

  // A keyword whose hash lies past the table's size widens the table, so that every listed keyword is
  // found; other words with such hashes still get the default kind.
  void Add(int hash, std::string_view keyword, Kind kind) {
    if (hash < 0) return;
    if (hash >= static_cast<int>(slots_.size())) slots_.resize(hash + 1);
    slots_[hash].push_back({keyword, kind});
  }

  // The kind of the word of `length` characters at `word` whose hash is `hash`; the default kind when the
  // hash lies outside the table or no keyword of its slot matches.
  Kind Lookup(const char* word, int length, int hash) const {
    if (hash < 0 || hash >= static_cast<int>(slots_.size())) return defaultKind_;
    for (const Entry& entry : slots_[hash])
      if (Matches(entry.keyword, word, length)) return entry.kind;
    return defaultKind_;
  }

 private:
  struct Entry {
    std::string_view keyword;
    Kind kind;
  };
  bool Matches(std::string_view keyword, const char* word, int length) const {
    if (static_cast<int>(keyword.size()) != length) return false;
    for (int i = 0; i < length; ++i) {
      const auto k = static_cast<unsigned char>(keyword[i]);
      const auto w = static_cast<unsigned char>(word[i]);
      if (caseInsensitive_ ? UpperAscii(k) != UpperAscii(w) : k != w) return false;
    }
    return true;
  }

  std::vector<std::vector<Entry>> slots_;
  Kind defaultKind_;
  bool caseInsensitive_;
};

}  // namespace highlighters
