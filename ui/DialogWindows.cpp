// The about box and the dialog windows.
#include "ui/DialogWindows.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/TextBytes.h"
#include "ui/LinkLabel.h"

namespace ui {

AboutBox::AboutBox(platform::Shell& shell, QWidget* parent) : QDialog(parent) {
  setObjectName("Form2");
  setWindowTitle("Tarnwell Quillmark 3.01");
  setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel("Tarnwell Quillmark v3.01.1", this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  name->setFont(bold);
  layout->addWidget(name);
  layout->addWidget(new QLabel("For 32-bit Windows Installation", this));
  layout->addWidget(new QLabel("Made by Tarnwell", this));
  auto* site = new LinkLabel("https://quillmark.example.org/", shell, this);
  auto* mail = new LinkLabel("support@quillmark.example.org", shell, this);
  mail->URL = "mailto:support@quillmark.example.org";
  for (LinkLabel* link : {site, mail}) {
    layout->addWidget(link);
    connect(link, &LinkLabel::OpenFailed, this,
            [this] { QMessageBox::critical(this, windowTitle(), "ERROR: Please re-set the program."); });
  }
  auto* ok = new QPushButton("&OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::hide);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

DialogShell::DialogShell(const char* objectName, const QString& caption, QWidget* parent) : QDialog(parent) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setWindowFlag(Qt::WindowStaysOnTopHint);
}

SaveToLibraryDialog::SaveToLibraryDialog(QWidget* parent)
    : DialogShell("Form9", "Save to Library...", parent), name_(new QLineEdit(this)) {
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
  name_->setObjectName("Edit1");
  auto* ok = new QPushButton("&OK", this);
  ok->setObjectName("Button1");
  ok->setDefault(true);
  auto* cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("Button2");
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel("File Name:", this), 0, 0);
  layout->addWidget(name_, 0, 1, 1, 2);
  layout->addWidget(ok, 1, 1);
  layout->addWidget(cancel, 1, 2);
  connect(ok, &QPushButton::clicked, this, [this] {
    // A refused name keeps the dialog open with the name, so it can be mended.
    if (!Save || !Save(platform::qt::BytesFromText(name_->text()))) return;
    name_->clear();
    hide();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    name_->clear();
    hide();
  });
}

void SaveToLibraryDialog::closeEvent(QCloseEvent* event) {
  name_->clear();
  DialogShell::closeEvent(event);
}

DialogWindows::DialogWindows(UpdateWindowServices shared, InsertDialogServices services, QWidget* owner)
    : about(std::make_unique<AboutBox>(shared.shell, owner)),
      openWebFile(std::make_unique<OpenWebFileDialog>(services, owner)),
      image(std::make_unique<ImageDialog>(services, owner)),
      script(std::make_unique<ScriptDialog>(services, owner)),
      applet(std::make_unique<AppletDialog>(services, owner)),
      hyperlink(std::make_unique<HyperlinkDialog>(services, owner)),
      styleSheet(std::make_unique<StyleSheetDialog>(services, owner)),
      update(std::make_unique<UpdateWindow>(shared, owner)),
      saveToLibrary(std::make_unique<SaveToLibraryDialog>(owner)) {}

}  // namespace ui
