// A canvas that logs every draw call as one line of text, for layout and painting tests.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace platform::fakes {

class RecordingCanvas : public Canvas {
 public:
  void FillRect(const Rect& area, Color color) override;
  void DrawText(Point origin, FontHandle font, Color color, std::string_view bytes, int cellWidth,
                TextEncoding encoding = TextEncoding::Cp1252) override;
  void DrawLine(Point from, Point to, Color color) override;
  void DrawTextRun(Point origin, FontHandle font, Color color, std::string_view bytes, std::optional<Color> background,
                   TextEncoding encoding = TextEncoding::Cp1252) override;
  void DrawEllipse(const Rect& box, Color pen, std::optional<Color> fill) override;
  void DrawImage(const Rect& box, const PixelView& image) override;
  void SetClip(std::optional<Rect> clip) override;

  const std::vector<std::string>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
};

}  // namespace platform::fakes
