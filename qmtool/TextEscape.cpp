// Quoting and unquoting bytes for qmtool.
#include "qmtool/TextEscape.h"

#include <cstdio>

#include "platform/TextBits.h"

namespace qmtool {
namespace {}  // namespace

std::string Quote(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (b < 32 || b >= 127) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", b);
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::optional<std::string> Unescape(std::string_view text, bool allowLineEnds) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
      case '"':
        out += text[i];
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
      case 'n':
        if (!allowLineEnds) return std::nullopt;
        out += text[i] == 'r' ? '\r' : '\n';
        break;
      case 'x': {
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = platform::HexDigitValue(text[i + 1]), lo = platform::HexDigitValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<std::string> ReadQuoted(std::string_view& text) {
  if (text.empty() || text[0] != '"') return std::nullopt;
  std::size_t end = 1;
  while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
  if (end >= text.size()) return std::nullopt;
  auto value = Unescape(text.substr(1, end - 1), true);
  text.remove_prefix(end + 1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return value;
}

}  // namespace qmtool
