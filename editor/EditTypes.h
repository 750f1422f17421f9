// Positions and modes shared by the editor's parts. Positions are 1-based (column, line); columns count bytes.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace editor {

struct TextPoint {
  int column = 1;
  int line = 1;
  friend bool operator==(const TextPoint&, const TextPoint&) = default;
};

// Ordered by line, then column.
inline bool IsBefore(const TextPoint& a, const TextPoint& b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

enum TSelectionMode : std::uint8_t { smNormal = 0, smColumn = 1, smLine = 2 };

// Errors of the editor control, such as a failed clipboard transfer.
class EqeEditError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace editor
