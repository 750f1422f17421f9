// Hunspell behind the spelling: dictionaries found as Hunspell's own tools find them, words converted
// from the document's bytes to the dictionary's encoding.
#include "app/Spelling.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <hunspell/hunspell.hxx>
#include <system_error>

#include "app/TextFiles.h"
#include "platform/TextBits.h"

namespace app {
namespace {

std::vector<std::filesystem::path> DictionaryFolders() {
  std::vector<std::filesystem::path> folders;
  if (const char* paths = std::getenv("DICPATH")) {
    std::string_view rest = paths;
    while (!rest.empty()) {
      const std::size_t colon = rest.find(':');
      if (colon != 0) folders.emplace_back(std::string(rest.substr(0, colon)));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  if (const char* home = std::getenv("HOME")) folders.push_back(std::filesystem::path(home) / ".local/share/hunspell");
  folders.emplace_back("/usr/share/hunspell");
  return folders;
}

// The .aff beside the .dic of a name, in the first folder that has both.
std::optional<std::filesystem::path> DictionaryFile(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
  for (const auto& folder : DictionaryFolders()) {
    std::error_code error;
    const auto dic = folder / (name + ".dic");
    if (std::filesystem::is_regular_file(dic, error) &&
        std::filesystem::is_regular_file(folder / (name + ".aff"), error))
      return dic;
  }
  return std::nullopt;
}

// Typographic apostrophes are the dictionary's plain ones.
std::string PlainApostrophes(std::string_view word) {
  std::string plain;
  for (std::size_t at = 0; at < word.size(); ++at) {
    if (word.substr(at, 3) == "\xE2\x80\x99") {
      plain += '\'';
      at += 2;
    } else {
      plain += word[at];
    }
  }
  return plain;
}

std::string ToUtf8(std::string_view word, platform::TextEncoding encoding) {
  if (encoding == platform::TextEncoding::Utf8) return PlainApostrophes(word);
  return PlainApostrophes(platform::Transcode(word, platform::TextEncoding::Cp1252, platform::TextEncoding::Utf8));
}

}  // namespace

std::vector<std::string> InstalledDictionaries() {
  std::vector<std::string> names;
  for (const auto& folder : DictionaryFolders()) {
    std::error_code error;
    std::vector<std::string> here;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const auto& path = entry.path();
      if (path.extension() != ".dic") continue;
      const std::string name = path.stem().string();
      if (std::find(names.begin(), names.end(), name) == names.end() && DictionaryFile(name)) here.push_back(name);
    }
    std::sort(here.begin(), here.end());
    names.insert(names.end(), here.begin(), here.end());
  }
  return names;
}

std::unique_ptr<SpellDictionary> SpellDictionary::Open(const std::string& name) {
  const auto dic = DictionaryFile(name);
  if (!dic) return nullptr;
  auto aff = *dic;
  aff.replace_extension(".aff");
  return std::unique_ptr<SpellDictionary>(
      new SpellDictionary(name, std::make_unique<Hunspell>(aff.c_str(), dic->c_str())));
}

SpellDictionary::SpellDictionary(std::string name, std::unique_ptr<Hunspell> hunspell)
    : name_(std::move(name)), hunspell_(std::move(hunspell)) {
  const std::string encoding = platform::AsciiLower(hunspell_->get_dict_encoding());
  latin1_ = encoding == "iso8859-1" || encoding == "iso-8859-1" || encoding == "iso8859-15";
}

SpellDictionary::~SpellDictionary() = default;

std::string SpellDictionary::ToDictionary(std::string_view utf8) const {
  return latin1_ ? platform::Transcode(utf8, platform::TextEncoding::Utf8, platform::TextEncoding::Cp1252)
                 : std::string(utf8);
}

bool SpellDictionary::Correct(std::string_view word) { return hunspell_->spell(ToDictionary(word)); }

std::vector<std::string> SpellDictionary::Suggestions(std::string_view word, std::size_t most) {
  std::vector<std::string> found = hunspell_->suggest(ToDictionary(word));
  if (found.size() > most) found.resize(most);
  if (latin1_)
    for (std::string& each : found)
      each = platform::Transcode(each, platform::TextEncoding::Cp1252, platform::TextEncoding::Utf8);
  return found;
}

void SpellDictionary::Accept(std::string_view word) { hunspell_->add(ToDictionary(word)); }

Spelling::Spelling(platform::EventLoop* loop, std::filesystem::path personalWords)
    : loop_(loop), personalWords_(std::move(personalWords)) {}

Spelling::~Spelling() {
  if (loop_ && background_.id) loop_->StopTimer(background_);
  for (editor::TqeDocument* document : documents_) document->Spelling().OnWorkAdded = nullptr;
}

bool Spelling::SetLanguage(const std::string& name) {
  dictionary_ = name.empty() ? nullptr : SpellDictionary::Open(name);
  language_ = dictionary_ ? name : std::string();
  if (dictionary_) {
    std::error_code error;
    if (std::filesystem::exists(personalWords_, error)) {
      try {
        for (const std::string& word : ReadLines(personalWords_))
          if (!word.empty()) dictionary_->Accept(word);
      } catch (const std::exception&) {
        // An unreadable list leaves the dictionary as it is.
      }
    }
  }
  CheckAgain();
  return name.empty() || dictionary_ != nullptr;
}

void Spelling::Watch(editor::TqeDocument& document) {
  documents_.push_back(&document);
  document.Spelling().OnWorkAdded = [this] { StartBackground(); };
  Bind(document);
}

void Spelling::Bind(editor::TqeDocument& document) {
  if (!dictionary_) {
    document.SetSpellCheck({});
    return;
  }
  document.SetSpellCheck([this, &document](std::string_view word) { return Correct(word, document.Encoding()); });
}

void Spelling::Unwatch(editor::TqeDocument& document) {
  documents_.erase(std::remove(documents_.begin(), documents_.end(), &document), documents_.end());
  document.Spelling().OnWorkAdded = nullptr;
  document.SetSpellCheck({});
}

void Spelling::CheckAgain() {
  for (editor::TqeDocument* document : documents_) Bind(*document);
}

bool Spelling::Correct(std::string_view word, platform::TextEncoding encoding) {
  if (!dictionary_) return true;
  const std::string utf8 = ToUtf8(word, encoding);
  return ignored_.count(utf8) > 0 || dictionary_->Correct(utf8);
}

std::vector<std::string> Spelling::Suggestions(std::string_view word, platform::TextEncoding encoding) {
  if (!dictionary_) return {};
  std::vector<std::string> found = dictionary_->Suggestions(ToUtf8(word, encoding));
  if (encoding == platform::TextEncoding::Cp1252)
    for (std::string& each : found)
      each = platform::Transcode(each, platform::TextEncoding::Utf8, platform::TextEncoding::Cp1252);
  return found;
}

void Spelling::Ignore(std::string_view word, platform::TextEncoding encoding) {
  ignored_.insert(ToUtf8(word, encoding));
  CheckAgain();
}

bool Spelling::AddToDictionary(std::string_view word, platform::TextEncoding encoding) {
  const std::string utf8 = ToUtf8(word, encoding);
  std::vector<std::string> words;
  std::error_code error;
  try {
    if (std::filesystem::exists(personalWords_, error)) words = ReadLines(personalWords_);
    if (std::find(words.begin(), words.end(), utf8) == words.end()) words.push_back(utf8);
    WriteLines(personalWords_, words);
  } catch (const std::exception&) {
    return false;
  }
  if (dictionary_) dictionary_->Accept(utf8);
  CheckAgain();
  return true;
}

void Spelling::StartBackground() {
  if (!loop_ || background_.id || !dictionary_) return;
  background_ = loop_->StartTimer(0, [this] { CheckInBackground(); });
}

// A slice of at most 2 ms between the loop's other work, shared by the documents with lines left.
void Spelling::CheckInBackground() {
  bool more = false;
  for (editor::TqeDocument* document : documents_)
    more =
        document->Spelling().CheckSome(std::chrono::microseconds(2000 / std::max<std::size_t>(1, documents_.size()))) ||
        more;
  if (!more) {
    loop_->StopTimer(background_);
    background_ = {};
  }
}

}  // namespace app
