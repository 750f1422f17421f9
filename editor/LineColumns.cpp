// Walking a long line from its nearest checkpoint.
#include "editor/LineColumns.h"

#include <algorithm>

namespace editor {

void LineColumns::Forget() {
  for (Line& line : lines_) line.line = -1;
}

void LineColumns::ForgetFrom(int line, int from) {
  for (Line& kept : lines_) {
    if (kept.line != line) continue;
    // A character before a checkpoint reads at most three bytes past it: an edit that near may make the
    // bytes before the checkpoint read as other characters.
    while (kept.marks.size() > 1 && kept.marks.back().byte + 3 > from) kept.marks.pop_back();
  }
}

LineColumns::Line& LineColumns::Use(int line, int tabWidth, platform::TextEncoding encoding) {
  Line* chosen = &lines_[0];
  for (Line& kept : lines_) {
    if (kept.line == line && kept.tabWidth == tabWidth && kept.encoding == encoding) {
      chosen = &kept;
      break;
    }
    if (kept.used < chosen->used) chosen = &kept;
  }
  if (chosen->line != line || chosen->tabWidth != tabWidth || chosen->encoding != encoding) {
    *chosen = {line, tabWidth, encoding, std::vector<Mark>(1), 0};
  }
  chosen->used = ++clock_;
  return *chosen;
}

LineColumns::Mark LineColumns::FromByte(const Line& line, int byte) {
  const auto after = std::upper_bound(line.marks.begin(), line.marks.end(), byte,
                                      [](int b, const Mark& mark) { return b < mark.byte; });
  return *(after - 1);
}

LineColumns::Mark LineColumns::FromCell(const Line& line, int cell) {
  const auto after = std::upper_bound(line.marks.begin(), line.marks.end(), cell,
                                      [](int c, const Mark& mark) { return c < mark.cell; });
  return *(after - 1);
}

void LineColumns::Step(Line& line, std::string_view text, Mark& mark) {
  int length = 1, cells = 1;
  const auto byte = static_cast<unsigned char>(text[mark.byte]);
  if (byte == '\t') {
    cells = (mark.cell / line.tabWidth + 1) * line.tabWidth - mark.cell;
  } else if (byte >= 0x80 && line.encoding == platform::TextEncoding::Utf8) {
    length = platform::Utf8SequenceLength(text, static_cast<std::size_t>(mark.byte));
    cells = length > 1 && platform::IsWideCharacter(platform::DecodeUtf8At(text, mark.byte)) ? 2 : 1;
  }
  mark.byte += length;
  mark.cell += cells;
  ++mark.characters;
  if (mark.byte >= line.marks.back().byte + kCheckpointBytes) line.marks.push_back(mark);
}

int LineColumns::ShownColumn(int line, std::string_view text, int byteColumn, int tabWidth,
                             platform::TextEncoding encoding) {
  Line& kept = Use(line, tabWidth, encoding);
  const int size = static_cast<int>(text.size());
  const int bytes = std::clamp(byteColumn - 1, 0, size);
  Mark mark = FromByte(kept, bytes);
  while (mark.byte < bytes) {
    // A column inside a character is shown where the character starts.
    Mark next = mark;
    Step(kept, text, next);
    if (next.byte > bytes) break;
    mark = next;
  }
  return mark.cell + 1 + std::max(0, byteColumn - 1 - size);
}

int LineColumns::ByteColumn(int line, std::string_view text, int shownColumn, int tabWidth,
                            platform::TextEncoding encoding) {
  Line& kept = Use(line, tabWidth, encoding);
  const int size = static_cast<int>(text.size());
  const int target = shownColumn - 1;
  Mark mark = FromCell(kept, target);
  while (mark.byte < size) {
    const Mark at = mark;
    Step(kept, text, mark);
    // A column inside a tab or a wide character goes to its nearer edge.
    if (target < mark.cell) return target - at.cell < mark.cell - target ? at.byte + 1 : mark.byte + 1;
  }
  return size + 1 + (target - mark.cell);
}

int LineColumns::CharacterColumn(int line, std::string_view text, int byteColumn, int tabWidth,
                                 platform::TextEncoding encoding) {
  Line& kept = Use(line, tabWidth, encoding);
  const int size = static_cast<int>(text.size());
  const int inside = std::clamp(byteColumn - 1, 0, size);
  Mark mark = FromByte(kept, inside);
  while (mark.byte < inside) Step(kept, text, mark);
  return mark.characters + 1 + std::max(0, byteColumn - 1 - size);
}

}  // namespace editor
