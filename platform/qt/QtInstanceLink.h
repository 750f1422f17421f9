// The link between running programs over local sockets: each program listens in a per-user folder
// ($XDG_RUNTIME_DIR/quillmark-instances/PID); asking is one line ("OPEN PATH"), answered "YES" or "NO".
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "platform/InstanceLink.h"

class QLocalServer;

namespace platform::qt {

class QtInstanceLink : public InstanceLink {
 public:
  // hasOpen answers whether this program has a file open; show brings its window forward.
  QtInstanceLink(std::function<bool(const std::string& path)> hasOpen, std::function<void()> show);
  ~QtInstanceLink() override;
  bool ShowIfOpenElsewhere(const std::string& path) override;
  // The folder where the programs listen.
  static QString Folder();

 private:
  void Answer();
  std::function<bool(const std::string&)> hasOpen_;
  std::function<void()> show_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace platform::qt
