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
#include "ui/PictureImage.h"

namespace ui {

using app::AppletType;
using app::AppletTypes;
using app::ReadLines;
using app::ScriptSource;
using platform::qt::BytesFromText;
using platform::qt::TextFromBytes;

namespace {

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

std::vector<std::string> MemoLines(const QPlainTextEdit& memo, platform::TextEncoding encoding) {
  QStringList lines = memo.toPlainText().split('\n');
  if (lines.last().isEmpty()) lines.removeLast();
  std::vector<std::string> out;
  for (const QString& line : lines) out.push_back(BytesFromText(line, encoding));
  return out;
}

std::string InsertDialog::Text(const QLineEdit* box) const { return BytesFromText(box->text(), Encoding()); }

InsertDialog::InsertDialog(const char* objectName, const QString& caption, InsertDialogServices services,
                           QWidget* owner)
    : QDialog(owner), services_(services) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);
}

void InsertDialog::Run(const std::function<void()>& command) { app::RunCommand(services_.dialogs, command); }

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

OpenWebFileDialog::OpenWebFileDialog(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form3", "Open File From Web", services, owner) {
  centred_ = false;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please provide the URL of the page you wish to open:", this));
  address = Box(this, "Edit1", "http://");
  address->setMinimumWidth(320);
  layout->addWidget(address);
  AddOkCancel(layout, {"&OK", "Button1", "Cancel", "Button2"}, [this] { Open(); });
}

void OpenWebFileDialog::Open() {
  // A fetch that fails raises its message and keeps the address for another try, as a cancelled one does.
  if (services_.mainForm.OpenWebFile(BytesFromText(address->text()))) address->clear();
}

// ---- Insert an Image

namespace {

const char* const kImageFilter =
    "Images (*.gif, *.jpg, *.jpeg, *.bmp)|*.gif; *.jpg, *.jpeg; *.bmp|Other Images (*.cdr, *.psp, *.wmf, *.rle, "
    "*.wpg)|*.cdr;  *.psp; *.wmf; *.wpg; *.rle|All Files (*.*)|*.*";
constexpr int kPreviewSize = 160;

}  // namespace

ImageDialog::ImageDialog(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form4", "Insert an Image", services, owner), animation_(new QTimer(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please give a URL or file path:", this));
  address = Box(this, "Edit1");
  address->setMinimumWidth(300);
  QToolButton* browse = BrowseButton("Browse", [this] { Browse(); });
  browse->setText("&Browse");
  browse->setObjectName("Button1");
  layout->addWidget(WithButton(address, browse));
  auto* size = new QFormLayout;
  height = Box(this, "Edit2");
  width = Box(this, "Edit3");
  size->addRow("Height:", height);
  size->addRow("Width:", width);
  layout->addLayout(size);
  auto* group = new QGroupBox("Image Preview", this);
  auto* groupLayout = new QVBoxLayout(group);
  preview = new QLabel(group);
  preview->setObjectName("Image1");
  preview->setFixedSize(kPreviewSize, kPreviewSize);
  preview->setAlignment(Qt::AlignCenter);
  groupLayout->addWidget(preview, 0, Qt::AlignCenter);
  layout->addWidget(group);
  AddOkCancel(layout, {"OK", "Button2", "Cancel", "Button3", false}, [this] { Insert(); });
  connect(animation_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % picture_->frames.size();
    ShowFrame();
  });
}

void ImageDialog::FormShow() { address->clear(); }

void ImageDialog::Browse() {
  const auto path = services_.dialogs.OpenFile({"Insert Link", kImageFilter, "", {}});
  if (!path) return;
  address->setText(QString::fromStdString("file://" + *path));
  animation_->stop();
  compositor_.reset();
  picture_.reset();
  preview->clear();
  // The address stays filled when the picture cannot be shown.
  picture_ = imaging::LoadPictureFile(*path);
  compositor_ = std::make_unique<imaging::FrameCompositor>(*picture_);
  frame_ = 0;
  ShowFrame();
}

void ImageDialog::ShowFrame() {
  const QImage image = ToQImage(compositor_->Show(frame_));
  const QPixmap pixmap = QPixmap::fromImage(image);
  const bool large = image.width() > kPreviewSize || image.height() > kPreviewSize;
  preview->setPixmap(large ? pixmap.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : pixmap);
  if (picture_->IsAnimated()) animation_->start(std::max(picture_->frames[frame_].delayMs, 20));
}

void ImageDialog::Insert() {
  if (height->text().isEmpty())
    services_.inserts.InsertImg(Text(address));
  else
    services_.inserts.InsertImgX(Text(address), Text(height), Text(width));
  hide();
}

// ---- Insert Hyperlink

HyperlinkDialog::HyperlinkDialog(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form6", "Insert Hyperlink...", services, owner) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please specify a URL or filepath:", this));
  address = Box(this, "Edit1");
  address->setMinimumWidth(280);
  layout->addWidget(BrowseRow(address, "Browse for File...", {"Browser for File..", "All Files (*.*)|*.*", "", {}}));
  layout->addWidget(new QLabel("Please specify a Class (if required):", this));
  linkClass = Box(this, "Edit2");
  layout->addWidget(linkClass);
  AddOkCancel(layout, {"&OK", "Button1", "&Cancel", "Button2"}, [this] { Insert(); });
}

