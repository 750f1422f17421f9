// PATH lookup.
#include "platform/ProgramSearch.h"

#include <unistd.h>

#include <filesystem>

namespace platform {

std::optional<std::string> FindProgram(std::initializer_list<std::string_view> names, std::string_view path) {
  for (std::string_view name : names) {
    size_t start = 0;
    while (start <= path.size()) {
      size_t end = path.find(':', start);
      if (end == std::string_view::npos) end = path.size();
      const std::string_view folder = path.substr(start, end - start);
      if (!folder.empty()) {
        const std::string candidate = (std::filesystem::path(folder) / name).string();
        if (::access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate)) return candidate;
      }
      start = end + 1;
    }
  }
  return std::nullopt;
}

}  // namespace platform
