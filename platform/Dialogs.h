// The questions the program's logic asks a person: message boxes and file dialogs. The program answers
// them with Qt dialogs; tests answer them from a script.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FontChoice {
  std::string face;
  int pointSize = 0;
};

struct FileDialogOptions {
  std::string title;
  // "Description|*.a; *.b|Description|*.c", as the program has always written its filters.
  std::string filter;
  std::string defaultExtension;  // added to a name typed without one; empty: none
  std::string initialFolder;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                   MessageButtons buttons) = 0;
  // The chosen file's full path, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
  // The font the person chose, or nothing when the dialog was cancelled.
  virtual std::optional<FontChoice> ChooseFont() = 0;
  virtual void Beep() = 0;
};

}  // namespace platform
