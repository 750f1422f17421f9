// The commands that put text into the document: the fixed tags of the menus and the tag toolbar, the
// texts the insertion dialogs compose, the timestamp, Change Font, the ASP variable and the side lists.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/CustomEdit.h"
#include "platform/Dialogs.h"

namespace app {

// Where an inserted text goes. None of them moves the caret.
enum class InsertMode {
  AtCaretLine,     // takes the caret line's place; that line and all below move down
  BelowCaretLine,  // directly below the caret line
  Appended,        // after the last line
  WrapSelection,   // the selection is replaced by itself between an opening and a closing text
};

// A command whose text never changes, with where it appears.
struct TagCommand {
  const char* handler;   // e.g. "ToolbarButton9715Click"
  const char* page;      // page of the tag toolbar
  const char* menu;      // top menu, or null when only the toolbar has it
  const char* menuItem;  // the menu item's name
  const char* menuCaption;
  const char* shortcut;       // "" for none
  const char* buttonCaption;  // what the toolbar button shows
  const char* hint;
  InsertMode mode;
  const char* text;     // for WrapSelection, the opening text
  const char* closing;  // for WrapSelection only
};

std::span<const TagCommand> FixedTagCommands();
const TagCommand* FindTagCommand(std::string_view handler);

// The ASP variable box's items and first text.
std::span<const char* const> AspVariableNames();
inline constexpr const char* kAspVariablesPrompt = "Click for ASP Variables";

// The applet dialog's types: the class file it names and the parameter file in the data folder it loads.
// "User Defined" names neither.
struct AppletType {
  const char* name;
  const char* source;
  const char* parameterFile;
};
std::span<const AppletType> AppletTypes();

// The insertion dialog's script options.
enum class ScriptSource { FromFile = 0, AsBelow = 1 };

class InsertCommands {
 public:
  InsertCommands() = default;
  explicit InsertCommands(editor::TqeCustomEdit& richEdit1) : richEdit1_(&richEdit1) {}
  // The editor the commands insert into: the current tab's.
  void SetEditor(editor::TqeCustomEdit& richEdit1) { richEdit1_ = &richEdit1; }
  // What the inserted bytes are read in: text from boxes and dialogs is converted to it.
  platform::TextEncoding Encoding() const { return richEdit1_->Encoding(); }

  // A text holding line breaks becomes one line per piece, split as a file load would split it, so the
  // document reads the same before and after it is saved and opened again.
  void Insert(InsertMode mode, std::string_view text);
  void Wrap(std::string_view opening, std::string_view closing);
  void Run(const TagCommand& command);

  void Timestamp(const std::string& date, const std::string& time);  // ToolbarButton971Click
  // Asks for a font; a chosen one wraps the selection in a FONT tag.
  void ChangeFont(platform::Dialogs& dialogs);   // ToolbarButton9733Click
  void AspVariable(const std::string& boxText);  // ToolbarButton9745Click
  void SideListItem(const std::string& item);    // ListBox1Click .. ListBox3Click

  // The insertion dialogs' texts; an empty address or source inserts nothing where the dialog says so.
  void InsertImg(const std::string& address);
  void InsertImgX(const std::string& address, const std::string& height, const std::string& width);
  void InsertHyp(const std::string& address, const std::string& linkClass);
  // The hyperlink command while its dialog is already open: a link without a class.
  void InsertOpenHyperlink(const std::string& address);
  void AddJava(const std::string& source, const std::string& height, const std::string& width,
               const std::vector<std::string>& parameterLines);
  void InsertJCS(ScriptSource option, const std::string& path, const std::vector<std::string>& scriptLines);
  void InsertStyleSheet(const std::string& fileName);

 private:
  editor::TqeCustomEdit* richEdit1_ = nullptr;
};

// A memo's lines as one text, every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace app
