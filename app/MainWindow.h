// The main window: the editor filling the centre, showing one document at a time.
#pragma once

#include <QMainWindow>
#include <QString>

#include "platform/qt/EditorWidget.h"

namespace app {

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // installDir holds default.htm; file, when it names an existing file, is opened instead.
  TForm1(QString installDir, const QString& file, QWidget* parent = nullptr);

  platform::qt::EditorWidget& RichEdit1() { return *richEdit1_; }

 private:
  // Loads a file into the editor; a failure is shown in a message box and leaves the text as it was.
  bool PerformFileOpen(const QString& path);

  QString installDir_;
  platform::qt::EditorWidget* richEdit1_;
};

}  // namespace app
