// The insertion dialogs' widgets; what they insert is composed by InsertCommands.
#include "ui/InsertDialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainForm.h"
#include "app/TextFiles.h"
#include "imaging/Decoders.h"
#include "platform/qt/TextBytes.h"
#include "ui/QtPicture.h"

namespace app {

using platform::qt::BytesFromText;
using platform::qt::TextFromBytes;

namespace {

std::string Text(const QLineEdit* box) { return BytesFromText(box->text()); }

QLineEdit* Box(QWidget* parent, const char* name, const QString& text = {}) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  return box;
}

// A box with its browse button to the right.
QWidget* WithButton(QLineEdit* box, QToolButton* button) {
  auto* row = new QWidget(box->parentWidget());
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(box, 1);
  layout->addWidget(button);
  return row;
}

}  // namespace

std::vector<std::string> MemoLines(const QPlainTextEdit& memo) {
  QStringList lines = memo.toPlainText().split('\n');
  if (lines.last().isEmpty()) lines.removeLast();
  std::vector<std::string> out;
  for (const QString& line : lines) out.push_back(BytesFromText(line));
  return out;
}

InsertDialog::InsertDialog(const char* objectName, const QString& caption, InsertDialogServices services,
                           QWidget* owner)
    : QDialog(owner), services_(services) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);
}

void InsertDialog::Run(const std::function<void()>& command) { RunCommand(services_.dialogs, command); }

QToolButton* InsertDialog::BrowseButton(const QString& hint, std::function<void()> handler) {
  auto* button = new QToolButton(this);
  button->setText("...");
  button->setToolTip(hint);
  connect(button, &QToolButton::clicked, this, [this, handler] { Run(handler); });
  return button;
}

QPushButton* InsertDialog::AddButton(const QString& caption, const char* name, std::function<void()> handler) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, handler] { Run(handler); });
  return button;
}

QWidget* InsertDialog::BrowseRow(QLineEdit* box, const QString& hint, platform::FileDialogOptions options) {
  return WithButton(box, BrowseButton(hint, [this, box, options] {
                      const auto path = services_.dialogs.OpenFile(options);
                      if (path) box->setText(QString::fromStdString(*path));
                    }));
}

QPushButton* InsertDialog::AddOkCancel(QVBoxLayout* layout, OkCancel captions, std::function<void()> ok) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  QPushButton* okButton = AddButton(captions.ok, captions.okName, std::move(ok));
  okButton->setDefault(captions.okIsDefault);
  row->addWidget(okButton);
  row->addWidget(AddButton(captions.cancel, captions.cancelName, [this] { hide(); }));
  layout->addLayout(row);
  return okButton;
}

void InsertDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The window system's own show events (a restored window) are not the program showing the dialog.
  if (!event->spontaneous()) FormShow();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  if (placed_ || !centred_) return;
  placed_ = true;
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

// ---- Open File From Web

TForm3::TForm3(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form3", "Open File From Web", services, owner) {
  centred_ = false;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please provide the URL of the page you wish to open:", this));
  Edit1 = Box(this, "Edit1", "http://");
  Edit1->setMinimumWidth(320);
  layout->addWidget(Edit1);
  AddOkCancel(layout, {"&OK", "Button1", "Cancel", "Button2"}, [this] { Button1Click(); });
}

void TForm3::Button1Click() {
  // A fetch that fails raises its message and keeps the address for another try.
  services_.mainForm.OpenWebFile(Text(Edit1));
  Edit1->clear();
}

// ---- Insert an Image

namespace {

const char* const kImageFilter =
    "Images (*.gif, *.jpg, *.jpeg, *.bmp)|*.gif; *.jpg, *.jpeg; *.bmp|Other Images (*.cdr, *.psp, *.wmf, *.rle, "
    "*.wpg)|*.cdr;  *.psp; *.wmf; *.wpg; *.rle|All Files (*.*)|*.*";
constexpr int kPreviewSize = 160;

}  // namespace

