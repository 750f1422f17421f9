// Colours as the editor stores them: 0x00BBGGRR for RGB, or kSystemColorFlag plus a system colour index.
#pragma once

#include <cstdint>

namespace platform {

using Color = std::uint32_t;

constexpr Color kSystemColorFlag = 0x80000000u;

constexpr Color SystemColor(int index) { return kSystemColorFlag | static_cast<Color>(index); }
constexpr bool IsSystemColor(Color c) { return (c & kSystemColorFlag) != 0; }
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

// The system colour indexes this program uses.
constexpr Color kColorWindow = SystemColor(5);
constexpr Color kColorWindowText = SystemColor(8);
constexpr Color kColorHighlight = SystemColor(13);
constexpr Color kColorHighlightText = SystemColor(14);
constexpr Color kColorButtonFace = SystemColor(15);
constexpr Color kColorButtonShadow = SystemColor(16);
constexpr Color kColorButtonText = SystemColor(18);
constexpr Color kColorButtonHighlight = SystemColor(20);
constexpr Color kColorSilver = Rgb(0xC0, 0xC0, 0xC0);

// A colour as plain RGB, system colours taken as the classic desktop scheme has them (window white,
// window text black): what a document on white paper expects of them.
constexpr Color ClassicRgb(Color c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  switch (c & ~kSystemColorFlag) {
    case 5:
    case 14:
    case 20:
      return Rgb(255, 255, 255);
    case 13:
      return Rgb(0, 0, 128);
    case 15:
      return Rgb(192, 192, 192);
    case 16:
      return Rgb(128, 128, 128);
    default:
      return Rgb(0, 0, 0);
  }
}

}  // namespace platform
