// One line per token but the end-of-line ones: LINE:COL ATTRIBUTE "TEXT", starting from the reset state and
// carrying the range from line to line.
#include "qmtool/TokenDump.h"

#include <iostream>
#include <string>

#include "editor/EditList.h"
#include "highlighters/HighlighterFactory.h"
#include "qmtool/TextEscape.h"

namespace qmtool {
namespace {

std::string AttributeLabel(const highlighters::TqeHighLightAttributes* attribute) {
  if (!attribute) return "-";
  std::string name = attribute->Name();
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
}

}  // namespace

int RunTokensCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
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
    err << "usage: qmtool tokens [--lang NAME] FILE\n";
    return 2;
  }
  auto highlighter = highlighters::CreateHighlighter(language);
  if (!highlighter) {
    err << "qmtool tokens: unknown language \"" << language << "\"\n";
    return 2;
  }
  editor::TqeEditList lines;
  try {
    lines.LoadFromFile(file);
  } catch (const std::exception& e) {
    err << "qmtool tokens: " << e.what() << "\n";
    return 2;
  }
  highlighter->ResetRangeState();
  for (int i = 0; i < lines.Count(); ++i) {
    highlighter->StartLine(lines.Get(i), i);
    for (; !highlighter->AtLineEnd(); highlighter->NextToken()) {
      out << i + 1 << ":" << highlighter->TokenPosition() + 1 << " " << AttributeLabel(highlighter->TokenAttribute())
          << " " << Quote(highlighter->TokenText()) << "\n";
    }
  }
  return 0;
}

}  // namespace qmtool
