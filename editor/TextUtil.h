// Small byte-string helpers shared by the editor's edits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"

namespace editor {

// a / b rounded down, for pixels left of or above the text.
inline int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Bytes of a line from column `from` up to (not including) column `to`, 1-based, clipped to the line.
std::string_view Slice(std::string_view line, int from, int to);

// Without trailing bytes at or below the space.
std::string RightTrim(std::string_view text);
// The length of text without them.
std::size_t TrimmedLength(std::string_view text);

// Cuts text at CR, LF or CR LF; a text ending in a line end gives an empty last segment. Never empty.
std::vector<std::string_view> SplitAtLineEnds(std::string_view text);

// A line on the grid: its bytes with every tab expanded to spaces up to the next multiple of tabWidth
// cells, and the cell (0-based) each byte's character starts in. Windows-1252 text and ASCII lines keep no
// table: byte i is cell i.
struct LaidOutLine {
  std::string text;
  std::vector<int> cells;  // empty, or one entry a byte of text and one for its end

  // The cell of text[index]; past the end, cells continue one a byte.
  int Cell(int index) const;
  // The first byte whose character starts at or after cell (a character's start, or the end).
  int IndexAtCell(int cell) const;
};
LaidOutLine LayOutLine(std::string_view line, int tabWidth, platform::TextEncoding encoding);

// The shown column of a byte column (1-based): tabs expanded, wide characters two cells, a column inside a
// character that of the character; columns past the line's end keep their distance from it.
int ShownColumn(std::string_view line, int byteColumn, int tabWidth, platform::TextEncoding encoding);
// The byte column shown nearest to a shown column: a column inside a tab or a wide character goes to its
// nearer edge; past the end, the distance stays.
int ByteColumn(std::string_view line, int shownColumn, int tabWidth, platform::TextEncoding encoding);
// The column where the character holding column starts (columns past the end stay).
int CharacterStart(std::string_view line, int column, platform::TextEncoding encoding);
// The column after the character at column, and the start of the character before it.
int NextCharacterColumn(std::string_view line, int column, platform::TextEncoding encoding);
int PreviousCharacterColumn(std::string_view line, int column, platform::TextEncoding encoding);

// Leading bytes at or below the space.
int IndentationOf(std::string_view line);

// Whether text[start, end) stands as a whole word: no letter or digit touches it on either side.
bool IsWholeWord(std::string_view text, std::size_t start, std::size_t end);

}  // namespace editor
