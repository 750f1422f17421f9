// Small byte-string helpers shared by the editor's edits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace editor {

// Bytes of a line from column `from` up to (not including) column `to`, 1-based, clipped to the line.
std::string_view Slice(std::string_view line, int from, int to);

// Without trailing bytes at or below the space.
std::string RightTrim(std::string_view text);

// Cuts text at CR, LF or CR LF; a text ending in a line end gives an empty last segment. Never empty.
std::vector<std::string_view> SplitAtLineEnds(std::string_view text);

// The line as shown: every tab becomes spaces up to the next multiple of tabWidth columns.
std::string ExpandTabs(std::string_view line, int tabWidth);
// The shown column of a byte column (1-based); columns past the line's end keep their distance from it.
int ShownColumn(std::string_view line, int byteColumn, int tabWidth);

// Leading bytes at or below the space.
int IndentationOf(std::string_view line);

// Whether text[start, end) stands as a whole word: no letter or digit touches it on either side.
bool IsWholeWord(std::string_view text, std::size_t start, std::size_t end);

}  // namespace editor
