// The two template folders on disk.
#include "app/TemplateLibrary.h"

#include <algorithm>
#include <filesystem>

#include "app/TextFiles.h"

namespace app {
namespace {

namespace fs = std::filesystem;

// Hidden files (a leading ".", as the folder's own ".keep") are not templates.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file(ec) && name.front() != '.') names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TemplateLibrary::TemplateLibrary(std::string installDir)
    : standard_((fs::path(installDir) / "Templates").string()),
      user_((fs::path(installDir) / "Templates" / "User").string()) {}

std::vector<std::string> TemplateLibrary::StandardTemplates() const { return FilesIn(standard_); }
std::vector<std::string> TemplateLibrary::UserTemplates() const { return FilesIn(user_); }
std::string TemplateLibrary::StandardPath(const std::string& name) const {
  return (fs::path(standard_) / name).string();
}
std::string TemplateLibrary::UserPath(const std::string& name) const { return (fs::path(user_) / name).string(); }

std::optional<std::string> TemplateLibrary::NameProblem(const std::string& name) {
  if (name.empty()) return "Please type a name for the template.";
  if (name.find('/') != std::string::npos || name.find("..") != std::string::npos ||
      name.find('\\') != std::string::npos)
    return "A template name cannot hold \"/\", \"\\\" or \"..\": templates are kept in one folder.";
  return std::nullopt;
}

bool TemplateLibrary::UserTemplateExists(const std::string& name) const {
  std::error_code ec;
  return fs::exists(UserPath(name), ec);
}

void TemplateLibrary::Save(const std::string& name, const std::vector<std::string>& lines) const {
  std::error_code ec;
  fs::create_directories(user_, ec);
  WriteLines(UserPath(name), lines);
}

void TemplateLibrary::Delete(const std::string& name) const {
  std::error_code ec;
  fs::remove(UserPath(name), ec);
}

}  // namespace app
