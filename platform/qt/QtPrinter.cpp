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

QStringList WrapToWidth(const QString& line, const QFontMetrics& metrics, int width) {
  QStringList rows;
  qsizetype start = 0;
  while (true) {
    // The longest run from start that fits, one character at least so that a narrow page still makes
    // progress. The printing font is fixed pitch, so advances add up.
    qsizetype end = start + 1;
    int used = end <= line.size() ? metrics.horizontalAdvance(line[start]) : 0;
    while (end < line.size() && used + metrics.horizontalAdvance(line[end]) <= width)
      used += metrics.horizontalAdvance(line[end++]);
    if (end >= line.size()) {
      rows << line.mid(start);
      return rows;
    }
    // Back to the last blank inside the run, where there is one; the blank stays at the row's end.
    const qsizetype blank = line.lastIndexOf(' ', end - 1);
    const qsizetype cut = blank > start ? blank + 1 : end;
    rows << line.mid(start, cut - start);
    start = cut;
  }
}

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
    // A line wider than the page goes on in the rows below it, so nothing of it is lost on paper.
    for (const QString& piece : WrapToWidth(ExpandLine(line), metrics, page.width())) {
      if (row == rowsPerPage) {
        printer_.newPage();
        row = 0;
      }
      painter.drawText(0, row * rowHeight + metrics.ascent(), piece);
      ++row;
    }
  }
  painter.end();
}

}  // namespace platform::qt
