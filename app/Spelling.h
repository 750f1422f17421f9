// Spelling over Hunspell: the installed dictionaries, one opened, the words ignored for the session and
// the personal word list (personal-words.txt in the data folder, one word a line), and the documents it
// checks, their lines checked in the background a slice at a time on the loop.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editor/Document.h"
#include "platform/EventLoop.h"
#include "platform/TextEncoding.h"

class Hunspell;

namespace app {

// The dictionaries Hunspell can open, by name ("en_US"), from the folders of $DICPATH, then
// ~/.local/share/hunspell and /usr/share/hunspell; each name once, in order.
std::vector<std::string> InstalledDictionaries();

class SpellDictionary {
 public:
  // Nothing when no dictionary of that name is installed.
  static std::unique_ptr<SpellDictionary> Open(const std::string& name);
  ~SpellDictionary();

  const std::string& Name() const { return name_; }
  // Words in UTF-8.
  bool Correct(std::string_view word);
  std::vector<std::string> Suggestions(std::string_view word, std::size_t most = 8);
  // Taken as right from now on, until the dictionary is closed.
  void Accept(std::string_view word);

 private:
  SpellDictionary(std::string name, std::unique_ptr<Hunspell> hunspell);
  std::string ToDictionary(std::string_view utf8) const;

  std::string name_;
  std::unique_ptr<Hunspell> hunspell_;
  bool latin1_ = false;  // the dictionary's words are ISO 8859-1 rather than UTF-8
};

class Spelling {
 public:
  // Without a loop nothing is checked in the background: lines are checked as they are painted.
  Spelling(platform::EventLoop* loop, std::filesystem::path personalWords);
  ~Spelling();
  Spelling(const Spelling&) = delete;
  Spelling& operator=(const Spelling&) = delete;

  // The dictionary checked against; empty: spelling is off. False when it cannot be opened (and then
  // spelling is off).
  const std::string& Language() const { return language_; }
  bool SetLanguage(const std::string& name);

  // Documents underlined while the language is set.
  void Watch(editor::TqeDocument& document);
  void Unwatch(editor::TqeDocument& document);

  // A word in a document's bytes.
  bool Correct(std::string_view word, platform::TextEncoding encoding);
  std::vector<std::string> Suggestions(std::string_view word, platform::TextEncoding encoding);
  void Ignore(std::string_view word, platform::TextEncoding encoding);
  // Appends the word to the personal list; false when the list cannot be written.
  bool AddToDictionary(std::string_view word, platform::TextEncoding encoding);

 private:
  void Bind(editor::TqeDocument& document);
  void CheckAgain();
  void StartBackground();
  void CheckInBackground();

  platform::EventLoop* loop_;
  std::filesystem::path personalWords_;
  std::string language_;
  std::unique_ptr<SpellDictionary> dictionary_;
  std::set<std::string> ignored_;  // UTF-8
  std::vector<editor::TqeDocument*> documents_;
  platform::TimerId background_;
};

}  // namespace app
