// Dialogs answered from a script: each question takes the next queued answer and is logged.
#pragma once

#include <deque>
#include <optional>
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

  std::deque<MessageAnswer> answers;             // for message boxes; Cancel when none is left
  std::deque<std::optional<std::string>> files;  // for file dialogs; cancelled when none is left
  std::vector<std::string> messages;
  std::vector<MessageIcon> icons;
  std::vector<FileDialogOptions> fileDialogs;
  std::optional<FontChoice> font;  // the next font dialog's answer, used once; cancelled when empty
  int fontDialogs = 0;
  int beeps = 0;

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
