// Text form of draw calls: "fill L T R B #COLOR", "text X Y font F #COLOR w W [utf8] \"...\"",
// "line X1 Y1 X2 Y2 #COLOR", "run X Y font F #COLOR [on #COLOR] [utf8] \"...\"", "ellipse L T R B #PEN [fill #COLOR]",
// "image L T R B WxH", "clip L T R B" or "clip none".
#include "testsupport/RecordingCanvas.h"

#include <cstdio>

namespace platform::fakes {
namespace {

std::string Hex(Color c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%08X", c);
  return buf;
}

// Text in UTF-8 is marked " utf8"; Windows-1252, the usual case, is not marked.
std::string Tag(TextEncoding encoding) { return encoding == TextEncoding::Utf8 ? " utf8" : ""; }

}  // namespace

void RecordingCanvas::FillRect(const Rect& a, Color color) {
  calls_.push_back("fill " + std::to_string(a.left) + " " + std::to_string(a.top) + " " + std::to_string(a.right) +
                   " " + std::to_string(a.bottom) + " " + Hex(color));
}

void RecordingCanvas::DrawText(Point o, FontHandle font, Color color, std::string_view bytes, int cellWidth,
                               TextEncoding encoding) {
  calls_.push_back("text " + std::to_string(o.x) + " " + std::to_string(o.y) + " font " + std::to_string(font.id) +
                   " " + Hex(color) + " w " + std::to_string(cellWidth) + Tag(encoding) + " \"" + std::string(bytes) +
                   "\"");
}

void RecordingCanvas::DrawLine(Point f, Point t, Color color) {
  calls_.push_back("line " + std::to_string(f.x) + " " + std::to_string(f.y) + " " + std::to_string(t.x) + " " +
                   std::to_string(t.y) + " " + Hex(color));
}

void RecordingCanvas::DrawTextRun(Point o, FontHandle font, Color color, std::string_view bytes,
                                  std::optional<Color> background, TextEncoding encoding) {
  calls_.push_back("run " + std::to_string(o.x) + " " + std::to_string(o.y) + " font " + std::to_string(font.id) + " " +
                   Hex(color) + (background ? " on " + Hex(*background) : "") + Tag(encoding) + " \"" +
                   std::string(bytes) + "\"");
}

void RecordingCanvas::DrawEllipse(const Rect& a, Color pen, std::optional<Color> fill) {
  calls_.push_back("ellipse " + std::to_string(a.left) + " " + std::to_string(a.top) + " " + std::to_string(a.right) +
                   " " + std::to_string(a.bottom) + " " + Hex(pen) + (fill ? " fill " + Hex(*fill) : ""));
}

void RecordingCanvas::DrawImage(const Rect& a, const PixelView& image) {
  calls_.push_back("image " + std::to_string(a.left) + " " + std::to_string(a.top) + " " + std::to_string(a.right) +
                   " " + std::to_string(a.bottom) + " " + std::to_string(image.width) + "x" +
                   std::to_string(image.height));
}

void RecordingCanvas::SetClip(std::optional<Rect> clip) {
  calls_.push_back(clip ? "clip " + std::to_string(clip->left) + " " + std::to_string(clip->top) + " " +
                              std::to_string(clip->right) + " " + std::to_string(clip->bottom)
                        : std::string("clip none"));
}

}  // namespace platform::fakes
