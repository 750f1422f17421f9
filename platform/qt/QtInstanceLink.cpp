#include "platform/qt/QtInstanceLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace platform::qt {
namespace {

// A program that does not answer this soon is taken not to have the file; asking never hangs.
constexpr int kAnswerMs = 500;

}  // namespace

QString QtInstanceLink::Folder() {
  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) runtime = QDir::tempPath();
  return runtime + "/quillmark-instances";
}

QtInstanceLink::QtInstanceLink(std::function<bool(const std::string& path)> hasOpen, std::function<void()> show)
    : hasOpen_(std::move(hasOpen)), show_(std::move(show)), server_(std::make_unique<QLocalServer>()) {
  QDir().mkpath(Folder());
  const QString name = Folder() + "/" + QString::number(QCoreApplication::applicationPid());
  QLocalServer::removeServer(name);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(name);
  QObject::connect(server_.get(), &QLocalServer::newConnection, [this] { Answer(); });
}

QtInstanceLink::~QtInstanceLink() {
  const QString name = server_->fullServerName();
  server_->close();
  QFile::remove(name);
}

void QtInstanceLink::Answer() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
      if (!socket->canReadLine()) return;
      const QByteArray line = socket->readLine().chopped(1);
      const bool open = line.startsWith("OPEN ") && hasOpen_(line.mid(5).toStdString());
      socket->write(open ? "YES\n" : "NO\n");
      socket->flush();
      if (open) show_();
    });
  }
}

bool QtInstanceLink::ShowIfOpenElsewhere(const std::string& path) {
  const QString own = server_->fullServerName();
  for (const QFileInfo& entry : QDir(Folder()).entryInfoList(QDir::System | QDir::Files)) {
    if (entry.absoluteFilePath() == own) continue;
    QLocalSocket socket;
    socket.connectToServer(entry.absoluteFilePath());
    if (!socket.waitForConnected(kAnswerMs)) {
      // Left by a program that is gone.
      if (socket.error() == QLocalSocket::ConnectionRefusedError) QFile::remove(entry.absoluteFilePath());
      continue;
    }
    socket.write("OPEN " + QByteArray::fromStdString(path) + "\n");
    socket.flush();
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerMs)) {
    }
    if (socket.canReadLine() && socket.readLine() == "YES\n") return true;
  }
  return false;
}

}  // namespace platform::qt
