// Byte-string helpers.
#include "editor/TextUtil.h"

#include <algorithm>

#include "platform/Cp1252.h"

namespace editor {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Cells a character takes: a tab up to the next stop, a wide character two, any other one.
int CellsOf(char32_t code, int cell, int tabWidth) {
  if (code == U'\t') return (cell / tabWidth + 1) * tabWidth - cell;
  return platform::IsWideCharacter(code) ? 2 : 1;
}

bool NeedsTable(std::string_view line, platform::TextEncoding encoding) {
  if (encoding != platform::TextEncoding::Utf8) return false;
  return std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string_view Slice(std::string_view line, int from, int to) {
  const long long size = static_cast<long long>(line.size());
  const long long begin = std::clamp<long long>(from - 1LL, 0, size);
  const long long end = std::clamp<long long>(to - 1LL, begin, size);
  return line.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

std::size_t TrimmedLength(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return end;
}

std::string RightTrim(std::string_view text) { return std::string(text.substr(0, TrimmedLength(text))); }

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

int LaidOutLine::Cell(int index) const {
  if (cells.empty()) return index;
  const int size = static_cast<int>(text.size());
  return index <= size ? cells[index] : cells[size] + (index - size);
}

int LaidOutLine::IndexAtCell(int cell) const {
  if (cells.empty()) return cell;
  const int size = static_cast<int>(text.size());
  if (cell >= cells[size]) return size + (cell - cells[size]);
  return static_cast<int>(std::lower_bound(cells.begin(), cells.end(), cell) - cells.begin());
}

LaidOutLine LayOutLine(std::string_view line, int tabWidth, platform::TextEncoding encoding) {
  LaidOutLine out;
  const bool table = NeedsTable(line, encoding);
  if (!table && line.find('\t') == std::string_view::npos) {
    out.text = line;
    return out;
  }
  out.text.reserve(line.size() + 8);
  if (table) out.cells.reserve(line.size() + 9);
  int cell = 0;
  platform::ForEachCharacter(line, encoding, [&](std::size_t start, int length, char32_t code) {
    const int width = CellsOf(code, cell, tabWidth);
    if (code == U'\t') {
      for (int k = 0; k < width; ++k) {
        out.text += ' ';
        if (table) out.cells.push_back(cell + k);
      }
    } else {
      out.text.append(line.substr(start, length));
      if (table) out.cells.insert(out.cells.end(), length, cell);
    }
    cell += width;
  });
  if (table) out.cells.push_back(cell);
  return out;
}

int ShownColumn(std::string_view line, int byteColumn, int tabWidth, platform::TextEncoding encoding) {
  if (!NeedsTable(line, encoding) && line.find('\t') == std::string_view::npos) return byteColumn;
  const int bytes = std::clamp(byteColumn - 1, 0, static_cast<int>(line.size()));
  int cell = 0;
  for (int i = 0; i < bytes;) {
    const int length = platform::CharacterLength(line, i, encoding);
    if (i + length > bytes) break;  // a column inside a character is shown where the character starts
    const char32_t code = length == 1 ? static_cast<unsigned char>(line[i]) : platform::DecodeUtf8At(line, i);
    cell += CellsOf(code, cell, tabWidth);
    i += length;
  }
  return cell + 1 + std::max(0, byteColumn - 1 - static_cast<int>(line.size()));
}

int ByteColumn(std::string_view line, int shownColumn, int tabWidth, platform::TextEncoding encoding) {
  if (!NeedsTable(line, encoding) && line.find('\t') == std::string_view::npos) return shownColumn;
  int cell = 0;
  const int target = shownColumn - 1;
  for (int i = 0; i < static_cast<int>(line.size());) {
    const int length = platform::CharacterLength(line, i, encoding);
    const char32_t code = length == 1 ? static_cast<unsigned char>(line[i]) : platform::DecodeUtf8At(line, i);
    const int next = cell + CellsOf(code, cell, tabWidth);
    if (target < next) return target - cell < next - target ? i + 1 : i + length + 1;
    cell = next;
    i += length;
  }
  return static_cast<int>(line.size()) + 1 + (target - cell);
}

int CharacterStart(std::string_view line, int column, platform::TextEncoding encoding) {
  if (encoding != platform::TextEncoding::Utf8 || column < 1 || column > static_cast<int>(line.size())) return column;
  return static_cast<int>(platform::Utf8CharacterStart(line, column - 1)) + 1;
}

int NextCharacterColumn(std::string_view line, int column, platform::TextEncoding encoding) {
  if (column < 1 || column > static_cast<int>(line.size())) return column + 1;
  const int start = CharacterStart(line, column, encoding);
  return start + platform::CharacterLength(line, start - 1, encoding);
}

int PreviousCharacterColumn(std::string_view line, int column, platform::TextEncoding encoding) {
  if (column <= 1 || column - 1 > static_cast<int>(line.size())) return column - 1;
  return CharacterStart(line, column - 1, encoding);
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
