// Handing files and programs to the desktop.
#pragma once

#include <string>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file or address with the desktop's program for it; false when that failed.
  virtual bool OpenDocument(const std::string& pathOrUrl, const std::string& workingFolder) = 0;
  // Starts a program (a full path) on its own; false when it could not be started.
  virtual bool StartProgram(const std::string& program, const std::string& workingFolder) = 0;
};

}  // namespace platform
