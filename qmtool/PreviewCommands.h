// `qmtool htmltokens FILE`: the preview's page reader's tokens, one a line.
// `qmtool layout [--width W] [--font-size N] [--colors] FILE`: the page parsed as the viewer loads it and
// laid out with the test font, one line per block, line and font run.
// `qmtool css [--width W] FILE`: the computed style of every element, one a line, as it differs from its
// parent's.
#pragma once

#include <iosfwd>

namespace qmtool {

// Each returns the exit status: 2 for bad arguments, 1 when the file cannot be read.
int RunHtmlTokensCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunLayoutCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunCssCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qmtool
