// `qmtool edit`: an editor core on the test font and an in-memory clipboard, driven by a script, then dumped.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/Completion.h"
#include "editor/CustomEdit.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/ManualEventLoop.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/RecordingWindow.h"

namespace qmtool {

class EditScript {
 public:
  explicit EditScript(platform::Size clientSize);
  ~EditScript();

  // The language the editor reads its text in: a name of the highlighter table, or "none". False when
  // there is no such language.
  bool SetLanguage(std::string_view name);

  editor::TqeCustomEdit& Editor() { return editor_; }
  platform::headless::MemoryClipboard& Clipboard() { return clipboard_; }

  // Runs every line of script (a session may run several in turn); returns the exit status: 0, 1 when a
  // command raised an error (its message goes to err and the script goes on), 2 at the first bad line
  // (named on err).
  int Run(std::istream& script, std::ostream& out, std::ostream& err);
  void Dump(std::ostream& out);

 private:
  enum class Outcome { Done, Bad };
  Outcome RunLine(std::string_view line, std::ostream& out);
  Outcome RunSet(std::string_view name, std::string_view value);
  Outcome RunCommand(std::string_view args);
  Outcome RunMouse(const std::vector<std::string_view>& words);
  // "search FLAGS \"TEXT\"" and "replace FLAGS \"TEXT\" \"REPLACEMENT\"": prints "search N" or "replace N".
  Outcome RunSearch(bool replace, std::string_view args, std::ostream& out);
  void PrintClipboard(std::ostream& out);
  // "complete": prints "complete N" and the list at the caret; "complete NAME" puts NAME in from the list.
  Outcome RunComplete(std::string_view name, std::ostream& out);

  platform::headless::CellFontEngine fonts_;
  platform::headless::MemoryClipboard clipboard_;
  platform::headless::RecordingWindow window_;
  platform::headless::ManualEventLoop loop_;
  editor::TqeCustomEdit editor_;
  std::unique_ptr<highlighters::TqeCustomHighLighter> highlighter_;
  std::optional<editor::CompletionTables> tables_;  // read when first asked for
  bool buttonDown_ = false;
};

// The whole `qmtool edit` command line (arguments after "edit"); returns the exit status.
int RunEditCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace qmtool
