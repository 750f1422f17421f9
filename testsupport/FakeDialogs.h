// Dialogs answered from a script: each question takes the next queued answer and is logged. A wait or
// progress window runs the test's event loop until it is closed, pressing Cancel when told to.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace platform::fakes {

class FakeDialogs : public Dialogs {
 public:
  MessageAnswer MessageBox(const std::string& text, const std::string&, MessageIcon icon, MessageButtons) override {
    messages.push_back(text);
    icons.push_back(icon);
    if (answers.empty()) return MessageAnswer::Cancel;
    MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<std::string> OpenFile(const FileDialogOptions& options) override { return Next(options); }
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override { return Next(options); }
  std::optional<FontChoice> ChooseFont() override {
    ++fontDialogs;
    auto f = font;
    font.reset();
    return f;
  }
  void Beep() override { ++beeps; }

  struct ShownProgressWindow : ProgressWindow {
    ProgressWindowOptions options;
    std::vector<std::string> texts;
    std::vector<int> positions;
    std::optional<bool> closed;
    void SetProgressText(const std::string& text) override { texts.push_back(text); }
    void SetPosition(int percent) override { positions.push_back(percent); }
    void Close(bool ok) override { closed = ok; }
  };
  bool RunProgressWindow(const ProgressWindowOptions& options) override {
    progressWindows.emplace_back();
    ShownProgressWindow& window = progressWindows.back();
    window.options = options;
    if (options.shown) options.shown(window);
    if (onProgressWindow) onProgressWindow(window);
    if (runLoop) runLoop([&window] { return window.closed.has_value(); });
    if (!window.closed) throw std::logic_error("a wait window was left open: " + options.text);
    return *window.closed;
  }
  void ShowTextWindow(const std::string& caption, const std::string& text) override {
    textWindows.push_back({caption, text});
  }

  std::deque<MessageAnswer> answers;             // for message boxes; Cancel when none is left
  std::deque<std::optional<std::string>> files;  // for file dialogs; cancelled when none is left
  std::vector<std::string> messages;
  std::vector<MessageIcon> icons;
  std::vector<FileDialogOptions> fileDialogs;
  std::optional<FontChoice> font;  // the next font dialog's answer, used once; cancelled when empty
  int fontDialogs = 0;
  int beeps = 0;
  // Runs the event loop until the condition holds; a window still open afterwards is a fault.
  std::function<void(const std::function<bool()>& closed)> runLoop;
  // Called as each wait or progress window shows (to press its Cancel, say).
  std::function<void(ShownProgressWindow&)> onProgressWindow;
  std::deque<ShownProgressWindow> progressWindows;
  std::vector<std::pair<std::string, std::string>> textWindows;  // caption, text

 private:
  std::optional<std::string> Next(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  }
};

}  // namespace platform::fakes
