// The page check: the markup problems libtidy finds in a page, the local links and anchors that lead
// nowhere, and Tidy Up Page, libtidy's clean copy of a page. Everything here is a plain function of the
// text, so the check can run on a worker over a snapshot.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"

namespace app {

enum class ProblemSeverity : std::uint8_t { Error, Warning, Access, Info, Link };

// "error", "warning", "access", "info", "link".
std::string_view SeverityName(ProblemSeverity severity);

struct PageProblem {
  int line = 0, column = 0;  // 1-based, as libtidy counts them (characters, tabs to the next stop of 8)
  ProblemSeverity severity = ProblemSeverity::Info;
  std::string message;  // UTF-8
  friend bool operator==(const PageProblem&, const PageProblem&) = default;
};

// The text with every server block (<% %>, <?php ?>, <?= ?>) turned into blanks, byte for byte, its line
// ends kept: such blocks are no markup, and positions after them stay right. An unclosed block runs to the
// end of the text.
std::string BlankServerBlocks(std::string_view text);

// libtidy's diagnostics of the page (server blocks blanked first) and the broken local links and anchors,
// sorted by line and column; several at one place keep libtidy's order, links after. folder: where
// relative links are looked for; empty for a document never saved (then only anchors are checked).
std::vector<PageProblem> CheckPage(std::string_view text, platform::TextEncoding encoding,
                                   const std::filesystem::path& folder);

// The byte a libtidy column (1-based) stands for on a line.
int ByteOfCheckColumn(std::string_view line, int column, platform::TextEncoding encoding);

struct TidyUpResult {
  bool mended = false;
  std::string text;     // the clean page, when mended
  std::string message;  // why not, when not
};

// libtidy's clean output of the page: indented by indent blanks, lines ended by CR LF or LF, in the
// page's own encoding, server blocks kept as they are.
TidyUpResult TidyUpPage(std::string_view text, platform::TextEncoding encoding, int indent, bool crlf);

// How many lines differ between two texts, counted over what lies between their common first and last
// lines: what Tidy Up Page tells before it replaces the text.
int ChangedLineCount(std::string_view before, std::string_view after);

}  // namespace app
