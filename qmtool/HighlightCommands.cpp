// The commands that read a file through a highlighter: one line per token but the end-of-line ones
// (LINE:COL ATTRIBUTE "TEXT", from the reset state, the range carried from line to line), and the RTF of
// the whole file.
#include "qmtool/HighlightCommands.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/Rtf2Html.h"
#include "editor/CustomEdit.h"
#include "editor/RtfExport.h"
#include "highlighters/HighlighterFactory.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"
#include "qmtool/TextEscape.h"

namespace qmtool {
namespace {

struct HighlightedFile {
  std::unique_ptr<highlighters::TqeCustomHighLighter> highlighter;
  std::string file;
};

// "[--lang NAME] FILE", HTML when no language is named; nothing, after saying why, for bad arguments.
std::optional<HighlightedFile> ParseArguments(const char* command, int argc, char** argv, std::ostream& err) {
  std::string language = "html";
  std::string file;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--lang" && i + 1 < argc) {
      language = argv[++i];
    } else if (file.empty() && arg.rfind("--", 0) != 0) {
      file = arg;
    } else {
      file.clear();
      break;
    }
  }
  if (file.empty()) {
    err << "usage: qmtool " << command << " [--lang NAME] FILE\n";
    return std::nullopt;
  }
  auto highlighter = highlighters::CreateHighlighter(language);
  if (!highlighter) {
    err << "qmtool " << command << ": unknown language \"" << language << "\"\n";
    return std::nullopt;
  }
  return HighlightedFile{std::move(highlighter), file};
}

// An attribute's name with '_' for blanks, after the token's language and a dot when another scanner read it.
std::string AttributeLabel(const highlighters::TqeCustomHighLighter& highlighter) {
  const highlighters::TqeHighLightAttributes* attribute = highlighter.TokenAttribute();
  if (!attribute) return "-";
  const std::string_view language = highlighter.TokenLanguage();
  std::string name = language.empty() ? attribute->Name() : std::string(language) + "." + attribute->Name();
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
}

}  // namespace

int RunTokensCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  auto input = ParseArguments("tokens", argc, argv, err);
  if (!input) return 2;
  editor::TqeEditList lines;
  try {
    lines.LoadFromFile(input->file);
  } catch (const std::exception& e) {
    err << "qmtool tokens: " << e.what() << "\n";
    return 2;
  }
  auto& highlighter = *input->highlighter;
  highlighter.ResetRangeState();
  for (int i = 0; i < lines.Count(); ++i) {
    highlighter.StartLine(lines.Get(i), i);
    for (; !highlighter.AtLineEnd(); highlighter.NextToken()) {
      out << i + 1 << ":" << highlighter.TokenPosition() + 1 << " " << AttributeLabel(highlighter) << " "
          << Quote(highlighter.TokenText()) << "\n";
    }
  }
  return 0;
}

int RunRtfCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  auto input = ParseArguments("rtf", argc, argv, err);
  if (!input) return 2;
  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  editor::TqeCustomEdit editor(fonts, clipboard);
  try {
    editor.SetHighLighter(input->highlighter.get());
    editor.Lines().LoadFromFile(input->file);
    editor.SelectWholeText();
    editor::TqeRtfExport exporter;
    out << exporter.Export(editor, editor.HighLighter());
  } catch (const std::exception& e) {
    err << "qmtool rtf: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

int RunRtf2HtmlCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc != 1) {
    err << "usage: qmtool rtf2html FILE\n";
    return 2;
  }
  try {
    out << app::RtfToHtml(app::ReadRtfFile(argv[0]));
  } catch (const std::exception& e) {
    err << "qmtool rtf2html: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace qmtool
