// The system clipboard as named formats holding bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Plain text as bytes in Windows-1252; the Qt clipboard converts it to and from Unicode.
inline constexpr std::string_view kPlainTextFormat = "text/plain";

struct ClipboardItem {
  std::string format;
  std::string data;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard and puts every item on it; false when any could not be set.
  virtual bool SetItems(const std::vector<ClipboardItem>& items) = 0;
  virtual bool HasFormat(std::string_view format) const = 0;
  // The data of a format, or nothing when it is absent or cannot be read.
  virtual std::optional<std::string> Data(std::string_view format) const = 0;
};

}  // namespace platform
