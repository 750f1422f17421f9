// Finding InstallDir, the folder holding every data file: the registry's App Paths "Path" value, set up on
// first start as a per-user copy of the data shipped with the program.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace app {

inline constexpr std::string_view kAppPathsKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\kestrel.exe";

// The environment variables that decide where data lives.
struct DataFolderEnvironment {
  std::string quillmarkHome;  // QUILLMARK_HOME: the data folder itself (tests, portable use)
  std::string xdgDataHome;    // XDG_DATA_HOME
  std::string home;           // HOME
  static DataFolderEnvironment FromProcess();
};

// The shipped data: <prefix>/share/quillmark beside an installed executable, else the source tree's data/.
std::filesystem::path FindShippedData(const std::filesystem::path& executableDir);

// Copies every file and folder of `from` into `to` that `to` lacks; existing files are kept as they are.
void CopyMissingData(const std::filesystem::path& from, const std::filesystem::path& to);

// QUILLMARK_HOME when set (seeded from the shipped data). Otherwise the registry's "Path"; when that is
// missing, the per-user folder ($XDG_DATA_HOME/quillmark or ~/.local/share/quillmark) is seeded and stored
// as "Path". Returns the folder without a trailing separator.
std::string ResolveInstallDir(platform::Registry& registry, const DataFolderEnvironment& env,
                              const std::filesystem::path& shippedData);

}  // namespace app
