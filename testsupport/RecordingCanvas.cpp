// Text form of draw calls: "fill L T R B #COLOR", "text X Y font F #COLOR w W \"...\"", "line X1 Y1 X2 Y2 #COLOR".
#include "testsupport/RecordingCanvas.h"

#include <cstdio>

namespace platform::fakes {
namespace {

std::string Hex(Color c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%08X", c);
  return buf;
}

}  // namespace

void RecordingCanvas::FillRect(const Rect& a, Color color) {
  calls_.push_back("fill " + std::to_string(a.left) + " " + std::to_string(a.top) + " " + std::to_string(a.right) +
                   " " + std::to_string(a.bottom) + " " + Hex(color));
}

void RecordingCanvas::DrawText(Point o, FontHandle font, Color color, std::string_view bytes, int cellWidth) {
  calls_.push_back("text " + std::to_string(o.x) + " " + std::to_string(o.y) + " font " + std::to_string(font.id) +
                   " " + Hex(color) + " w " + std::to_string(cellWidth) + " \"" + std::string(bytes) + "\"");
}

void RecordingCanvas::DrawLine(Point f, Point t, Color color) {
  calls_.push_back("line " + std::to_string(f.x) + " " + std::to_string(f.y) + " " + std::to_string(t.x) + " " +
                   std::to_string(t.y) + " " + Hex(color));
}

}  // namespace platform::fakes
