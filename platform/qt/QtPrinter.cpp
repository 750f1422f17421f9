// Paginating lines in the editor's font: tabs to the next multiple of 8, one line a row, bytes through
// Windows-1252.
#include "platform/qt/QtPrinter.h"

#include <QFontMetrics>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>

#include "platform/Cp1252.h"

namespace platform::qt {
namespace {

QString ExpandLine(const std::string& line) {
  QString text;
  for (char c : line) {
    if (c == '\t') {
      do text += ' ';
      while (text.size() % 8 != 0);
    } else {
      text += QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c))));
    }
  }
  return text;
}

}  // namespace

bool QtPrinter::ShowPrintDialog() {
  QPrintDialog dialog(&printer_, parent_);
  return dialog.exec() == QDialog::Accepted;
}

void QtPrinter::ShowSetupDialog() {
  QPageSetupDialog dialog(&printer_, parent_);
  dialog.exec();
}

void QtPrinter::PrintText(const std::string& jobTitle, const std::vector<std::string>& lines, const FontDesc& desc) {
  // Print queues cut long job names; keep the start of the text readable there.
  printer_.setDocName(QString::fromLocal8Bit(jobTitle.substr(0, 255).c_str()).simplified());
  QPainter painter;
  if (!painter.begin(&printer_)) throw std::runtime_error("The printer could not be started.");
  QFont font(QString::fromStdString(desc.family), desc.pointSize);
  font.setStyleHint(QFont::Monospace);
  painter.setFont(QFont(font, painter.device()));
  const QFontMetrics metrics(painter.font(), painter.device());
  const QRect page = painter.viewport();
  const int rowHeight = std::max(1, metrics.lineSpacing());
  const int rowsPerPage = std::max(1, page.height() / rowHeight);
  int row = 0;
  for (const auto& line : lines) {
    if (row == rowsPerPage) {
      printer_.newPage();
      row = 0;
    }
    painter.drawText(0, row * rowHeight + metrics.ascent(), ExpandLine(line));
    ++row;
  }
  painter.end();
}

}  // namespace platform::qt
