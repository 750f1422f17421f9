// The page check and the spelling over a file, as the editor checks its text.
#include "qmtool/CheckCommands.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/PageCheck.h"
#include "app/Spelling.h"
#include "editor/Document.h"
#include "highlighters/HighlighterFactory.h"
#include "platform/FileIO.h"
#include "platform/TextBits.h"

namespace qmtool {
namespace {

// The scanner the editor reads a file with: the page scanner for pages, PHP's for PHP files, the
// language whose file filter names the extension, none for plain text.
std::unique_ptr<highlighters::TqeCustomHighLighter> HighlighterForFile(const std::filesystem::path& file) {
  const std::string extension = platform::AsciiLower(file.extension().string());
  if (extension == ".htm" || extension == ".html" || extension == ".asp" || extension == ".shtml")
    return highlighters::CreateHighlighter("webpage");
  if (extension.empty()) return nullptr;
  const std::string pattern = "*" + extension;
  for (const highlighters::Language& language : highlighters::Languages()) {
    if (language.name == "html" || language.name == "webpage") continue;
    std::string_view patterns = language.defaultFilter.substr(language.defaultFilter.find('|') + 1);
    while (!patterns.empty()) {
      const std::size_t semicolon = patterns.find(';');
      if (platform::AsciiLower(std::string(patterns.substr(0, semicolon))) == pattern) return language.create();
      if (semicolon == std::string_view::npos) break;
      patterns.remove_prefix(semicolon + 1);
    }
  }
  return nullptr;
}

}  // namespace

int RunCheckCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc != 1 || std::string_view(argv[0]).starts_with("--")) {
    err << "usage: qmtool check FILE\n";
    return 2;
  }
  const std::filesystem::path file = argv[0];
  std::string bytes;
  try {
    bytes = platform::ReadFileBytes(file);
  } catch (const std::exception& e) {
    err << "qmtool check: " << e.what() << "\n";
    return 2;
  }
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  bool errors = false;
  for (const app::PageProblem& problem : app::CheckPage(bytes, platform::DetectEncoding(bytes), folder)) {
    out << problem.line << ':' << problem.column << ' ' << app::SeverityName(problem.severity) << ' ' << problem.message
        << '\n';
    errors = errors || problem.severity == app::ProblemSeverity::Error;
  }
  return errors ? 1 : 0;
}

int RunSpellCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  std::string dictionary = "en_US";
  std::string file;
  bool bad = false;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--dict" && i + 1 < argc)
      dictionary = argv[++i];
    else if (file.empty() && !arg.starts_with("--"))
      file = arg;
    else
      bad = true;
  }
  if (bad || file.empty()) {
    err << "usage: qmtool spell [--dict NAME] FILE\n";
    return 2;
  }
  editor::TqeDocument document;
  try {
    document.Lines().LoadFromFile(file);
  } catch (const std::exception& e) {
    err << "qmtool spell: " << e.what() << "\n";
    return 2;
  }
  const auto highlighter = HighlighterForFile(file);
  document.SetHighLighter(highlighter.get());
  // No personal words and nothing in the background: each line is checked as it is asked for.
  app::Spelling spelling(nullptr, {});
  if (!spelling.SetLanguage(dictionary)) {
    err << "qmtool spell: no dictionary \"" << dictionary << "\" is installed\n";
    return 2;
  }
  spelling.Watch(document);
  for (int index = 0; index < document.Lines().Count(); ++index) {
    const std::string_view line = document.Lines().Get(index);
    for (const editor::WordSpan& word : document.Spelling().Misspelt(index))
      out << index + 1 << ':' << word.from + 1 << " \"" << line.substr(word.from, word.to - word.from) << "\"\n";
  }
  spelling.Unwatch(document);
  document.SetHighLighter(nullptr);
  return 0;
}

}  // namespace qmtool
