// The shown columns and character counts of one long line, kept between queries: the caret's moves and the
// typing at the end of a line of megabytes must cost what they change, not what the line holds.
#pragma once

#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"

namespace editor {

// Lines shorter than this are measured from their start each time; it is cheap enough.
inline constexpr int kLongLine = 4096;

// Checkpoints of a few lines (the byte, cell and character count at a character start, one every
// kCheckpointBytes or so, ascending), made as queries walk past them. A query walks from the nearest
// checkpoint before it. An edit forgets the checkpoints from where it changed the line.
class LineColumns {
 public:
  static constexpr int kCheckpointBytes = 256;

  // Forgets everything, or what lies at or after byte `from` (0-based) of line.
  void Forget();
  void ForgetFrom(int line, int from);

  // As editor::ShownColumn and editor::ByteColumn of TextUtil, and the number of characters before a byte
  // column (1-based columns; past the end the distance stays).
  int ShownColumn(int line, std::string_view text, int byteColumn, int tabWidth, platform::TextEncoding encoding);
  int ByteColumn(int line, std::string_view text, int shownColumn, int tabWidth, platform::TextEncoding encoding);
  int CharacterColumn(int line, std::string_view text, int byteColumn, int tabWidth, platform::TextEncoding encoding);

 private:
  struct Mark {
    int byte = 0;
    int cell = 0;
    int characters = 0;
  };
  struct Line {
    int line = -1;
    int tabWidth = 0;
    platform::TextEncoding encoding = platform::TextEncoding::Cp1252;
    std::vector<Mark> marks;
    unsigned used = 0;
  };
  // The checkpoints of line in this encoding and tab width: kept ones, or new ones in place of the line
  // used longest ago.
  Line& Use(int line, int tabWidth, platform::TextEncoding encoding);
  // The last checkpoint at or before byte (ordered by bytes) or cell (ordered by cells).
  static Mark FromByte(const Line& line, int byte);
  static Mark FromCell(const Line& line, int cell);
  // Moves mark past one character. Adds a checkpoint when the walk passes the last one by kCheckpointBytes.
  static void Step(Line& line, std::string_view text, Mark& mark);

  // A vertical move measures two lines in turn, a column block several.
  Line lines_[4];
  unsigned clock_ = 0;
};

}  // namespace editor
