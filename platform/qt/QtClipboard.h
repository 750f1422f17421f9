// The system clipboard through QClipboard: plain text converted between Windows-1252 and Unicode, other
// formats as MIME data holding the bytes.
#pragma once

#include "platform/Clipboard.h"

namespace platform::qt {

class QtClipboard : public Clipboard {
 public:
  bool SetItems(const std::vector<ClipboardItem>& items) override;
  bool HasFormat(std::string_view format) const override;
  std::optional<std::string> Data(std::string_view format) const override;
};

}  // namespace platform::qt
