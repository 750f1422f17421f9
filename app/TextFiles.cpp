// Line files through the line store's own reading and saving.
#include "app/TextFiles.h"

#include "editor/EditList.h"
#include "platform/FileIO.h"

namespace app {

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  editor::TqeEditList list;
  list.LoadFromFile(file);
  std::vector<std::string> lines;
  lines.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Get(i));
  return lines;
}

void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  platform::WriteFileAtomically(file, [&](std::ostream& out) {
    for (const auto& line : lines) out << line << "\r\n";
  });
}

}  // namespace app
