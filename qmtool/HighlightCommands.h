// `qmtool tokens [--lang NAME] FILE`: the tokens of every line as the editor's rescan sees them.
// `qmtool rtf [--lang NAME] FILE`: the whole file as the RTF export puts it on the clipboard.
#pragma once

#include <iosfwd>

namespace qmtool {

// Arguments after the command's name; each returns the exit status (2 for bad arguments or an unknown
// language, 1 when the file cannot be read or exported).
int RunTokensCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunRtfCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
// `qmtool rtf2html FILE`: the RTF file converted as Tools > "Import RTF to HTML" converts it, exact bytes.
int RunRtf2HtmlCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qmtool
