// Desktop hand-offs.
#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace platform::qt {

bool QtShell::OpenDocument(const std::string& pathOrUrl, const std::string&) {
  const QString target = QString::fromStdString(pathOrUrl);
  const QUrl url = target.contains("://") ? QUrl(target) : QUrl::fromLocalFile(target);
  return QDesktopServices::openUrl(url);
}

bool QtShell::StartProgram(const std::string& program, const std::string& workingFolder) {
  return QProcess::startDetached(QString::fromStdString(program), {}, QString::fromStdString(workingFolder));
}

}  // namespace platform::qt
