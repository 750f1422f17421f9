// Bytes are shown through Windows-1252, one glyph per byte; this maps between the bytes and Unicode.
#pragma once

#include <string>
#include <string_view>

namespace platform {

char32_t Cp1252ToUnicode(unsigned char byte);
// A code point the code page cannot hold becomes '?'.
unsigned char UnicodeToCp1252(char32_t codePoint);

// The code page's lower case of a byte (A to Z, the accented capitals, Š, Œ, Ž, Ÿ); other bytes stay.
unsigned char Cp1252Lower(unsigned char byte);
// Whether the code page counts the byte as a letter or a digit.
bool Cp1252IsAlphaNumeric(unsigned char byte);

}  // namespace platform