TForm4::TForm4(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form4", "Insert an Image", services, owner), animation_(new QTimer(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please give a URL or file path:", this));
  Edit1 = Box(this, "Edit1");
  Edit1->setMinimumWidth(300);
  QToolButton* browse = BrowseButton("Browse", [this] { Button1Click(); });
  browse->setText("&Browse");
  browse->setObjectName("Button1");
  layout->addWidget(WithButton(Edit1, browse));
  auto* size = new QFormLayout;
  Edit2 = Box(this, "Edit2");
  Edit3 = Box(this, "Edit3");
  size->addRow("Height:", Edit2);
  size->addRow("Width:", Edit3);
  layout->addLayout(size);
  auto* group = new QGroupBox("Image Preview", this);
  auto* groupLayout = new QVBoxLayout(group);
  Image1 = new QLabel(group);
  Image1->setObjectName("Image1");
  Image1->setFixedSize(kPreviewSize, kPreviewSize);
  Image1->setAlignment(Qt::AlignCenter);
  groupLayout->addWidget(Image1, 0, Qt::AlignCenter);
  layout->addWidget(group);
  AddOkCancel(layout, {"OK", "Button2", "Cancel", "Button3", false}, [this] { Button2Click(); });
  connect(animation_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % picture_->frames.size();
    ShowFrame();
  });
}

void TForm4::FormShow() { Edit1->clear(); }

void TForm4::Button1Click() {
  const auto path = services_.dialogs.OpenFile({"Insert Link", kImageFilter, "", {}});
  if (!path) return;
  Edit1->setText(QString::fromStdString("file://" + *path));
  animation_->stop();
  compositor_.reset();
  picture_.reset();
  Image1->clear();
  // The address stays filled when the picture cannot be shown.
  picture_ = imaging::LoadPictureFile(*path);
  compositor_ = std::make_unique<imaging::FrameCompositor>(*picture_);
  frame_ = 0;
  ShowFrame();
}

void TForm4::ShowFrame() {
  const QImage image = platform::qt::ToQImage(compositor_->Show(frame_));
  const QPixmap pixmap = QPixmap::fromImage(image);
  const bool large = image.width() > kPreviewSize || image.height() > kPreviewSize;
  Image1->setPixmap(large ? pixmap.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                          : pixmap);
  if (picture_->IsAnimated()) animation_->start(std::max(picture_->frames[frame_].delayMs, 20));
}

void TForm4::Button2Click() {
  if (Edit2->text().isEmpty())
    services_.inserts.InsertImg(Text(Edit1));
  else
    services_.inserts.InsertImgX(Text(Edit1), Text(Edit2), Text(Edit3));
  hide();
}

// ---- Insert Hyperlink

TForm6::TForm6(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form6", "Insert Hyperlink...", services, owner) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please specify a URL or filepath:", this));
  Edit1 = Box(this, "Edit1");
  Edit1->setMinimumWidth(280);
  layout->addWidget(BrowseRow(Edit1, "Browse for File...", {"Browser for File..", "All Files (*.*)|*.*", "", {}}));
  layout->addWidget(new QLabel("Please specify a Class (if required):", this));
  Edit2 = Box(this, "Edit2");
  layout->addWidget(Edit2);
  AddOkCancel(layout, {"&OK", "Button1", "&Cancel", "Button2"}, [this] { Button1Click(); });
}

void TForm6::FormShow() {
  Edit1->clear();
  Edit2->clear();
}

void TForm6::Button1Click() {
  services_.inserts.InsertHyp(Text(Edit1), Text(Edit2));
  hide();
}

// ---- Java Applets

