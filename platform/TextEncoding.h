// The two readings of a document's bytes: Windows-1252 (one character a byte) and UTF-8 (a character is one
// to four bytes; a byte that starts no valid sequence is a character of its own, shown as a replacement
// mark). The bytes themselves are never changed by either reading.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class TextEncoding { Cp1252, Utf8 };

// "utf8" or "cp1252", the names scripts and dumps use; nothing else is read.
std::string_view EncodingName(TextEncoding encoding);
// The name a person reads: "UTF-8" or "Windows-1252".
std::string_view EncodingCaption(TextEncoding encoding);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Bytes of the valid UTF-8 sequence starting at text[at] (2 to 4), or 1 for an ASCII byte or a byte that
// starts no valid sequence (overlong forms, surrogates and code points above U+10FFFF are not valid).
int Utf8SequenceLength(std::string_view text, std::size_t at);
// The index where the character holding text[at] starts: at itself unless it continues a valid sequence.
std::size_t Utf8CharacterStart(std::string_view text, std::size_t at);
// The code point of the character starting at text[at], U+FFFD for an invalid byte.
char32_t DecodeUtf8At(std::string_view text, std::size_t at);
void AppendUtf8(std::string& out, char32_t codePoint);

// Whether a character takes two cells on the grid (East Asian wide and full-width characters).
bool IsWideCharacter(char32_t codePoint);

// Cells the bytes take on a grid, each character one and a wide character two.
int GridCells(std::string_view bytes, TextEncoding encoding);

// Bytes of the character starting at text[at] in the encoding (always 1 in Windows-1252).
inline int CharacterLength(std::string_view text, std::size_t at, TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? Utf8SequenceLength(text, at) : 1;
}
// Calls visit(start, length, codePoint) for each character of bytes read in the encoding.
template <typename Visit>
void ForEachCharacter(std::string_view bytes, TextEncoding encoding, Visit visit);

// What UTF-8 makes of bytes: all ASCII, valid with at least one multi-byte sequence, or not valid.
enum class Utf8Kind { Ascii, MultiByte, Invalid };
Utf8Kind CheckUtf8(std::string_view bytes);
// Whether the first 4 KB of a page declare UTF-8 in a <meta charset=...> or a content="...; charset=..." tag.
bool DeclaresUtf8(std::string_view page);
// How a loaded text is read: UTF-8 when it starts with the UTF-8 byte-order mark, is valid UTF-8 holding a
// multi-byte sequence, or says so in a meta tag; Windows-1252 otherwise.
TextEncoding DetectEncoding(std::string_view bytes);
// The same rule from what CheckUtf8 made of the whole text and the text's start (its first 4 KB are read).
TextEncoding DetectEncoding(Utf8Kind kind, std::string_view head);
inline constexpr std::size_t kDeclarationBytes = 4096;

// Unicode to bytes: UTF-8, or Windows-1252 with '?' for what the code page cannot hold.
std::string EncodeText(std::u32string_view text, TextEncoding encoding);
// Bytes to Unicode, each invalid UTF-8 byte becoming one U+FFFD.
std::u32string DecodeText(std::string_view bytes, TextEncoding encoding);
// Bytes read in one encoding, written in the other: what a copy between two documents carries.
std::string Transcode(std::string_view bytes, TextEncoding from, TextEncoding to);

}  // namespace platform

#include "platform/Cp1252.h"

template <typename Visit>
void platform::ForEachCharacter(std::string_view bytes, TextEncoding encoding, Visit visit) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (encoding == TextEncoding::Utf8 && static_cast<unsigned char>(bytes[i]) >= 0x80) {
      const int length = Utf8SequenceLength(bytes, i);
      visit(i, length, length == 1 ? kReplacementCharacter : DecodeUtf8At(bytes, i));
      i += length;
    } else {
      visit(i, 1,
            encoding == TextEncoding::Utf8 ? static_cast<char32_t>(static_cast<unsigned char>(bytes[i]))
                                           : Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
      ++i;
    }
  }
}
