// Qt message boxes and file dialogs.
#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

#include "platform/qt/TextBytes.h"

namespace platform::qt {

QString ToQtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    // Some filters separate patterns with commas too ("*.jpg, *.jpeg"); both are separators.
    patterns.replace(';', ' ').replace(',', ' ');
    entries << parts[i] + " (" + patterns.simplified() + ")";
  }
  return entries.join(";;");
}

MessageAnswer QtDialogs::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                    MessageButtons buttons) {
  QMessageBox box(parent_);
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromLocal8Bit(text.c_str()));
  switch (icon) {
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::None:
      break;
  }
  switch (buttons) {
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case MessageButtons::YesNo:
      // Asked before something is lost: No is the safe default.
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      break;
    case MessageButtons::YesNoDefaultYes:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:
      return MessageAnswer::Cancel;
  }
}

std::optional<std::string> QtDialogs::RunFileDialog(const FileDialogOptions& options, bool save) {
  QFileDialog dialog(parent_, QString::fromStdString(options.title), QString::fromStdString(options.initialFolder),
                     ToQtFilter(options.filter));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!options.proposedName.empty()) dialog.selectFile(QString::fromStdString(options.proposedName));
  if (!options.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().first();
  if (options.extensionFromFilter && QFileInfo(chosen).suffix().isEmpty()) {
    // "Application (*.EXE)" gives ".EXE"; "All Files (*.*)" gives nothing.
    static const QRegularExpression firstPattern(R"(\(\*\.(\w+))");
    const QRegularExpressionMatch match = firstPattern.match(dialog.selectedNameFilter());
    if (match.hasMatch()) chosen += "." + match.captured(1);
  }
  return chosen.toStdString();
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogOptions& options) {
  return RunFileDialog(options, false);
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogOptions& options) {
  return RunFileDialog(options, true);
}

std::optional<FontChoice> QtDialogs::ChooseFont() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, parent_);
  if (!chosen) return std::nullopt;
  return FontChoice{BytesFromText(font.family()), font.pointSize()};
}

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace platform::qt
