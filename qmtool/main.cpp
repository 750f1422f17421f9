// qmtool: the command-line companion of the editor, over the same core.
#include <iostream>
#include <string_view>

#include "qmtool/CheckCommands.h"
#include "qmtool/EditScript.h"
#include "qmtool/FetchCommand.h"
#include "qmtool/HighlightCommands.h"
#include "qmtool/PreviewCommands.h"

namespace {

void Usage(std::ostream& out) {
  out << "usage: qmtool COMMAND [ARGS]\n"
         "commands:\n"
         "  edit [--file PATH] [--size WxH] [SCRIPT|-]   run an editing script, then dump the editor\n"
         "  tokens [--lang NAME] FILE                    print the highlighter's tokens of every line\n"
         "  rtf [--lang NAME] FILE                       print the file as the RTF export copies it\n"
         "  fetch [--cafile FILE] URL                    fetch a page over HTTP/1.0 (or HTTPS), body to standard "
         "output\n"
         "  rtf2html FILE                                convert an RTF file as Import RTF to HTML does\n"
         "  htmltokens FILE                              print the preview's page tokens\n"
         "  layout [--width W] [--font-size N] [--colors] FILE\n"
         "                                               print the preview's layout with the test font\n"
         "  css [--width W] FILE                         print the computed style of every element\n"
         "  check FILE                                   print the page's markup problems and broken links\n"
         "  spell [--dict NAME] FILE                     print the misspelt words\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) {
    Usage(std::cerr);
    return 2;
  }
  const std::string_view command = argv[1];
  if (command == "edit") return qmtool::RunEditCommand(argc - 2, argv + 2, std::cin, std::cout, std::cerr);
  if (command == "fetch") return qmtool::RunFetchCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "tokens") return qmtool::RunTokensCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "htmltokens") return qmtool::RunHtmlTokensCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "layout") return qmtool::RunLayoutCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "css") return qmtool::RunCssCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "rtf2html") return qmtool::RunRtf2HtmlCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "check") return qmtool::RunCheckCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "spell") return qmtool::RunSpellCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "rtf") return qmtool::RunRtfCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "--help" || command == "help") {
    Usage(std::cout);
    return 0;
  }
  std::cerr << "qmtool: unknown command \"" << command << "\"\n";
  Usage(std::cerr);
  return 2;
}
