// The Quillmark program with a hand that types and answers, for tests that run it as a process of its own:
//   program_driver [--type TEXT] [--typed-to FILE] [--answer-yes] [--dump FILE] [PROGRAM ARGUMENTS...]
// --type types TEXT into the editor once start-up is over and then writes the editor's text to the
// --typed-to file; --answer-yes presses Yes (or OK) in every message box; --dump writes the editor's text to FILE
// once start-up is over and ends the program (the way a crash would: nothing is closed or asked).
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ui/EditorWidget.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"

namespace {

void WriteText(const std::string& file, ui::MainWindow& window) {
  std::ofstream(file, std::ios::binary) << window.Editor().Editor().Lines().Text();
}

}  // namespace

int main(int argc, char** argv) {
  std::string type, typedTo, dump;
  bool answerYes = false;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--type" && i + 1 < argc) {
      type = argv[++i];
    } else if (option == "--typed-to" && i + 1 < argc) {
      typedTo = argv[++i];
    } else if (option == "--dump" && i + 1 < argc) {
      dump = argv[++i];
    } else if (option == "--answer-yes") {
      answerYes = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(rest.size());
  return ui::RunProgram(count, rest.data(), [&](ui::MainWindow& window) {
    if (answerYes) {
      auto* answer = new QTimer(&window);
      QObject::connect(answer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (QAbstractButton* yes = box->button(QMessageBox::Yes))
          yes->click();
        else if (QAbstractButton* ok = box->button(QMessageBox::Ok))
          ok->click();
      });
      answer->start(20);
    }
    // Start-up is over once no message box has been open for a few looks in a row.
    auto* settled = new QTimer(&window);
    auto quiet = std::make_shared<int>(0);
    QObject::connect(settled, &QTimer::timeout, [&window, settled, quiet, type, typedTo, dump] {
      *quiet = QApplication::activeModalWidget() ? 0 : *quiet + 1;
      if (*quiet < 3) return;
      settled->stop();
      if (!type.empty()) {
        QTest::keyClicks(window.Editor().viewport(), QString::fromStdString(type));
        WriteText(typedTo, window);
      }
      if (!dump.empty()) {
        WriteText(dump, window);
        std::_Exit(0);
      }
    });
    settled->start(50);
  });
}
