// The program's registry: an INI-style file, one [key path] section per key and name=value lines.
// Every change is written through at once, so nothing is lost when the program is killed.
#pragma once

#include <filesystem>

#include "platform/MemoryRegistry.h"

namespace platform {

class IniFileRegistry : public MemoryRegistry {
 public:
  // Reads the file if it exists; a missing file is an empty registry.
  explicit IniFileRegistry(std::filesystem::path file);

  // $QUILLMARK_CONFIG_DIR, else $XDG_CONFIG_HOME/quillmark, else ~/.config/quillmark; file registry.ini.
  static std::filesystem::path DefaultFile();

 protected:
  void Changed() override;

 private:
  std::filesystem::path file_;
};

}  // namespace platform
