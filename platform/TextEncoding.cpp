// UTF-8 sequences, cell widths and encoding detection.
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/TextBits.h"

namespace platform {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string_view EncodingName(TextEncoding encoding) { return encoding == TextEncoding::Utf8 ? "utf8" : "cp1252"; }

std::string_view EncodingCaption(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

int Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0xC2 || lead > 0xF4) return 1;  // ASCII, a stray continuation, or a lead of overlong forms only
  const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + length > text.size()) return 1;
  for (int k = 1; k < length; ++k)
    if (!IsContinuation(byte(at + k))) return 1;
  const unsigned char second = byte(at + 1);
  // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
  if (lead == 0xE0 && second < 0xA0) return 1;
  if (lead == 0xED && second > 0x9F) return 1;
  if (lead == 0xF0 && second < 0x90) return 1;
  if (lead == 0xF4 && second > 0x8F) return 1;
  return length;
}

std::size_t Utf8CharacterStart(std::string_view text, std::size_t at) {
  if (at >= text.size() || !IsContinuation(static_cast<unsigned char>(text[at]))) return at;
  for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
    const std::size_t start = at - back;
    if (IsContinuation(static_cast<unsigned char>(text[start]))) continue;
    return static_cast<std::size_t>(Utf8SequenceLength(text, start)) > back ? start : at;
  }
  return at;
}

char32_t DecodeUtf8At(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const int length = Utf8SequenceLength(text, at);
  if (length == 1) return lead < 0x80 ? lead : kReplacementCharacter;
  char32_t code = lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  return code;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementCharacter;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsWideCharacter(char32_t c) {
  if (c < 0x1100) return false;
  static constexpr struct {
    char32_t first, last;
  } kWide[] = {{0x1100, 0x115F}, {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x2E80, 0x303E},
               {0x3041, 0x33FF}, {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},
               {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},
               {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};
  for (const auto& range : kWide) {
    if (c < range.first) return false;
    if (c <= range.last) return true;
  }
  return false;
}

int GridCells(std::string_view bytes, TextEncoding encoding) {
  if (encoding != TextEncoding::Utf8) return static_cast<int>(bytes.size());
  int cells = 0;
  ForEachCharacter(bytes, encoding, [&](std::size_t, int, char32_t c) { cells += IsWideCharacter(c) ? 2 : 1; });
  return cells;
}

Utf8Kind CheckUtf8(std::string_view bytes) {
  Utf8Kind kind = Utf8Kind::Ascii;
  for (std::size_t i = 0; i < bytes.size();) {
    // ASCII runs are the bulk of most pages: skip them eight bytes at a time.
    for (std::uint64_t word; i + 8 <= bytes.size(); i += 8) {
      std::memcpy(&word, bytes.data() + i, 8);
      if (word & 0x8080808080808080ULL) break;
    }
    if (i >= bytes.size()) break;
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const int length = Utf8SequenceLength(bytes, i);
    if (length == 1) return Utf8Kind::Invalid;
    kind = Utf8Kind::MultiByte;
    i += length;
  }
  return kind;
}

bool DeclaresUtf8(std::string_view page) {
  const std::string head = AsciiLower(std::string(page.substr(0, kDeclarationBytes)));
  for (std::size_t tag = head.find("<meta"); tag != std::string::npos; tag = head.find("<meta", tag + 5)) {
    const std::size_t end = std::min(head.find('>', tag), head.size());
    const std::string_view inside = std::string_view(head).substr(tag, end - tag);
    for (std::size_t at = inside.find("charset"); at != std::string_view::npos; at = inside.find("charset", at + 7)) {
      std::size_t i = at + 7;
      auto skip = [&](std::string_view what) {
        while (i < inside.size() && what.find(inside[i]) != std::string_view::npos) ++i;
      };
      skip(" \t\r\n");
      if (i >= inside.size() || inside[i] != '=') continue;
      ++i;
      skip(" \t\r\n\"'");
      const std::string_view value = inside.substr(i);
      if (value.starts_with("utf-8") || value.starts_with("utf8")) return true;
    }
  }
  return false;
}

TextEncoding DetectEncoding(std::string_view bytes) { return DetectEncoding(CheckUtf8(bytes), bytes); }

TextEncoding DetectEncoding(Utf8Kind kind, std::string_view head) {
  const bool utf8 = kind == Utf8Kind::MultiByte || head.starts_with("\xEF\xBB\xBF") || DeclaresUtf8(head);
  return utf8 ? TextEncoding::Utf8 : TextEncoding::Cp1252;
}

std::string EncodeText(std::u32string_view text, TextEncoding encoding) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char32_t c : text) {
    if (encoding == TextEncoding::Utf8)
      AppendUtf8(bytes, c);
    else
      bytes += static_cast<char>(UnicodeToCp1252(c));
  }
  return bytes;
}

std::u32string DecodeText(std::string_view bytes, TextEncoding encoding) {
  std::u32string text;
  text.reserve(bytes.size());
  ForEachCharacter(bytes, encoding, [&](std::size_t, int, char32_t c) { text += c; });
  return text;
}

std::string Transcode(std::string_view bytes, TextEncoding from, TextEncoding to) {
  if (from == to) return std::string(bytes);
  return EncodeText(DecodeText(bytes, from), to);
}

}  // namespace platform
