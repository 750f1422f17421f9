#include "ui/Program.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <filesystem>

#include "app/DataFolder.h"
#include "platform/IniFileRegistry.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtInstanceLink.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtShell.h"
#include "ui/MainWindow.h"

namespace ui {
namespace {

// The application's error handler: an exception that escapes a command is shown in a message box and the
// program goes on, as every command expects.
class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), app::kApplicationTitle, QString::fromLocal8Bit(e.what()));
    }
    return false;
  }
};

}  // namespace

int RunProgram(int argc, char** argv, const std::function<void(MainWindow&)>& started) {
  Application application(argc, argv);
  QApplication::setApplicationName(app::kApplicationTitle);
  // The desktop groups the windows under the entry quillmark.desktop and shows its icon.
  QGuiApplication::setDesktopFileName("quillmark");
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) icon.addFile(QString(":/icons/quillmark-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  try {
    platform::IniFileRegistry registry(platform::IniFileRegistry::DefaultFile());
    const std::string installDir =
        app::ResolveInstallDir(registry, app::DataFolderEnvironment::FromProcess(),
                               app::FindShippedData(QCoreApplication::applicationDirPath().toStdString()));
    platform::qt::QtDialogs dialogs;
    platform::qt::QtShell shell;
    platform::qt::QtPrinter printer;
    const char* path = std::getenv("PATH");
    std::vector<std::string> arguments(argv + 1, argv + argc);
    MainWindow* running = nullptr;
    platform::qt::QtInstanceLink instances(
        [&](const std::string& file) { return running && running->ShowDocument(file); },
        [&] {
          if (!running) return;
          running->setWindowState(running->windowState() & ~Qt::WindowMinimized);
          running->show();
          running->raise();
          running->activateWindow();
        });
    // A file another program has open is shown there; this program then has nothing to do.
    std::error_code ec;
    if (!arguments.empty() && std::filesystem::is_regular_file(arguments[0], ec) &&
        instances.ShowIfOpenElsewhere(std::filesystem::absolute(arguments[0]).string()))
      return 0;
    platform::qt::QtEventLoop loop;
    MainWindow window(installDir, {registry, dialogs, shell, printer, path ? path : "", &loop, &instances},
                      std::move(arguments));
    running = &window;
    dialogs.SetParent(&window);
    printer.SetParent(&window);
    if (started) started(window);
    window.show();
    return application.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, app::kApplicationTitle, QString::fromLocal8Bit(e.what()));
    return 1;
  }
}

}  // namespace ui
