// Keeping a window's placement in the registry between runs.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace app {

enum TFormSaveMode { smPositionOnly, smSizeOnly, smAll };

// What is kept of a window. State: 0 normal, 1 minimised, 2 maximised.
struct WindowPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string caption;
  int state = 0;
};

class TFormSizeSave {
 public:
  std::string Company;
  std::string ProductName;
  std::string SubKey;
  TFormSaveMode SaveMode = smAll;

  // HKEY_LOCAL_MACHINE\SOFTWARE\Company\ProductName\SubKey, leaving out the parts that are blank.
  std::string KeyPath() const;
  // Applies the stored values that exist to placement; values are named after the window (Form1.Left, ...).
  void RestorePlacement(platform::Registry& registry, const std::string& windowName, WindowPlacement& placement) const;
  void SavePlacement(platform::Registry& registry, const std::string& windowName,
                     const WindowPlacement& placement) const;
};

}  // namespace app
