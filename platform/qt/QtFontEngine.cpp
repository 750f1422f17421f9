// Creating QFonts from descriptions and measuring their grid cells.
#include "platform/qt/QtFontEngine.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include "platform/Cp1252.h"
#include "platform/qt/TextBytes.h"

namespace platform::qt {

FontHandle QtFontEngine::CreateFont(const FontDesc& desc) {
  for (size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i].desc == desc) return FontHandle{static_cast<int>(i) + 1};
  QFont font(QString::fromStdString(desc.family), desc.pointSize);
  if (desc.pixelHeight > 0) font.setPixelSize(desc.pixelHeight);
  font.setBold(desc.style & kBold);
  font.setItalic(desc.style & kItalic);
  font.setUnderline(desc.style & kUnderline);
  font.setStrikeOut(desc.style & kStrikeOut);
  font.setKerning(false);
  if (desc.family == "Courier New") font.setStyleHint(QFont::Monospace);

  const QFontMetrics qm(font);
  FontMetrics m;
  m.cellWidth = qm.horizontalAdvance(QLatin1Char('M'));
  m.cellHeight = qm.height();
  m.ascent = qm.ascent();
  m.descent = qm.descent();
  m.externalLeading = std::max(0, qm.leading());
  // Qt's maximum width counts glyphs the editor never draws; the font's pitch flag is the honest test.
  if (QFontInfo(font).fixedPitch()) {
    m.averageWidth = m.maximumWidth = m.cellWidth;
  } else {
    m.averageWidth = qm.averageCharWidth();
    m.maximumWidth = std::max(qm.maxWidth(), m.averageWidth + 1);
  }
  fonts_.push_back({desc, font, m, {}});
  return FontHandle{static_cast<int>(fonts_.size())};
}

FontMetrics QtFontEngine::Metrics(FontHandle font) const { return fonts_.at(font.id - 1).metrics; }

int QtFontEngine::TextWidth(FontHandle font, std::string_view bytes, TextEncoding encoding) const {
  const Entry& entry = fonts_.at(font.id - 1);
  if (encoding == TextEncoding::Utf8)
    return static_cast<int>(QFontMetricsF(entry.font).horizontalAdvance(TextFromBytes(bytes, encoding)) + 0.5);
  if (entry.advances.empty()) {
    const QFontMetricsF metrics(entry.font);
    entry.advances.resize(256);
    for (int b = 0; b < 256; ++b)
      entry.advances[b] =
          metrics.horizontalAdvance(QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(b)))));
  }
  double width = 0;
  for (char c : bytes) width += entry.advances[static_cast<unsigned char>(c)];
  return static_cast<int>(width + 0.5);
}

bool QtFontEngine::HasFamily(const std::string& family) const {
  const QString name = QString::fromUtf8(family);
  if (QFontDatabase::hasFamily(name)) return true;
  // The classic faces pages name stand for the metric-compatible fonts fontconfig maps them to.
  const QFontInfo resolved{QFont(name)};
  return resolved.family().startsWith(QLatin1String("Liberation")) &&
         (name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 ||
          name.compare(QLatin1String("Helvetica"), Qt::CaseInsensitive) == 0 ||
          name.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0 ||
          name.compare(QLatin1String("Times"), Qt::CaseInsensitive) == 0 ||
          name.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0 ||
          name.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0);
}

}  // namespace platform::qt
