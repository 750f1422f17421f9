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

// Leading bytes at or below the space.
int IndentationOf(std::string_view line);

}  // namespace editor
