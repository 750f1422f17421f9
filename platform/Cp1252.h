// Bytes are shown through Windows-1252, one glyph per byte; this maps between the bytes and Unicode.
#pragma once

#include <string>
#include <string_view>

namespace platform {

char32_t Cp1252ToUnicode(unsigned char byte);
// A code point the code page cannot hold becomes '?'.
unsigned char UnicodeToCp1252(char32_t codePoint);

// Lead byte of a double-byte character in the active code page. Windows-1252 has none; a multi-byte
// code page would answer here.
inline bool IsLeadByte(unsigned char) { return false; }

}  // namespace platform
