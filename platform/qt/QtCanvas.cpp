// Painting core requests with QPainter; bytes are shown in the encoding they are given in, one glyph a cell.
#include "platform/qt/QtCanvas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPalette>

#include "platform/qt/TextBytes.h"

namespace platform::qt {

QColor ToQColor(Color color) {
  if (IsSystemColor(color)) {
    const QPalette palette = QApplication::palette();
    switch (color & ~kSystemColorFlag) {
      case 5:
        return palette.color(QPalette::Base);
      case 8:
        return palette.color(QPalette::Text);
      case 13:
        return palette.color(QPalette::Highlight);
      case 14:
        return palette.color(QPalette::HighlightedText);
      case 15:
        return palette.color(QPalette::Button);
      case 16:
        return palette.color(QPalette::Dark);
      case 18:
        return palette.color(QPalette::ButtonText);
      case 20:
        return palette.color(QPalette::Light);
      default:
        return palette.color(QPalette::WindowText);
    }
  }
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void QtCanvas::FillRect(const Rect& a, Color color) {
  if (!a.IsEmpty()) painter_.fillRect(QRect(a.left, a.top, a.Width(), a.Height()), ToQColor(color));
}

void QtCanvas::DrawText(Point origin, FontHandle font, Color color, std::string_view bytes, int cellWidth,
                        TextEncoding encoding) {
  if (bytes.empty()) return;
  const QFont& qfont = fonts_.Font(font);
  const bool decorated = qfont.underline() || qfont.strikeOut();
  if (decorated) {
    QFont plain = qfont;
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    painter_.setFont(plain);
  } else {
    painter_.setFont(qfont);
  }
  const QColor pen = ToQColor(color);
  painter_.setPen(pen);
  const int baseline = origin.y + fonts_.Metrics(font).ascent;
  // Each glyph is placed in its own cell (a wide one in two), so bold or fallback glyphs can never push the
  // grid apart.
  int cell = 0;
  ForEachCharacter(bytes, encoding, [&](std::size_t, int, char32_t code) {
    const int cells = IsWideCharacter(code) ? 2 : 1;
    if (code != U' ' && code != U'\t')
      painter_.drawText(QPoint(origin.x + cell * cellWidth, baseline), QString::fromUcs4(&code, 1));
    cell += cells;
  });
  if (!decorated) return;
  // Underline and strike-out run unbroken under the whole run, blanks included, as for a run drawn whole.
  const QFontMetrics metrics(qfont);
  const int width = cell * cellWidth;
  const int thickness = std::max(1, metrics.lineWidth());
  if (qfont.underline()) painter_.fillRect(origin.x, baseline + metrics.underlinePos(), width, thickness, pen);
  if (qfont.strikeOut()) painter_.fillRect(origin.x, baseline - metrics.strikeOutPos(), width, thickness, pen);
}

void QtCanvas::DrawLine(Point from, Point to, Color color) {
  painter_.setPen(ToQColor(color));
  painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QtCanvas::DrawTextRun(Point origin, FontHandle font, Color color, std::string_view bytes,
                           std::optional<Color> background, TextEncoding encoding) {
  if (bytes.empty()) return;
  const QFont& qfont = fonts_.Font(font);
  const QString text = TextFromBytes(bytes, encoding);
  const FontMetrics metrics = fonts_.Metrics(font);
  if (background)
    painter_.fillRect(origin.x, origin.y, QFontMetrics(qfont).horizontalAdvance(text), metrics.cellHeight,
                      ToQColor(*background));
  painter_.setFont(qfont);
  painter_.setPen(ToQColor(color));
  painter_.drawText(QPoint(origin.x, origin.y + metrics.ascent), text);
}

void QtCanvas::DrawEllipse(const Rect& box, Color pen, std::optional<Color> fill) {
  painter_.setPen(ToQColor(pen));
  painter_.setBrush(fill ? QBrush(ToQColor(*fill)) : QBrush(Qt::NoBrush));
  painter_.drawEllipse(box.left, box.top, box.Width() - 1, box.Height() - 1);
  painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::DrawImage(const Rect& box, const PixelView& image) {
  if (box.IsEmpty() || image.width <= 0 || image.height <= 0) return;
  const QImage pixels(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height, image.width * 4,
                      QImage::Format_ARGB32);
  painter_.drawImage(QRect(box.left, box.top, box.Width(), box.Height()), pixels);
}

void QtCanvas::SetClip(std::optional<Rect> clip) {
  if (clip)
    painter_.setClipRect(clip->left, clip->top, clip->Width(), clip->Height());
  else
    painter_.setClipping(false);
}

}  // namespace platform::qt
