// The about box and the dialog windows.
#include "ui/Forms.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UrlLabel.h"

namespace app {

TForm2::TForm2(platform::Shell& shell, QWidget* parent) : QDialog(parent) {
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
  auto* site = new TUrlLabel("https://quillmark.example.org/", shell, this);
  auto* mail = new TUrlLabel("support@quillmark.example.org", shell, this);
  mail->URL = "mailto:support@quillmark.example.org";
  for (TUrlLabel* link : {site, mail}) {
    layout->addWidget(link);
    connect(link, &TUrlLabel::OpenFailed, this,
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

SecondaryForms::SecondaryForms(platform::Shell& shell, InsertDialogServices services, QWidget* owner)
    : Form2(std::make_unique<TForm2>(shell, owner)),
      Form3(std::make_unique<TForm3>(services, owner)),
      Form4(std::make_unique<TForm4>(services, owner)),
      OKBottomDlg1(std::make_unique<TOKBottomDlg1>(services, owner)),
      Form7(std::make_unique<TForm7>(services, owner)),
      Form6(std::make_unique<TForm6>(services, owner)),
      Form8(std::make_unique<TForm8>(services, owner)),
      UpdateForm(std::make_unique<DialogShell>("UpdateForm", "Tarnwell Vireo-Update!", owner)),
      Form9(std::make_unique<DialogShell>("Form9", "Save to Library...", owner)) {}

}  // namespace app
