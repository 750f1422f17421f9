// The template library: standard templates in InstallDir/Templates (shipped, never written) and the user's
// own in InstallDir/Templates/User. Lists, and saving and deleting user templates by name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

class TemplateLibrary {
 public:
  explicit TemplateLibrary(std::string installDir);

  // The names of the ordinary files of each folder, sorted.
  std::vector<std::string> StandardTemplates() const;
  std::vector<std::string> UserTemplates() const;
  std::string StandardPath(const std::string& name) const;
  std::string UserPath(const std::string& name) const;
  // Why a name cannot be a user template's (empty, or reaching out of the folder), or nothing.
  static std::optional<std::string> NameProblem(const std::string& name);
  bool UserTemplateExists(const std::string& name) const;
  // Writes lines (each followed by CR LF) as the user template name; raises "Cannot create file PATH".
  void Save(const std::string& name, const std::vector<std::string>& lines) const;
  // A failed delete is silent.
  void Delete(const std::string& name) const;

 private:
  std::string standard_;
  std::string user_;
};

}  // namespace app
