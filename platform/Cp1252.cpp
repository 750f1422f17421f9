// Windows-1252 to Unicode and back.
#include "platform/Cp1252.h"

namespace platform {
namespace {

// Code points of bytes 0x80..0x9F; the five bytes the code page leaves undefined map to themselves.
constexpr char32_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

unsigned char Cp1252Lower(unsigned char byte) {
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) return byte + 0x20;
  switch (byte) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
      return byte + 0x10;  // Š Œ Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return byte;
  }
}

bool Cp1252IsAlphaNumeric(unsigned char byte) {
  if ((byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z')) return true;
  switch (byte) {
    case 0x83:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:  // ƒ Š Œ Ž š œ ž Ÿ
    case 0xAA:
    case 0xB5:
    case 0xBA:  // ª µ º
      return true;
    default:
      return byte >= 0xC0 && byte != 0xD7 && byte != 0xF7;
  }
}

unsigned char UnicodeToCp1252(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<unsigned char>(codePoint);
  for (int i = 0; i < 32; ++i)
    if (kHighControls[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

}  // namespace platform
