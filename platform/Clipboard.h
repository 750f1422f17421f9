// The system clipboard as named formats holding bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"

namespace platform {

// Plain text as bytes in Windows-1252, or in UTF-8: two views of the one text on the clipboard, which the Qt
// clipboard converts to and from Unicode.
inline constexpr std::string_view kPlainTextFormat = "text/plain";
inline constexpr std::string_view kUtf8TextFormat = "text/plain;charset=utf-8";
inline std::string_view PlainTextFormat(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? kUtf8TextFormat : kPlainTextFormat;
}
inline std::optional<TextEncoding> TextFormatEncoding(std::string_view format) {
  if (format == kPlainTextFormat) return TextEncoding::Cp1252;
  if (format == kUtf8TextFormat) return TextEncoding::Utf8;
  return std::nullopt;
}

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
