// The insertion dialogs (image, hyperlink, Java applet, script, external style sheet) and "Open File From
// Web". Each is made once, shown modeless, and hidden by its own buttons; its boxes keep their texts
// between uses except what its show handler clears.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/InsertCommands.h"
#include "imaging/Bitmap.h"
#include "platform/Dialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QVBoxLayout;
class QToolButton;

namespace app {
class MainForm;
}

namespace ui {

// What the dialogs act on.
struct InsertDialogServices {
  app::InsertCommands& inserts;
  platform::Dialogs& dialogs;
  app::MainForm& mainForm;
  std::string installDir;
};

// A memo's lines as a list of strings has them: a final line break does not start another line.
std::vector<std::string> MemoLines(const QPlainTextEdit& memo, platform::TextEncoding encoding);

// Shared shape: a caption, staying on top of its owner, a fixed border, and commands whose errors are shown
// in a message box.
class InsertDialog : public QDialog {
  Q_OBJECT

 public:
  InsertDialog(const char* objectName, const QString& caption, InsertDialogServices services, QWidget* owner);

 protected:
  void Run(const std::function<void()>& command);
  // A box's text as bytes of the document's encoding, ready to be inserted.
  platform::TextEncoding Encoding() const { return services_.inserts.Encoding(); }
  std::string Text(const QLineEdit* box) const;
  // A browse button beside a box; its hint and what a confirmed choice does.
  QToolButton* BrowseButton(const QString& hint, std::function<void()> handler);
  QPushButton* AddButton(const QString& caption, const char* name, std::function<void()> handler);
  // A box with a browse button whose confirmed choice fills the box with the file's path.
  QWidget* BrowseRow(QLineEdit* box, const QString& hint, platform::FileDialogOptions options);
  struct OkCancel {
    const char* ok;
    const char* okName;
    const char* cancel;
    const char* cancelName;
    bool okIsDefault = true;
  };
  // The OK and Cancel buttons at the bottom right; Cancel only hides the dialog. Returns OK.
  QPushButton* AddOkCancel(QVBoxLayout* layout, OkCancel captions, std::function<void()> ok);
  // Centres the dialog on the screen the first time it is shown, and runs FormShow whenever the program
  // shows it.
  void showEvent(QShowEvent* event) override;
  // The dialog's show handler: what it clears.
  virtual void FormShow() {}
  InsertDialogServices services_;
  bool centred_ = true;

 private:
  bool placed_ = false;
};

class OpenWebFileDialog : public InsertDialog {  // "Form3"
  Q_OBJECT

 public:
  OpenWebFileDialog(InsertDialogServices services, QWidget* owner);
  // Fetches the address into the editor.
  void Open();
  QLineEdit* address;  // "Edit1"
};

class ImageDialog : public InsertDialog {  // "Form4"
  Q_OBJECT

 public:
  ImageDialog(InsertDialogServices services, QWidget* owner);
  // Chooses a picture file: its address fills the box and the picture shows in the preview.
  void Browse();
  void Insert();
  QLineEdit* address;  // "Edit1"
  QLineEdit* height;   // "Edit2"
  QLineEdit* width;    // "Edit3"
  QLabel* preview;     // "Image1"
  // The picture shown in the preview box, if any.
  const std::optional<imaging::Picture>& Picture() const { return picture_; }

 protected:
  void FormShow() override;

 private:
  void ShowFrame();
  std::optional<imaging::Picture> picture_;
  std::unique_ptr<imaging::FrameCompositor> compositor_;
  size_t frame_ = 0;
  QTimer* animation_;
};

class HyperlinkDialog : public InsertDialog {  // "Form6"
  Q_OBJECT

 public:
  HyperlinkDialog(InsertDialogServices services, QWidget* owner);
  void Insert();
  QLineEdit* address;    // "Edit1"
  QLineEdit* linkClass;  // "Edit2"

 protected:
  void FormShow() override;
};

class AppletDialog : public InsertDialog {  // "Form7"
  Q_OBJECT

 public:
  AppletDialog(InsertDialogServices services, QWidget* owner);
  // A known applet type fills the source and the parameters.
  void ChooseAppletType(const QString& choice);
  void Insert();
  QComboBox* appletType;       // "ComboBox1"
  QLineEdit* source;           // "Edit1"
  QLineEdit* message;          // "Edit2"
  QLineEdit* height;           // "Edit3"
  QLineEdit* width;            // "Edit4"
  QPlainTextEdit* parameters;  // "Memo1"
};

class ScriptDialog : public InsertDialog {  // "OKBottomDlg1"
  Q_OBJECT

 public:
  ScriptDialog(InsertDialogServices services, QWidget* owner);
  void Insert();
  QLineEdit* file;                               // "Edit1"
  QRadioButton *fromFileOption, *asBelowOption;  // "RadioGroup1"'s items 0 and 1
  QPlainTextEdit* script;                        // "Memo1"

 protected:
  void FormShow() override;
};

class StyleSheetDialog : public InsertDialog {  // "Form8"
  Q_OBJECT

 public:
  StyleSheetDialog(InsertDialogServices services, QWidget* owner);
  void Insert();
  QLineEdit* fileName;  // "Edit1"
};

}  // namespace ui
