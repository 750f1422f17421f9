// The program's windows besides the main one: the about box, and the dialogs of the insertion, library and
// update commands, created once at start-up in the order the program has always used.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <string>

#include "platform/Shell.h"
#include "ui/InsertDialogs.h"
#include "ui/UpdateWindow.h"

namespace ui {

class AboutBox : public QDialog {  // "Form2"
  Q_OBJECT

 public:
  AboutBox(platform::Shell& shell, QWidget* parent = nullptr);
};

// A dialog whose controls arrive with its command; it already has its caption and border.
class DialogShell : public QDialog {
  Q_OBJECT

 public:
  DialogShell(const char* objectName, const QString& caption, QWidget* parent = nullptr);
};

// "Save to Library...": a template name; OK hands it to Save, which answers whether the dialog may close.
class SaveToLibraryDialog : public DialogShell {
  Q_OBJECT

 public:
  explicit SaveToLibraryDialog(QWidget* parent = nullptr);
  std::function<bool(const std::string& name)> Save;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLineEdit* name_;
};

// Made in this order: about, open web file, image, script, applet, hyperlink, style sheet, update, library.
struct DialogWindows {
  DialogWindows(UpdateWindowServices shared, InsertDialogServices services, QWidget* owner);
  std::unique_ptr<AboutBox> about;
  std::unique_ptr<OpenWebFileDialog> openWebFile;
  std::unique_ptr<ImageDialog> image;
  std::unique_ptr<ScriptDialog> script;
  std::unique_ptr<AppletDialog> applet;
  std::unique_ptr<HyperlinkDialog> hyperlink;
  std::unique_ptr<StyleSheetDialog> styleSheet;
  std::unique_ptr<UpdateWindow> update;
  std::unique_ptr<SaveToLibraryDialog> saveToLibrary;
};

}  // namespace ui
