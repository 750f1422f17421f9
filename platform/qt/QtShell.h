// Opening files with the desktop (xdg-open through QDesktopServices) and starting programs.
#pragma once

#include "platform/Shell.h"

namespace platform::qt {

class QtShell : public Shell {
 public:
  bool OpenDocument(const std::string& pathOrUrl, const std::string& workingFolder) override;
  bool StartProgram(const std::string& program, const std::string& workingFolder) override;
};

}  // namespace platform::qt
