// Byte-string helpers.
#include "editor/TextUtil.h"

#include <algorithm>

#include "platform/Cp1252.h"

namespace editor {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string_view Slice(std::string_view line, int from, int to) {
  const long long size = static_cast<long long>(line.size());
  const long long begin = std::clamp<long long>(from - 1LL, 0, size);
  const long long end = std::clamp<long long>(to - 1LL, begin, size);
  return line.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

std::string RightTrim(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::vector<std::string_view> SplitAtLineEnds(std::string_view text) {
  std::vector<std::string_view> segments;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    segments.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  segments.push_back(text.substr(start));
  return segments;
}

std::string ExpandTabs(std::string_view line, int tabWidth) {
  if (line.find('\t') == std::string_view::npos) return std::string(line);
  std::string shown;
  shown.reserve(line.size() + 8);
  for (char c : line) {
    if (c != '\t') {
      shown += c;
      continue;
    }
    do shown += ' ';
    while (shown.size() % tabWidth != 0);
  }
  return shown;
}

int ShownColumn(std::string_view line, int byteColumn, int tabWidth) {
  int shown = 0;
  const int bytes = std::min<int>(byteColumn - 1, static_cast<int>(line.size()));
  for (int i = 0; i < bytes; ++i) shown = line[i] == '\t' ? (shown / tabWidth + 1) * tabWidth : shown + 1;
  return shown + 1 + std::max(0, byteColumn - 1 - bytes);
}

int IndentationOf(std::string_view line) {
  int n = 0;
  while (n < static_cast<int>(line.size()) && IsBlank(line[n])) ++n;
  return n;
}

bool IsWholeWord(std::string_view text, std::size_t start, std::size_t end) {
  auto wordByte = [&](std::size_t i) { return platform::Cp1252IsAlphaNumeric(static_cast<unsigned char>(text[i])); };
  return !(start > 0 && wordByte(start - 1)) && !(end < text.size() && wordByte(end));
}

}  // namespace editor
