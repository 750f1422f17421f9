// The questions the program's logic asks a person: message boxes and file dialogs. The program answers
// them with Qt dialogs; tests answer them from a script.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
// YesNo has No as the default button (asked before something is lost); YesNoDefaultYes has Yes (asked
// before something is given up).
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesNoDefaultYes };
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
  std::string proposedName = {};  // the name the dialog starts with
  // A name saved without an extension gets the first extension of the chosen filter (none for "*.*").
  bool extensionFromFilter = false;
};

// A wait or progress window while it shows: what the program's logic may change in it.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  // The line under the bar ("1,024 of 4,096 bytes received.") and the bar's position, 0 to 100.
  virtual void SetProgressText(const std::string& text) = 0;
  virtual void SetPosition(int percent) = 0;
  // Ends the window; RunProgressWindow returns ok.
  virtual void Close(bool ok) = 0;
};

struct ProgressWindowOptions {
  std::string caption;  // "Please Wait", "Download Progress"
  std::string text;     // what is being waited for
  bool bar = false;     // a progress window (bar and byte counts) rather than a wait window
  // Called once the window exists, before the event loop runs in it.
  std::function<void(ProgressWindow&)> shown;
  // Cancel or Escape: the window stays until the logic closes it.
  std::function<void()> cancel;
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
  // Shows a modal wait or progress window while the event loop runs, until it is closed; returns what
  // Close said.
  virtual bool RunProgressWindow(const ProgressWindowOptions& options) = 0;
  // A modal window showing a text to read, with an "&Ok" button.
  virtual void ShowTextWindow(const std::string& caption, const std::string& text) = 0;
};

}  // namespace platform
