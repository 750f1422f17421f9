#include "editor/WrapPoints.h"

#include "editor/TextUtil.h"

namespace editor {

std::vector<int> WrapPoints(std::string_view line, int width, int tabWidth, platform::TextEncoding encoding) {
  std::vector<int> points;
  // A line takes no more cells than bytes unless it holds a tab: most lines are known to fit unread.
  if (width < 1 || (static_cast<int>(line.size()) <= width && line.find('\t') == std::string_view::npos)) return points;
  const LaidOutLine laid = LayOutLine(line, tabWidth, encoding);
  const int cells = laid.Cell(static_cast<int>(laid.text.size()));
  int start = 0;  // the cell the row begins in
  while (cells - start > width) {
    const int first = laid.IndexAtCell(start);
    // The first character that does not fit: the one starting at the row's end, or a wide one across it.
    int cut = laid.IndexAtCell(start + width);
    if (laid.Cell(cut) > start + width)
      for (const int cell = laid.Cell(cut - 1); cut > first && laid.Cell(cut - 1) == cell;) --cut;
    int next = cut;
    if (laid.text[cut] == ' ') {
      // Blanks where the row ends hang past it, and the next row begins at the word after them.
      next = static_cast<int>(laid.text.find_first_not_of(' ', cut));
      if (next < 0) break;
    } else if (const auto blank = laid.text.rfind(' ', cut - 1);
               cut > first && blank != std::string::npos && static_cast<int>(blank) > first) {
      next = static_cast<int>(blank) + 1;
    } else if (next <= first) {
      next = laid.IndexAtCell(start + 1);
      // A character wider than a row is the last row alone.
      if (next >= static_cast<int>(laid.text.size())) break;
    }
    start = laid.Cell(next);
    points.push_back(start + 1);
  }
  return points;
}

}  // namespace editor
