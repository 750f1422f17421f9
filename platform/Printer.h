// The system printer: its dialogs, and printing plain text in a given font.
#pragma once

#include <string>
#include <vector>

#include "platform/Font.h"

namespace platform {

class Printer {
 public:
  virtual ~Printer() = default;
  // The print dialog; false when it was cancelled.
  virtual bool ShowPrintDialog() = 0;
  virtual void ShowSetupDialog() = 0;
  // Prints the lines page after page in font; jobTitle names the job in the printer's queue.
  virtual void PrintText(const std::string& jobTitle, const std::vector<std::string>& lines, const FontDesc& font) = 0;
};

}  // namespace platform
