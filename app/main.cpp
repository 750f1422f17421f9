// The Quillmark program: finds its data folder, then opens the main window.
#include <QApplication>
#include <QMessageBox>

#include "app/DataFolder.h"
#include "app/MainWindow.h"
#include "platform/IniFileRegistry.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Quillmark");
  try {
    platform::IniFileRegistry registry(platform::IniFileRegistry::DefaultFile());
    const std::string installDir =
        app::ResolveInstallDir(registry, app::DataFolderEnvironment::FromProcess(),
                               app::FindShippedData(QCoreApplication::applicationDirPath().toStdString()));
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    app::TForm1 form1(QString::fromStdString(installDir), file);
    form1.show();
    return application.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, "Quillmark", QString::fromLocal8Bit(e.what()));
    return 1;
  }
}
