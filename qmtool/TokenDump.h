// `qmtool tokens [--lang NAME] FILE`: the tokens of every line as the editor's rescan sees them.
#pragma once

#include <iosfwd>

namespace qmtool {

// Arguments after "tokens"; returns the exit status (2 for bad arguments or an unknown language).
int RunTokensCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qmtool
