// Parsing and running `qmtool edit` scripts, and the dump format that golden files compare.
#include "qmtool/EditScript.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "app/DataFolder.h"
#include "highlighters/HighlighterFactory.h"
#include "qmtool/TextEscape.h"

namespace qmtool {
namespace {

using editor::TextPoint;

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::optional<int> ToInt(std::string_view word) {
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<bool> ToBool(std::string_view word) {
  if (word == "true") return true;
  if (word == "false") return false;
  return std::nullopt;
}

const char* ModeName(editor::TSelectionMode mode) {
  switch (mode) {
    case editor::smColumn:
      return "column";
    case editor::smLine:
      return "line";
    default:
      return "normal";
  }
}

std::optional<editor::TSelectionMode> ModeFromName(std::string_view name) {
  if (name == "normal") return editor::smNormal;
  if (name == "column") return editor::smColumn;
  if (name == "line") return editor::smLine;
  return std::nullopt;
}

// Reads n integers from words[first...]; nothing unless exactly that many are there.
std::optional<std::vector<int>> Ints(const std::vector<std::string_view>& words, size_t first, size_t n) {
  if (words.size() != first + n) return std::nullopt;
  std::vector<int> values;
  for (size_t i = first; i < words.size(); ++i) {
    auto v = ToInt(words[i]);
    if (!v) return std::nullopt;
    values.push_back(*v);
  }
  return values;
}

}  // namespace

EditScript::EditScript(platform::Size clientSize) : window_(clientSize), editor_(fonts_, clipboard_) {
  editor_.SetWindow(&window_);
  editor_.SetShowMatches(true);
  // As the window starts: the page scanner reads the text.
  SetLanguage("webpage");
}

EditScript::~EditScript() { editor_.SetHighLighter(nullptr); }

bool EditScript::SetLanguage(std::string_view name) {
  std::unique_ptr<highlighters::TqeCustomHighLighter> highlighter;
  if (name != "none") {
    highlighter = highlighters::CreateHighlighter(name);
    if (!highlighter) return false;
  }
  editor_.SetHighLighter(highlighter.get());
  highlighter_ = std::move(highlighter);
  return true;
}

EditScript::Outcome EditScript::RunComplete(std::string_view name, std::ostream& out) {
  if (!tables_) {
    const char* home = std::getenv("QUILLMARK_HOME");
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    tables_ = editor::CompletionTables::Load(home && *home ? std::filesystem::path(home)
                                                           : app::FindShippedData(executable.parent_path()));
  }
  const editor::CompletionContext context = editor::CompletionAt(editor_);
  const auto candidates = editor::Candidates(*tables_, context);
  if (name.empty()) {
    out << "complete " << candidates.size() << "\n";
    for (const std::string& candidate : candidates) out << candidate << "\n";
    return Outcome::Done;
  }
  if (std::find(candidates.begin(), candidates.end(), name) == candidates.end()) return Outcome::Bad;
  editor::InsertCompletion(editor_, context, name);
  return Outcome::Done;
}

int EditScript::Run(std::istream& script, std::ostream& out, std::ostream& err) {
  std::string line;
  int number = 0;
  int status = 0;
  editor_.SetEventLoop(&loop_);
  while (std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos || line[start] == '#') continue;
    try {
      switch (RunLine(std::string_view(line).substr(start), out)) {
        case Outcome::Done:
          break;
        case Outcome::Bad:
          err << "line " << number << ": cannot read \"" << line << "\"\n";
          return 2;
      }
    } catch (const std::exception& e) {
      err << "line " << number << ": " << e.what() << "\n";
      status = 1;
    }
  }
  return status;
}

EditScript::Outcome EditScript::RunLine(std::string_view line, std::ostream& out) {
  const size_t space = line.find(' ');
  const std::string_view verb = line.substr(0, space);
  // Text arguments keep their blanks: everything after the single space that follows the verb.
  const std::string_view rest = space == std::string_view::npos ? std::string_view{} : line.substr(space + 1);
  const auto words = Words(line);

  auto noArguments = [&](auto action) {
    if (words.size() != 1) return Outcome::Bad;
    action();
    return Outcome::Done;
  };

  if (verb == "set") {
    if (words.size() != 3) return Outcome::Bad;
    return RunSet(words[1], words[2]);
  }
  if (verb == "caret") {
    auto v = Ints(words, 1, 2);
    if (!v) return Outcome::Bad;
    editor_.SetCaretXY({(*v)[0], (*v)[1]});
    return Outcome::Done;
  }
  if (verb == "select") {
    auto v = Ints(words, 1, 4);
    if (!v) return Outcome::Bad;
    editor_.SetSelectionStart({(*v)[0], (*v)[1]});
    editor_.SetSelectionEnd({(*v)[2], (*v)[3]});
    return Outcome::Done;
  }
  if (verb == "type" || verb == "settext") {
    auto text = Unescape(rest, verb == "settext");
    if (!text) return Outcome::Bad;
    if (verb == "settext") {
      editor_.SetSelectedText(*text);
    } else {
      // As the keyboard sends them: a character at a time, a UTF-8 sequence whole.
      platform::ForEachCharacter(*text, editor_.Encoding(), [&](std::size_t start, int length, char32_t) {
        editor_.KeyPress(std::string_view(*text).substr(start, length));
      });
    }
    return Outcome::Done;
  }
  if (verb == "cmd") return RunCommand(rest);
  if (verb == "complete") {
    if (words.size() > 2) return Outcome::Bad;
    return RunComplete(words.size() == 2 ? words[1] : std::string_view{}, out);
  }
  if (verb == "copy") return noArguments([&] { editor_.CopySelection(); });
  if (verb == "cut") return noArguments([&] { editor_.CutSelection(); });
  if (verb == "paste") return noArguments([&] { editor_.PasteClipboard(); });
  if (verb == "selectall") return noArguments([&] { editor_.SelectWholeText(); });
  if (verb == "clear") return noArguments([&] { editor_.ClearText(); });
  if (verb == "dump") return noArguments([&] { Dump(out); });
  if (verb == "mark") {
    auto v = Ints(words, 1, 3);
    if (!v) return Outcome::Bad;
    editor_.Marks().Add(editor::TMark{(*v)[0], (*v)[1], (*v)[2], -1, true});
    return Outcome::Done;
  }
  if (verb == "print") {
    if (words.size() != 2) return Outcome::Bad;
    if (words[1] == "selected") {
      out << "selected " << Quote(editor_.SelectedText()) << "\n";
    } else if (words[1] == "caret") {
      out << "caret " << editor_.CaretColumn() << " " << editor_.CaretLine() << "\n";
    } else if (words[1] == "clipboard") {
      PrintClipboard(out);
    } else if (words[1] == "match") {
      // The frames at the caret: "match matched|unmatched|none" and each LINE:FROM-TO.
      const auto match = editor_.CaretMatch();
      out << "match " << (match.matched ? "matched" : match.spans.empty() ? "none" : "unmatched");
      for (const auto& span : match.spans) out << " " << span.line << ":" << span.from << "-" << span.to;
      out << "\n";
    } else {
      return Outcome::Bad;
    }
    return Outcome::Done;
  }
  if (verb == "key") {
    if (words.size() != 2) return Outcome::Bad;
    const editor::TShortCut shortcut = editor::TextToShortCut(std::string(words[1]));
    if (!shortcut) return Outcome::Bad;
    editor::TShiftState shift = 0;
    if (shortcut & 8192) shift |= editor::ssShift;
    if (shortcut & 16384) shift |= editor::ssCtrl;
    if (shortcut & 32768) shift |= editor::ssAlt;
    editor_.KeyDown(shortcut & 0x1FFF, shift);
    return Outcome::Done;
  }
  if (verb == "search" || verb == "replace") return RunSearch(verb == "replace", rest, out);
  if (verb == "undo") return noArguments([&] { editor_.Undo(); });
  if (verb == "redo") return noArguments([&] { editor_.Redo(); });
  if (verb == "mouse") return RunMouse(words);
  if (verb == "wheel") {
    if (words.size() < 2 || words.size() > 3) return Outcome::Bad;
    auto delta = ToInt(words[1]);
    if (!delta || (words.size() == 3 && words[2] != "Ctrl")) return Outcome::Bad;
    editor_.MouseWheel(*delta, words.size() == 3 ? editor::ssCtrl : 0);
    return Outcome::Done;
  }
  if (verb == "bookmark") {
    auto n = words.size() == 3 ? ToInt(words[2]) : std::nullopt;
    if (!n) return Outcome::Bad;
    if (words[1] == "set")
      editor_.SetBookmark(*n, editor_.CaretColumn(), editor_.CaretLine());
    else if (words[1] == "clear")
      editor_.ClearBookmark(*n);
    else if (words[1] == "goto")
      editor_.GotoBookmark(*n);
    else
      return Outcome::Bad;
    return Outcome::Done;
  }
  return Outcome::Bad;
}

// mouse down|move|up|dblclick X Y [Shift] [Ctrl]: the left button; a move drags while it is down.
EditScript::Outcome EditScript::RunSearch(bool replace, std::string_view args, std::ostream& out) {
  const std::size_t space = args.find(' ');
  if (space == std::string_view::npos) return Outcome::Bad;
  const std::string_view flags = args.substr(0, space);
  editor::TSearchOptions options = replace ? editor::TSearchOptions{editor::soReplace} : 0u;
  if (flags != "-") {
    for (std::size_t start = 0; start <= flags.size();) {
      const std::size_t comma = std::min(flags.find(',', start), flags.size());
      const std::string_view flag = flags.substr(start, comma - start);
      const struct {
        std::string_view name;
        editor::TSearchOptions option;
      } known[] = {{"case", editor::soMatchCase},         {"word", editor::soWholeWord},
                   {"back", editor::soBackwards},         {"entire", editor::soEntireScope},
                   {"selection", editor::soSelectedOnly}, {"regex", editor::soRegularExpression},
                   {"all", editor::soReplaceAll}};
      const auto found =
          std::find_if(std::begin(known), std::end(known), [&](const auto& k) { return k.name == flag; });
      if (found == std::end(known) || (found->option == editor::soReplaceAll && !replace)) return Outcome::Bad;
      options |= found->option;
      start = comma + 1;
    }
  }
  std::string_view rest = args.substr(space + 1);
  const auto text = ReadQuoted(rest);
  if (!text) return Outcome::Bad;
  std::string replacement;
  if (replace) {
    const auto with = ReadQuoted(rest);
    if (!with) return Outcome::Bad;
    replacement = *with;
  }
  if (!rest.empty()) return Outcome::Bad;
  const int count = editor_.SearchReplace(*text, replacement, options);
  out << (replace ? "replace " : "search ") << count << "\n";
  return Outcome::Done;
}

EditScript::Outcome EditScript::RunMouse(const std::vector<std::string_view>& words) {
  if (words.size() < 4) return Outcome::Bad;
  auto x = ToInt(words[2]), y = ToInt(words[3]);
  if (!x || !y) return Outcome::Bad;
  editor::TShiftState shift = 0;
  for (size_t i = 4; i < words.size(); ++i) {
    if (words[i] == "Shift")
      shift |= editor::ssShift;
    else if (words[i] == "Ctrl")
      shift |= editor::ssCtrl;
    else
      return Outcome::Bad;
  }
  const std::string_view action = words[1];
  if (action == "down") {
    buttonDown_ = true;
    editor_.MouseDown(editor::MouseButton::Left, shift, *x, *y);
  } else if (action == "move") {
    editor_.MouseMove(shift, *x, *y, buttonDown_);
  } else if (action == "up") {
    buttonDown_ = false;
    editor_.MouseUp(editor::MouseButton::Left, shift, *x, *y);
  } else if (action == "dblclick") {
    editor_.DoubleClick(*x, *y);
  } else {
    return Outcome::Bad;
  }
  return Outcome::Done;
}

EditScript::Outcome EditScript::RunSet(std::string_view name, std::string_view value) {
  if (name == "Encoding") {
    for (auto encoding : {platform::TextEncoding::Utf8, platform::TextEncoding::Cp1252}) {
      if (value != platform::EncodingName(encoding)) continue;
      editor_.SetEncoding(encoding);
      return Outcome::Done;
    }
    return Outcome::Bad;
  }
  if (name == "SelectionMode") {
    auto mode = ModeFromName(value);
    if (!mode) return Outcome::Bad;
    editor_.SetSelectionMode(*mode);
    return Outcome::Done;
  }
  struct IntSetting {
    std::string_view name;
    void (editor::TqeCustomEdit::*set)(int);
  };
  // TabWidth is the Preferences dialog's name for the tab indent.
  static constexpr IntSetting kInts[] = {{"TabIndent", &editor::TqeCustomEdit::SetTabIndent},
                                         {"TabWidth", &editor::TqeCustomEdit::SetTabIndent},
                                         {"MaxUndo", &editor::TqeCustomEdit::SetMaxUndo},
                                         {"ExtraLineSpacing", &editor::TqeCustomEdit::SetExtraLineSpacing}};
  struct BoolSetting {
    std::string_view name;
    void (editor::TqeCustomEdit::*set)(bool);
  };
  static constexpr BoolSetting kBools[] = {{"ScrollPastEOL", &editor::TqeCustomEdit::SetScrollPastEOL},
                                           {"Autoindent", &editor::TqeCustomEdit::SetAutoindent},
                                           {"InsertMode", &editor::TqeCustomEdit::SetInsertMode},
                                           {"ReadOnly", &editor::TqeCustomEdit::SetReadOnly},
                                           {"WantTabs", &editor::TqeCustomEdit::SetWantTabs},
                                           {"HalfpageScroll", &editor::TqeCustomEdit::SetHalfpageScroll},
                                           {"AutoCloseTags", &editor::TqeCustomEdit::SetAutoCloseTags},
                                           {"WordWrap", &editor::TqeCustomEdit::SetWordWrap},
                                           {"TabInsertsBlanks", &editor::TqeCustomEdit::SetTabInsertsBlanks}};
  for (const auto& s : kInts) {
    if (s.name != name) continue;
    auto v = ToInt(value);
    if (!v) return Outcome::Bad;
    (editor_.*s.set)(*v);
    return Outcome::Done;
  }
  for (const auto& s : kBools) {
    if (s.name != name) continue;
    auto v = ToBool(value);
    if (!v) return Outcome::Bad;
    (editor_.*s.set)(*v);
    return Outcome::Done;
  }
  return Outcome::Bad;
}

EditScript::Outcome EditScript::RunCommand(std::string_view args) {
  const size_t space = args.find(' ');
  const std::string_view name = args.substr(0, space);
  const std::string_view rest = space == std::string_view::npos ? std::string_view{} : args.substr(space + 1);
  auto command = editor::EditorCommandFromText(name);
  if (!command) return Outcome::Bad;
  if (*command == editor::ecChar) {
    auto text = Unescape(rest, true);
    if (!text || text->size() != 1) return Outcome::Bad;
    editor_.ExecuteCommand(*command, (*text)[0]);
    return Outcome::Done;
  }
  if (*command == editor::ecGotoXY || *command == editor::ecSelGotoXY) {
    auto v = Ints(Words(rest), 0, 2);
    if (!v) return Outcome::Bad;
    const TextPoint target{(*v)[0], (*v)[1]};
    editor_.ExecuteCommand(*command, 0, target);
    return Outcome::Done;
  }
  if (!rest.empty()) return Outcome::Bad;
  editor_.ExecuteCommand(*command, 0);
  return Outcome::Done;
}

void EditScript::PrintClipboard(std::ostream& out) {
  if (auto block = clipboard_.Data(editor::BlockTypeFormat(editor_.Encoding())); block && !block->empty()) {
    const auto mode = static_cast<unsigned char>((*block)[0]);
    out << "clipboard "
        << ModeName(mode <= editor::smLine ? static_cast<editor::TSelectionMode>(mode) : editor::smNormal) << " "
        << Quote(block->substr(1)) << "\n";
  } else if (auto text = clipboard_.Data(platform::PlainTextFormat(editor_.Encoding()))) {
    out << "clipboard normal " << Quote(*text) << "\n";
  } else {
    out << "clipboard none \"\"\n";
  }
}

void EditScript::Dump(std::ostream& out) {
  const auto& lines = editor_.Lines();
  out << "lines " << lines.Count() << "\n";
  // The shown rows only while lines wrap, so dumps of scripts that do not wrap keep their lines.
  if (editor_.WordWrap()) out << "wrap " << editor_.ShownRowCount() << "\n";
  for (int i = 0; i < lines.Count(); ++i) out << i + 1 << " " << Quote(lines.Get(i)) << "\n";
  out << "caret " << editor_.CaretColumn() << " " << editor_.CaretLine() << "\n";
  const TextPoint s = editor_.SelectionStart(), e = editor_.SelectionEnd();
  out << "selection " << s.column << " " << s.line << " " << e.column << " " << e.line << " "
      << ModeName(editor_.SelectionMode()) << "\n";
  out << "view top " << editor_.TopLine() << " left " << editor_.LeftChar() << "\n";
  out << "undo " << editor_.UndoList().RecordCount() << " redo " << editor_.RedoList().RecordCount() << "\n";
  out << "marks\n";
  auto& marks = editor_.Marks();
  for (int i = 0; i < marks.Count(); ++i) {
    const auto& m = marks[i];
    out << "  " << m.line << " " << m.column << " image " << m.imageIndex << " bookmark " << m.bookmarkNumber << " "
        << (m.visible ? "visible" : "hidden") << "\n";
  }
  out << "encoding " << platform::EncodingName(editor_.Encoding()) << "\n";
  // Folds only when there are any, so dumps of scripts that fold nothing keep their lines.
  if (!editor_.Folds().empty()) {
    out << "folds";
    for (const editor::FoldRegion& fold : editor_.Folds()) out << " " << fold.first << "-" << fold.last;
    out << "\n";
  }
}

int RunEditCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string file, scriptPath, language;
  platform::Size size{800, 600};
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--file" && i + 1 < argc) {
      file = argv[++i];
    } else if (arg == "--lang" && i + 1 < argc) {
      language = argv[++i];
    } else if (arg == "--size" && i + 1 < argc) {
      const std::string_view wh = argv[++i];
      const size_t x = wh.find('x');
      auto w = ToInt(wh.substr(0, x)), h = x == std::string_view::npos ? std::nullopt : ToInt(wh.substr(x + 1));
      if (!w || !h || *w <= 0 || *h <= 0) {
        err << "qmtool edit: bad size \"" << wh << "\" (expected WxH)\n";
        return 2;
      }
      size = {*w, *h};
    } else if (scriptPath.empty() && (arg == "-" || arg.substr(0, 2) != "--")) {
      scriptPath = arg;
    } else {
      err << "usage: qmtool edit [--file PATH] [--lang NAME|none] [--size WxH] [SCRIPT|-]\n";
      return 2;
    }
  }

  EditScript session(size);
  if (!language.empty() && !session.SetLanguage(language)) {
    err << "qmtool edit: unknown language \"" << language << "\"\n";
    return 2;
  }
  if (!file.empty()) {
    try {
      session.Editor().Lines().LoadFromFile(file);
    } catch (const std::exception& e) {
      err << "qmtool edit: " << e.what() << "\n";
      return 2;
    }
  }
  // The text is dumped after a script that ran to its end.
  auto runAndDump = [&](std::istream& script) {
    const int status = session.Run(script, out, err);
    if (status != 2) session.Dump(out);
    return status;
  };
  if (scriptPath.empty()) {
    std::istringstream none;
    return runAndDump(none);
  }
  if (scriptPath == "-") return runAndDump(in);
  std::ifstream script(scriptPath, std::ios::binary);
  if (!script) {
    err << "qmtool edit: Cannot open file " << scriptPath << "\n";
    return 2;
  }
  return runAndDump(script);
}

}  // namespace qmtool
