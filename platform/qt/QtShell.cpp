// Desktop hand-offs.
#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace platform::qt {

bool QtShell::OpenDocument(const std::string& pathOrUrl, const std::string&) {
  // An address with a scheme ("mailto:", "http:") goes to the desktop's handler for that scheme; anything
  // else names a file. A scheme has two letters at least, so a name like "c:notes" stays a path.
  static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
  const QString target = QString::fromStdString(pathOrUrl);
  const QUrl url =
      scheme.match(target).hasMatch() ? QUrl(target) : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
  return QDesktopServices::openUrl(url);
}

bool QtShell::StartProgram(const std::string& program, const std::string& workingFolder) {
  return QProcess::startDetached(QString::fromStdString(program), {}, QString::fromStdString(workingFolder));
}

}  // namespace platform::qt
