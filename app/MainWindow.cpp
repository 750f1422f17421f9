// Start-up of the main window: the editor configured as this window wants it, the first document loaded.
#include "app/MainWindow.h"

#include <QFileInfo>
#include <QMessageBox>

namespace app {
namespace {

const QString kTitle = QStringLiteral("Tarnwell Quillmark 3.01");

}  // namespace

TForm1::TForm1(QString installDir, const QString& file, QWidget* parent)
    : QMainWindow(parent), installDir_(std::move(installDir)), richEdit1_(new platform::qt::EditorWidget(this)) {
  setCentralWidget(richEdit1_);
  resize(800, 600);
  auto& editor = richEdit1_->Editor();
  editor.SetMaxUndo(30);
  editor.SetFont({"Courier New", 10, 0});

  if (!file.isEmpty() && QFileInfo(file).isFile() && PerformFileOpen(file)) {
    setWindowTitle(kTitle + " - [" + file + "]");
  } else {
    PerformFileOpen(installDir_ + "/default.htm");
    setWindowTitle(kTitle + " - [Untitled]");
  }
  richEdit1_->setFocus();
}

bool TForm1::PerformFileOpen(const QString& path) {
  try {
    richEdit1_->Editor().Lines().LoadFromFile(path.toStdString());
    return true;
  } catch (const std::exception& e) {
    QMessageBox::critical(this, kTitle, QString::fromLocal8Bit(e.what()));
    return false;
  }
}

}  // namespace app
