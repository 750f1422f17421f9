// The quoting qmtool uses for bytes in its dumps and reads in its scripts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qmtool {

// In double quotes, with \\ \" \t \r \n, and \xHH for other bytes below 32 and from 127 up.
std::string Quote(std::string_view bytes);

// Reads script escapes: \t, \\, \" and \xHH always; \r and \n only when allowLineEnds. Nothing on a bad escape.
std::optional<std::string> Unescape(std::string_view text, bool allowLineEnds);

// Reads a double-quoted text with the dump's escapes from the start of text and moves text past it and the
// blanks after it; nothing when text does not start with a whole quoted text.
std::optional<std::string> ReadQuoted(std::string_view& text);

}  // namespace qmtool