TForm7::TForm7(InsertDialogServices services, QWidget* owner) : InsertDialog("Form7", "Java Applets", services, owner) {
  auto* layout = new QVBoxLayout(this);
  auto* typeGroup = new QGroupBox("Applet Type", this);
  auto* typeLayout = new QVBoxLayout(typeGroup);
  ComboBox1 = new QComboBox(typeGroup);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  for (const AppletType& type : AppletTypes()) ComboBox1->addItem(type.name);
  ComboBox1->setEditText("User Defined");
  typeLayout->addWidget(ComboBox1);
  layout->addWidget(typeGroup);
  connect(ComboBox1, &QComboBox::textActivated, this,
          [this](const QString& choice) { Run([this, choice] { ComboBox1Change(choice); }); });

  auto* boxes = new QFormLayout;
  Edit1 = Box(this, "Edit1");
  boxes->addRow("Source:", BrowseRow(Edit1, "Browse", {"Java Applet", "Java Applets|*.class", "class", {}}));
  Edit2 = Box(this, "Edit2");
  boxes->addRow("None-Java Browser Message:", Edit2);
  layout->addLayout(boxes);

  auto* parameters = new QGroupBox("Parameters:", this);
  auto* parameterLayout = new QFormLayout(parameters);
  Edit3 = Box(parameters, "Edit3", "200");
  Edit4 = Box(parameters, "Edit4", "200");
  Memo1 = new QPlainTextEdit(parameters);
  Memo1->setObjectName("Memo1");
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  parameterLayout->addRow("Height:", Edit3);
  parameterLayout->addRow("Width:", Edit4);
  parameterLayout->addRow("Further Parameters:", Memo1);
  layout->addWidget(parameters);

  QPushButton* ok = AddOkCancel(layout, {"&OK", "Button1", "&Cancel", "Button2"}, [this] { Button1Click(); });
  layout->addWidget(new QLabel("Remember to save a copy of the applet to the directory your file will be in!", this));
  ok->setFocus();
}

void TForm7::ComboBox1Change(const QString& choice) {
  for (const AppletType& type : AppletTypes()) {
    if (choice != type.name) continue;
    Edit1->setText(type.source);
    Memo1->clear();
    if (!*type.parameterFile) {
      ComboBox1->setEditText({});
      return;
    }
    // A missing file is reported after the source box has been filled.
    std::string text;
    for (const std::string& line : ReadLines(services_.installDir + "/" + type.parameterFile)) text += line + "\n";
    Memo1->setPlainText(TextFromBytes(text));
    return;
  }
}

void TForm7::Button1Click() {
  services_.inserts.AddJava(Text(Edit1), Text(Edit3), Text(Edit4), MemoLines(*Memo1));
  hide();
}

// ---- Insert Script

TOKBottomDlg1::TOKBottomDlg1(InsertDialogServices services, QWidget* owner)
    : InsertDialog("OKBottomDlg1", "Insert Script...", services, owner) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("From File:", this));
  Edit1 = Box(this, "Edit1");
  layout->addWidget(
      BrowseRow(Edit1, "Browse", {"Insert Script", "JavaScript Files (*.js)|*.js|All Files (*.*)|*.*", "js", {}}));
  auto* options = new QGroupBox("Insert Options", this);
  options->setObjectName("RadioGroup1");
  auto* optionLayout = new QVBoxLayout(options);
  FromFileOption = new QRadioButton("From File", options);
  AsBelowOption = new QRadioButton("As Below", options);
  FromFileOption->setChecked(true);
  optionLayout->addWidget(FromFileOption);
  optionLayout->addWidget(AsBelowOption);
  layout->addWidget(options);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  layout->addWidget(Memo1);
  AddOkCancel(layout, {"OK", "OKBtn", "Cancel", "CancelBtn"}, [this] { OKBtnClick(); });
}

void TOKBottomDlg1::FormShow() {
  Edit1->clear();
  Memo1->clear();
}

void TOKBottomDlg1::OKBtnClick() {
  const ScriptSource option = AsBelowOption->isChecked() ? ScriptSource::AsBelow : ScriptSource::FromFile;
  services_.inserts.InsertJCS(option, Text(Edit1), MemoLines(*Memo1));
  hide();
}

// ---- Add External Style Sheet

TForm8::TForm8(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form8", "Add External Style Sheet", services, owner) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("File Name:", this));
  Edit1 = Box(this, "Edit1");
  Edit1->setMinimumWidth(260);
  layout->addWidget(BrowseRow(Edit1, "Browse", {"", "Cascading Style Sheets|*.css", "css", {}}));
  AddOkCancel(layout, {"&OK", "Button1", "Cancel", "Button2", false}, [this] { Button1Click(); });
}

void TForm8::Button1Click() {
  services_.inserts.InsertStyleSheet(Text(Edit1));
  hide();
}

}  // namespace app
