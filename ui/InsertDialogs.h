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

// What the dialogs act on.
struct InsertDialogServices {
  InsertCommands& inserts;
  platform::Dialogs& dialogs;
  MainForm& mainForm;
  std::string installDir;
};

// A memo's lines as a list of strings has them: a final line break does not start another line.
std::vector<std::string> MemoLines(const QPlainTextEdit& memo);

// Shared shape: a caption, staying on top of its owner, a fixed border, and commands whose errors are shown
// in a message box.
class InsertDialog : public QDialog {
  Q_OBJECT

 public:
  InsertDialog(const char* objectName, const QString& caption, InsertDialogServices services, QWidget* owner);

 protected:
  void Run(const std::function<void()>& command);
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

class TForm3 : public InsertDialog {  // "Open File From Web"
  Q_OBJECT

 public:
  TForm3(InsertDialogServices services, QWidget* owner);
  void Button1Click();
  QLineEdit* Edit1;
};

class TForm4 : public InsertDialog {  // "Insert an Image"
  Q_OBJECT

 public:
  TForm4(InsertDialogServices services, QWidget* owner);
  void Button1Click();  // Browse
  void Button2Click();  // OK
  QLineEdit *Edit1, *Edit2, *Edit3;
  QLabel* Image1;
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

class TForm6 : public InsertDialog {  // "Insert Hyperlink..."
  Q_OBJECT

 public:
  TForm6(InsertDialogServices services, QWidget* owner);
  void Button1Click();
  QLineEdit *Edit1, *Edit2;

 protected:
  void FormShow() override;
};

class TForm7 : public InsertDialog {  // "Java Applets"
  Q_OBJECT

 public:
  TForm7(InsertDialogServices services, QWidget* owner);
  void ComboBox1Change(const QString& choice);
  void Button1Click();
  QComboBox* ComboBox1;
  QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
  QPlainTextEdit* Memo1;
};

class TOKBottomDlg1 : public InsertDialog {  // "Insert Script..."
  Q_OBJECT

 public:
  TOKBottomDlg1(InsertDialogServices services, QWidget* owner);
  void OKBtnClick();
  QLineEdit* Edit1;
  QRadioButton *FromFileOption, *AsBelowOption;  // RadioGroup1's items 0 and 1
  QPlainTextEdit* Memo1;

 protected:
  void FormShow() override;
};

class TForm8 : public InsertDialog {  // "Add External Style Sheet"
  Q_OBJECT

 public:
  TForm8(InsertDialogServices services, QWidget* owner);
  void Button1Click();
  QLineEdit* Edit1;
};

}  // namespace app
