// The character classes and word hashing the scanners share.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "highlighters/CustomHighlighter.h"

namespace highlighters {

// The end of a line for strings and comments: the terminating zero, or a line end inside the line.
constexpr bool EndsLine(unsigned char c) { return c == 0 || c == 10 || c == 13; }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsHexDigit(unsigned char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
// The codes a run of blanks continues over: 1 to 9, 11, 12 and 14 to 32.
constexpr bool IsBlank(unsigned char c) { return c - 1u < 32u && c != 10 && c != 13; }

constexpr bool IsIdentifierChar(unsigned char c) { return IsDigit(c) || IsLetter(c) || c == '_'; }

// Whether text is `lower`, a word in small letters, written in any case of its ASCII letters.
constexpr bool SameIgnoringAsciiCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != static_cast<unsigned char>(lower[i])) return false;
  }
  return true;
}

// A 256-entry table of the values the hash adds for the characters it walks, -1 for the others: one load a
// character in the scanners' hottest loop. value(c) gives a walked character's value, or -1.
using HashValues = std::array<std::int8_t, 256>;
template <typename Value>
constexpr HashValues HashTable(Value value) {
  HashValues table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<std::int8_t>(value(static_cast<unsigned char>(c)));
  return table;
}
inline int HashOf(const HashValues& values, std::string_view word) {
  int hash = 0;
  for (char c : word) hash += values[static_cast<unsigned char>(c)];
  return hash;
}
// The hash of the scanners that ignore case (VBScript, SQL): digits, letters and '_', the letters 1 to 26
// without regard to case, '_' 31, digits nothing.
constexpr HashValues kCaselessHash = HashTable([](unsigned char c) {
  if (IsLetter(c)) return (c | 0x20) - 'a' + 1;
  return c == '_' ? 31 : IsDigit(c) ? 0 : -1;
});

// The characters for which in(c) holds.
template <typename Predicate>
CharSet CharsOf(Predicate in) {
  CharSet set;
  for (int c = 0; c < 256; ++c)
    if (in(static_cast<unsigned char>(c))) set.set(c);
  return set;
}

}  // namespace highlighters
