// `qmtool check FILE`: the page check, one problem a line, `LINE:COL SEVERITY MESSAGE` in document order;
// exit status 0 without errors, 1 with errors, 2 when the file cannot be read.
// `qmtool spell [--dict NAME] FILE`: each misspelt word `LINE:COL "WORD"` (its first byte), en_US by
// default, the prose chosen by the file's language as the editor chooses it; exit status 0 (2 for bad
// arguments, an unreadable file or a dictionary that is not installed).
#pragma once

#include <iosfwd>

namespace qmtool {

int RunCheckCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunSpellCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qmtool