void HyperlinkDialog::FormShow() {
  address->clear();
  linkClass->clear();
}

void HyperlinkDialog::Insert() {
  services_.inserts.InsertHyp(Text(address), Text(linkClass));
  hide();
}

// ---- Java Applets

AppletDialog::AppletDialog(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form7", "Java Applets", services, owner) {
  auto* layout = new QVBoxLayout(this);
  auto* typeGroup = new QGroupBox("Applet Type", this);
  auto* typeLayout = new QVBoxLayout(typeGroup);
  appletType = new QComboBox(typeGroup);
  appletType->setObjectName("ComboBox1");
  appletType->setEditable(true);
  appletType->setInsertPolicy(QComboBox::NoInsert);
  for (const AppletType& type : AppletTypes()) appletType->addItem(type.name);
  appletType->setEditText("User Defined");
  typeLayout->addWidget(appletType);
  layout->addWidget(typeGroup);
  connect(appletType, &QComboBox::textActivated, this,
          [this](const QString& choice) { Run([this, choice] { ChooseAppletType(choice); }); });

  auto* boxes = new QFormLayout;
  source = Box(this, "Edit1");
  boxes->addRow("Source:", BrowseRow(source, "Browse", {"Java Applet", "Java Applets|*.class", "class", {}}));
  message = Box(this, "Edit2");
  boxes->addRow("None-Java Browser Message:", message);
  layout->addLayout(boxes);

  auto* parameterGroup = new QGroupBox("Parameters:", this);
  auto* parameterLayout = new QFormLayout(parameterGroup);
  height = Box(parameterGroup, "Edit3", "200");
  width = Box(parameterGroup, "Edit4", "200");
  parameters = new QPlainTextEdit(parameterGroup);
  parameters->setObjectName("Memo1");
  parameters->setLineWrapMode(QPlainTextEdit::NoWrap);
  parameters->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  parameters->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  parameterLayout->addRow("Height:", height);
  parameterLayout->addRow("Width:", width);
  parameterLayout->addRow("Further Parameters:", parameters);
  layout->addWidget(parameterGroup);

  QPushButton* ok = AddOkCancel(layout, {"&OK", "Button1", "&Cancel", "Button2"}, [this] { Insert(); });
  layout->addWidget(new QLabel("Remember to save a copy of the applet to the directory your file will be in!", this));
  ok->setFocus();
}

void AppletDialog::ChooseAppletType(const QString& choice) {
  for (const AppletType& type : AppletTypes()) {
    if (choice != type.name) continue;
    source->setText(type.source);
    parameters->clear();
    if (!*type.parameterFile) {
      appletType->setEditText({});
      return;
    }
    // A missing file is reported after the source box has been filled.
    std::string text;
    for (const std::string& line : ReadLines(services_.installDir + "/" + type.parameterFile)) text += line + "\n";
    parameters->setPlainText(TextFromBytes(text));
    return;
  }
}

void AppletDialog::Insert() {
  services_.inserts.AddJava(Text(source), Text(height), Text(width), MemoLines(*parameters, Encoding()));
  hide();
}

// ---- Insert Script

ScriptDialog::ScriptDialog(InsertDialogServices services, QWidget* owner)
    : InsertDialog("OKBottomDlg1", "Insert Script...", services, owner) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("From File:", this));
  file = Box(this, "Edit1");
  layout->addWidget(
      BrowseRow(file, "Browse", {"Insert Script", "JavaScript Files (*.js)|*.js|All Files (*.*)|*.*", "js", {}}));
  auto* options = new QGroupBox("Insert Options", this);
  options->setObjectName("RadioGroup1");
  auto* optionLayout = new QVBoxLayout(options);
  fromFileOption = new QRadioButton("From File", options);
  asBelowOption = new QRadioButton("As Below", options);
  fromFileOption->setChecked(true);
  optionLayout->addWidget(fromFileOption);
  optionLayout->addWidget(asBelowOption);
  layout->addWidget(options);
  script = new QPlainTextEdit(this);
  script->setObjectName("Memo1");
  layout->addWidget(script);
  AddOkCancel(layout, {"OK", "OKBtn", "Cancel", "CancelBtn"}, [this] { Insert(); });
}

void ScriptDialog::FormShow() {
  file->clear();
  script->clear();
}

void ScriptDialog::Insert() {
  const ScriptSource option = asBelowOption->isChecked() ? ScriptSource::AsBelow : ScriptSource::FromFile;
  services_.inserts.InsertJCS(option, Text(file), MemoLines(*script, Encoding()));
  hide();
}

// ---- Add External Style Sheet

StyleSheetDialog::StyleSheetDialog(InsertDialogServices services, QWidget* owner)
    : InsertDialog("Form8", "Add External Style Sheet", services, owner) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("File Name:", this));
  fileName = Box(this, "Edit1");
  fileName->setMinimumWidth(260);
  layout->addWidget(BrowseRow(fileName, "Browse", {"", "Cascading Style Sheets|*.css", "css", {}}));
  AddOkCancel(layout, {"&OK", "Button1", "Cancel", "Button2", false}, [this] { Insert(); });
}

void StyleSheetDialog::Insert() {
  services_.inserts.InsertStyleSheet(Text(fileName));
  hide();
}

}  // namespace ui
