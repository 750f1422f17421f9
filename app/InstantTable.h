// The Instant Table of the "Quick Cuts" window: a column and a row count, and the table block built from
// them, passed through a file in the temporary folder as the program has always done.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/InsertCommands.h"

namespace app {

class TInstantTable {
 public:
  // The "Rows:" and "Columns" boxes changed. A text that is not a whole number raises
  // "'TEXT' is not a valid integer value" and leaves the count; a value below 1 counts as 1.
  void Edit2Change(const std::string& rowsText);
  void Edit3Change(const std::string& columnsText);

  // The grid's counts: row 0 is the header row, column 0 is never written out.
  int RowCount() const { return rows_; }
  int ColCount() const { return columns_; }

  std::vector<std::string> TableLines() const;
  // "Add To..": writes the block to a new file in tempFolder, reads it back and inserts it at the caret line.
  // Raises "Cannot create file PATH" (nothing inserted) when the folder is not writable.
  void Button1Click(InsertCommands& inserts, const std::filesystem::path& tempFolder) const;

 private:
  int rows_ = 1;
  int columns_ = 1;
};

}  // namespace app
