#include "app/InstantTable.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>

#include "app/TextFiles.h"
#include "platform/FileIO.h"

namespace app {
namespace {

// The grid's cells are never filled, and an empty cell is written as a line break.
constexpr const char* kEmptyCell = "<br>";

int CountFrom(const std::string& text) {
  int value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (text.empty() || error != std::errc() || stop != end)
    throw std::invalid_argument("'" + text + "' is not a valid integer value");
  return std::max(value, 1);
}

}  // namespace

void TInstantTable::Edit2Change(const std::string& rowsText) { rows_ = CountFrom(rowsText); }

void TInstantTable::Edit3Change(const std::string& columnsText) {
  // Column 0 is never written out, so the grid has one column more than the box says.
  columns_ = CountFrom(columnsText) + 1;
}

std::vector<std::string> TInstantTable::TableLines() const {
  std::vector<std::string> lines = {"<!--INSERTHTML-->", "<table border=1>", "<tr>"};
  for (int c = 1; c < columns_; ++c) lines.push_back(std::string("<th nowrap>") + kEmptyCell + "</th>");
  lines.push_back("</tr>");
  for (int r = 1; r < rows_; ++r) {
    lines.push_back("<tr>");
    for (int c = 1; c < columns_; ++c) lines.push_back(std::string("<td nowrap>") + kEmptyCell + "</td>");
    lines.push_back("</tr>");
  }
  lines.insert(lines.end(), {"</table><p>", "<p>", "<!--ENDINSERT-->"});
  return lines;
}

void TInstantTable::Button1Click(InsertCommands& inserts, const std::filesystem::path& tempFolder) const {
  // A file of our own with an unguessable name: a fixed name in a shared folder could be a link planted
  // by someone else, and writing through it would overwrite their choice of file.
  std::string path = (tempFolder / "Tmp303~1-XXXXXX.htm").string();
  const int fd = ::mkstemps(path.data(), 4);
  if (fd < 0) throw platform::EFileError("Cannot create file " + (tempFolder / "Tmp303~1.htm").string());
  ::close(fd);
  struct RemoveFile {
    std::string path;
    ~RemoveFile() { std::remove(path.c_str()); }
  } cleanup{path};
  WriteLines(path, TableLines());
  inserts.Insert(InsertMode::AtCaretLine, JoinLines(ReadLines(path)));
}

}  // namespace app
