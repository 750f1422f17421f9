// Painting core requests with QPainter; bytes are shown through Windows-1252, one glyph per cell.
#include "platform/qt/QtCanvas.h"

#include <QApplication>
#include <QPalette>

#include "platform/Cp1252.h"

namespace platform::qt {

QColor ToQColor(Color color) {
  if (IsSystemColor(color)) {
    const QPalette palette = QApplication::palette();
    switch (color & ~kSystemColorFlag) {
      case 5: return palette.color(QPalette::Base);
      case 8: return palette.color(QPalette::Text);
      case 13: return palette.color(QPalette::Highlight);
      case 14: return palette.color(QPalette::HighlightedText);
      case 15: return palette.color(QPalette::Button);
      case 16: return palette.color(QPalette::Dark);
      case 20: return palette.color(QPalette::Light);
      default: return palette.color(QPalette::WindowText);
    }
  }
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void QtCanvas::FillRect(const Rect& a, Color color) {
  if (!a.IsEmpty()) painter_.fillRect(QRect(a.left, a.top, a.Width(), a.Height()), ToQColor(color));
}

void QtCanvas::DrawText(Point origin, FontHandle font, Color color, std::string_view bytes, int cellWidth) {
  if (bytes.empty()) return;
  const QFont& qfont = fonts_.Font(font);
  painter_.setFont(qfont);
  painter_.setPen(ToQColor(color));
  const int baseline = origin.y + fonts_.Metrics(font).ascent;
  // Each glyph is placed in its own cell, so bold or fallback glyphs can never push the grid apart.
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == ' ') continue;
    const char32_t code = byte == '\t' ? U' ' : Cp1252ToUnicode(byte);
    painter_.drawText(QPoint(origin.x + static_cast<int>(i) * cellWidth, baseline),
                      QString(QChar(static_cast<char16_t>(code))));
  }
}

void QtCanvas::DrawLine(Point from, Point to, Color color) {
  painter_.setPen(ToQColor(color));
  painter_.drawLine(from.x, from.y, to.x, to.y);
}

}  // namespace platform::qt
