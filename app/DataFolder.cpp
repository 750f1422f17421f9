// Setting up and finding the data folder.
#include "app/DataFolder.h"

#include <cstdlib>

namespace app {
namespace fs = std::filesystem;
namespace {

std::string WithoutTrailingSeparator(const fs::path& folder) {
  std::string s = folder.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

DataFolderEnvironment DataFolderEnvironment::FromProcess() {
  auto get = [](const char* name) {
    const char* v = std::getenv(name);
    return std::string(v ? v : "");
  };
  return {get("QUILLMARK_HOME"), get("XDG_DATA_HOME"), get("HOME")};
}

fs::path FindShippedData(const fs::path& executableDir) {
  std::error_code ec;
  const fs::path installed = executableDir.parent_path() / "share" / "quillmark";
  if (fs::is_directory(installed / "Templates", ec)) return installed;
  if (fs::is_directory(QUILLMARK_SOURCE_DATA, ec)) return QUILLMARK_SOURCE_DATA;
  return QUILLMARK_SHARED_DATA;
}

void CopyMissingData(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::create_directories(to, ec);
  if (!fs::is_directory(from, ec)) return;
  for (const auto& entry : fs::recursive_directory_iterator(from, ec)) {
    const fs::path target = to / fs::relative(entry.path(), from, ec);
    if (entry.is_directory(ec))
      fs::create_directories(target, ec);
    else if (!fs::exists(target, ec))
      fs::copy_file(entry.path(), target, ec);
  }
}

std::string ResolveInstallDir(platform::Registry& registry, const DataFolderEnvironment& env,
                              const fs::path& shippedData) {
  if (!env.quillmarkHome.empty()) {
    CopyMissingData(shippedData, env.quillmarkHome);
    return WithoutTrailingSeparator(env.quillmarkHome);
  }
  registry.CreateKey(kAppPathsKey);
  if (auto path = registry.ReadString(kAppPathsKey, "Path")) return *path;

  fs::path folder = !env.xdgDataHome.empty() ? fs::path(env.xdgDataHome) / "quillmark"
                                             : fs::path(env.home) / ".local" / "share" / "quillmark";
  CopyMissingData(shippedData, folder);
  const std::string dir = WithoutTrailingSeparator(folder);
  registry.WriteString(kAppPathsKey, "Path", dir);
  return dir;
}

}  // namespace app
