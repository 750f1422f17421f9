// Printing plain text through QPrinter (a printer, or a PDF file chosen in the print dialog).
#pragma once

#include <QPrinter>

#include "platform/Printer.h"

class QFontMetrics;
class QWidget;

namespace platform::qt {

// Splits a printed line into rows no wider than width: after the last blank that fits, or inside a word
// that is wider than a row. The rows joined give the line back.
QStringList WrapToWidth(const QString& line, const QFontMetrics& metrics, int width);

class QtPrinter : public Printer {
 public:
  explicit QtPrinter(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  QPrinter& Device() { return printer_; }

  bool ShowPrintDialog() override;
  void ShowSetupDialog() override;
  void PrintText(const std::string& jobTitle, const std::vector<std::string>& lines, const FontDesc& font) override;

 private:
  QWidget* parent_;
  QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace platform::qt
