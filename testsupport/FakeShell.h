// A shell that records what it was asked to open or start, and succeeds unless told to fail.
#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace platform::fakes {

class FakeShell : public Shell {
 public:
  bool OpenDocument(const std::string& pathOrUrl, const std::string& workingFolder) override {
    opened.push_back(pathOrUrl + " in " + workingFolder);
    return succeed;
  }
  bool StartProgram(const std::string& program, const std::string& workingFolder) override {
    started.push_back(program + " in " + workingFolder);
    return succeed;
  }
  bool succeed = true;
  std::vector<std::string> opened;
  std::vector<std::string> started;
};

}  // namespace platform::fakes
