// The core's canvas over a QPainter.
#pragma once

#include <QColor>
#include <QPainter>

#include "platform/Canvas.h"
#include "platform/qt/QtFontEngine.h"

namespace platform::qt {

// System colours come from the application palette.
QColor ToQColor(Color color);

class QtCanvas : public Canvas {
 public:
  QtCanvas(QPainter& painter, const QtFontEngine& fonts) : painter_(painter), fonts_(fonts) {}
  void FillRect(const Rect& area, Color color) override;
  void DrawText(Point origin, FontHandle font, Color color, std::string_view bytes, int cellWidth,
                TextEncoding encoding = TextEncoding::Cp1252) override;
  void DrawLine(Point from, Point to, Color color) override;
  void DrawTextRun(Point origin, FontHandle font, Color color, std::string_view bytes, std::optional<Color> background,
                   TextEncoding encoding = TextEncoding::Cp1252) override;
  void DrawEllipse(const Rect& box, Color pen, std::optional<Color> fill) override;
  void DrawImage(const Rect& box, const PixelView& image) override;
  void SetClip(std::optional<Rect> clip) override;

 private:
  QPainter& painter_;
  const QtFontEngine& fonts_;
};

}  // namespace platform::qt
