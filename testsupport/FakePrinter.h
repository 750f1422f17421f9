// A printer whose dialog answers as told and which keeps what it printed.
#pragma once

#include <string>
#include <vector>

#include "platform/Printer.h"

namespace platform::fakes {

class FakePrinter : public Printer {
 public:
  bool ShowPrintDialog() override { return accept; }
  void ShowSetupDialog() override { ++setups; }
  void PrintText(const std::string& title, const std::vector<std::string>& lines, const FontDesc&) override {
    jobTitle = title;
    printed = lines;
    ++jobs;
  }
  bool accept = true;
  int setups = 0;
  int jobs = 0;
  std::string jobTitle;
  std::vector<std::string> printed;
};

}  // namespace platform::fakes
