// Message boxes and file dialogs through Qt.
#pragma once

#include <QString>

#include "platform/Dialogs.h"

class QWidget;

namespace platform::qt {

// "Desc|*.a; *.b|Desc2|*.c" becomes Qt's "Desc (*.a *.b);;Desc2 (*.c)", keeping the descriptions.
QString ToQtFilter(const std::string& filter);

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                           MessageButtons buttons) override;
  std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
  std::optional<FontChoice> ChooseFont() override;
  void Beep() override;
  bool RunProgressWindow(const ProgressWindowOptions& options) override;
  void ShowTextWindow(const std::string& caption, const std::string& text) override;

 private:
  std::optional<std::string> RunFileDialog(const FileDialogOptions& options, bool save);
  QWidget* parent_;
};

}  // namespace platform::qt
