// The fixed tag table and the texts the insertion commands compose.
#include "app/InsertCommands.h"

namespace app {
namespace {

using enum InsertMode;

// Buttons the toolbar has always shown as pictures carry a short caption here instead.
const TagCommand kFixedCommands[] = {
    {"ToolbarButton9715Click", "Standard", "&Insert", "HorizontalLine1", "&Horizontal Line", "", "HR",
     "Insert Horizontal Line", AtCaretLine, "<HR>", ""},
    {"ToolbarButton9717Click", "Standard", "&Insert", "PageBreak1", "&Page Break", "Ctrl+F2", "BR", "Insert Line Break",
     AtCaretLine, "<BR>", ""},
    {"ToolbarButton9722Click", "Forms", "F&orms", "AddaForm1", "&Add a Form", "Ctrl+Shift+F1", "Add Form", "Add a Form",
     AtCaretLine,
     "<form action=\"\" method=\"POST\" enctype=\"\" name=\"formname\"><input type=\"hidden\" name=\"Made By\" "
     "value=\"Tarnwell\"><p>&nbsp;</p></form>",
     ""},
    {"ToolbarButton9724Click", "Forms", "F&orms", "AddaButton1", "Add a Button", "", "Button", "Add a Button",
     AtCaretLine, "<p><input type=\"submit\" name=\"\" value=\"Submit\"></p>", ""},
    {"ToolbarButton9725Click", "Forms", "F&orms", "AddaCheckbox1", "Add a Checkbox", "", "Checkbox", "Add a Checkbox",
     AtCaretLine, "<p><input type=\"checkbox\" name=\"C1\"></p>", ""},
    {"ToolbarButton9714Click", "Forms", "F&orms", "AddaRadioButton1", "Add a Radio Button", "", "Radio",
     "Add a Radio Button", AtCaretLine, "<p><input type=\"radio\" checked name=\"R1\" value=\"V1\"></p>", ""},
    {"ToolbarButton9723Click", "Forms", "F&orms", "AddaDropDownListbox1", "Add a Drop-Down Listbox", "", "Drop-Down",
     "Add a Drop-Down Listbox", AtCaretLine,
     "<p><select name=\"Menu\" size=\"1\"><option selected>A</option><option>B</option><option>C</option>"
     "</select></p>",
     ""},
    {"ToolbarButton9721Click", "Forms", "F&orms", "AddaTextbox1", "Add a Textbox", "", "Text Box", "Add a Text Box",
     AtCaretLine, "<p><input type=\"text\" size=\"20\" name=\"\"></p>", ""},
    {"ToolbarButton972Click", "Forms", "F&orms", "AddaScrollingTextbox1", "Add a Scrolling Textbox", "", "Text Area",
     "Add a Scrolling Textbox", AtCaretLine, "<p><textarea name=\"\" rows=\"2\" cols=\"20\"></textarea></p>", ""},
    {"ToolbarButton973Click", "Tables", nullptr, "", "", "", "Add Rows", "Add Rows", AtCaretLine, "<tr>\r\n\r\n</tr>",
     ""},
    {"ToolbarButton974Click", "Tables", nullptr, "", "", "", "Add Columns", "Add Columns", AtCaretLine,
     "<th nowrap> </th>", ""},
    {"ToolbarButton9728Click", "Fonts", "Fo&nts", "Header11", "Header 1", "", "h1", "Heading Level 1", WrapSelection,
     "<h1>", "</h1>"},
    {"ToolbarButton9726Click", "Fonts", "Fo&nts", "Header21", "Header 2", "", "h2", "Heading Level 2", WrapSelection,
     "<h2>", "</h2>"},
    {"ToolbarButton976Click", "Fonts", "Fo&nts", "Header31", "Header 3", "", "h3", "Heading Level 3", WrapSelection,
     "<h3>", "</h3>"},
    {"ToolbarButton9727Click", "Fonts", "Fo&nts", "Bold1", "Bold", "Ctrl+B", "B", "Bold", WrapSelection, "<b>", "</b>"},
    {"ToolbarButton9729Click", "Fonts", "Fo&nts", "Italic1", "Italic", "Ctrl+I", "I", "Italics", WrapSelection, "<i>",
     "</i>"},
    {"ToolbarButton9731Click", "Fonts", "Fo&nts", "Strong1", "Strong", "", "S", "Strong", WrapSelection, "<strong>",
     "</strong>"},
    {"ToolbarButton9732Click", "Fonts", "Fo&nts", "Emphasis1", "Emphasis", "", "EM", "Emphasis", WrapSelection, "<em>",
     "</em>"},
    {"ToolbarButton9730Click", "Fonts", "Fo&nts", "Preformatted1", "Preformatted", "", "Pre", "Preformatted",
     WrapSelection, "<pre>", "</pre>"},
    {"ToolbarButton9737Click", "Frames", "F&rames", "Frameset1", "Frameset", "", "<frameset>", "<frameset>",
     AtCaretLine, "<frameset cols=\"10,*\"> </frameset>", ""},
    {"ToolbarButton9736Click", "Frames", "F&rames", "Frame1", "Frame", "", "<frame>", "<frame>", AtCaretLine,
     "<frame src=\"\">", ""},
    {"ToolbarButton9735Click", "Frames", "F&rames", "NoFrames1", "No Frames", "", "<noframes>", "<noframes>",
     AtCaretLine, "<noframes> </noframes>", ""},
    {"ToolbarButton9744Click", "Frames", "F&rames", "FloatingFrames1", "Floating Frames", "", "<iframe>", "<iframe>",
     AtCaretLine, "<iframe> </iframe>", ""},
    {"ToolbarButton9740Click", "Lists", "&Lists", "UnorderedLists1", "Unordered Lists", "", "UL", "Unordered List",
     AtCaretLine, "<ul> </ul>", ""},
    {"ToolbarButton9742Click", "Lists", "&Lists", "OrderedLists1", "Ordered Lists", "", "OL", "Ordered List",
     AtCaretLine, "<ol> </ol>", ""},
    {"ToolbarButton9743Click", "Lists", "&Lists", "ListItem1", "List Item", "", "LI", "List Item", AtCaretLine, "<li>",
     ""},
    {"ToolbarButton9741Click", "Lists", "&Lists", "Definition1", "Definition", "", "DD", "Definition", AtCaretLine,
     "<DD>", ""},
    {"ToolbarButton9739Click", "Lists", "&Lists", "DefinitionTerm1", "Definition Term", "", "DT", "Definition Term",
     AtCaretLine, "<DT>", ""},
    {"ToolbarButton9738Click", "Lists", "&Lists", "Menu1", "Menu", "", "M", "Menu", AtCaretLine, "<menu> </menu>", ""},
    {"ToolbarButton9751Click", "ASP", "&ASP", "IncludeFile1", "Include File", "", "#", "Include Page", AtCaretLine,
     "<!--#include file=\"\"-->", ""},
    {"ToolbarButton9750Click", "ASP", "&ASP", "ASPTag1", "ASP Tag", "", "%", "ASP Tag", AtCaretLine, "<% %>", ""},
    {"ToolbarButton9749Click", "ASP", "&ASP", "ASPOutput1", "ASP Output", "", "%=", "ASP Output", AtCaretLine, "<%= %>",
     ""},
    {"ToolbarButton9748Click", "ASP", "&ASP", "If1", "If..", "", "if", "ASP If", AtCaretLine, "<% if %>", ""},
    {"ToolbarButton9747Click", "ASP", "&ASP", "Else1", "..Else..", "", "else", "ASP Else", AtCaretLine, "<% else %>",
     ""},
    {"ToolbarButton9746Click", "ASP", "&ASP", "EndIf1", "..End If", "", "end", "ASP End", AtCaretLine, "<% end if %>",
     ""},
};

const char* const kAspVariables[] = {
    "ALL_HTTP",          "AUTH_PASS",    "AUTH_TYPE",       "CONTENT_LENGTH",  "CONTENT_TYPE",
    "GATEWAY_INTERFACE", "PATH_INFO",    "PATH_TRANSLATED", "QUERY_STRING",    "REMOTE_ADDR",
    "REMOTE_HOST",       "REMOTE_IDENT", "REMOTE_USER",     "REQUEST_BODY",    "REQUEST_METHOD",
    "SCRIPT_NAME",       "SERVER_NAME",  "SERVER_PORT",     "SERVER_PROTOCOL", "SERVER_SOFTWARE",
};

const AppletType kAppletTypes[] = {
    {"User Defined", "", ""},
    {"Ad Banner", "jads.class", "jads.conf"},
    {"Rotating Clock", "Clock3D.class", "Clock3D.conf"},
    {"Image Cube", "image3dcube.class", "image3dcube.conf"},
};

}  // namespace

std::span<const AppletType> AppletTypes() { return kAppletTypes; }

std::span<const TagCommand> FixedTagCommands() { return kFixedCommands; }

const TagCommand* FindTagCommand(std::string_view handler) {
  for (const TagCommand& command : kFixedCommands)
    if (handler == command.handler) return &command;
  return nullptr;
}

std::span<const char* const> AspVariableNames() { return kAspVariables; }

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void InsertCommands::Insert(InsertMode mode, std::string_view text) {
  if (mode == WrapSelection) return Wrap(text, {});
  // Inserted as one recorded edit, so Undo takes it back and earlier undo steps keep their places.
  const auto& lines = richEdit1_->Lines();
  const int line = mode == AtCaretLine      ? richEdit1_->CaretLine()
                   : mode == BelowCaretLine ? richEdit1_->CaretLine() + 1
                                            : lines.Count() + 1;
  if (line <= lines.Count()) {
    richEdit1_->InsertTextAt({1, line}, std::string(text) + "\r\n");
  } else {
    const int last = lines.Count();
    richEdit1_->InsertTextAt({static_cast<int>(lines.Get(last - 1).size()) + 1, last}, "\r\n" + std::string(text));
  }
}

void InsertCommands::Wrap(std::string_view opening, std::string_view closing) {
  std::string text(opening);
  text += richEdit1_->SelectedText();
  text += closing;
  richEdit1_->SetSelectedText(text);
}

void InsertCommands::Run(const TagCommand& command) {
  if (command.mode == WrapSelection)
    Wrap(command.text, command.closing);
  else
    Insert(command.mode, command.text);
}

void InsertCommands::Timestamp(const std::string& date, const std::string& time) {
  Insert(Appended, "Page was last updated on: " + date + " at: " + time);
}

void InsertCommands::ChangeFont(platform::Dialogs& dialogs) {
  const auto font = dialogs.ChooseFont();
  if (!font) return;
  Wrap("<FONT FACE=\"" + font->face + "\" SIZE=\"" + std::to_string(font->pointSize) + "\"> ", "</FONT>");
}

void InsertCommands::AspVariable(const std::string& boxText) {
  Insert(AtCaretLine, "<%= Request.ServerVariables(\"" + boxText + "\") %>");
}

void InsertCommands::SideListItem(const std::string& item) { Insert(BelowCaretLine, item); }

void InsertCommands::InsertImg(const std::string& address) {
  if (address.empty()) return;
  Insert(BelowCaretLine, "<img src=\"" + address + "\">");
}

void InsertCommands::InsertImgX(const std::string& address, const std::string& height, const std::string& width) {
  if (address.empty()) return;
  Insert(BelowCaretLine, "<img src=\"" + address + "\" height=\"" + height + "\" width=\"" + width + "\">");
}

void InsertCommands::InsertHyp(const std::string& address, const std::string& linkClass) {
  if (address.empty()) return;
  Insert(AtCaretLine, "<a href=\"" + address + "\" class=\"" + linkClass + "\">" + address + "</a>");
}

void InsertCommands::InsertOpenHyperlink(const std::string& address) {
  if (address.empty()) return;
  Insert(AtCaretLine, "<a href=\"" + address + "\">" + address + "</a>");
}

void InsertCommands::AddJava(const std::string& source, const std::string& height, const std::string& width,
                             const std::vector<std::string>& parameterLines) {
  if (source.empty()) return;
  Insert(AtCaretLine, "<APPLET CODE=\"" + source + "\" CODEBASE=\"./\" ALIGN=\"BASELINE\" Height=\"" + height +
                          "\" Width=\"" + width + "\">\r\n" + JoinLines(parameterLines) + "\r\n</APPLET>");
}

void InsertCommands::InsertJCS(ScriptSource option, const std::string& path,
                               const std::vector<std::string>& scriptLines) {
  if (option == ScriptSource::FromFile)
    Insert(BelowCaretLine, "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"" + path + "\">\r\n</SCRIPT>");
  else
    Insert(BelowCaretLine, "<SCRIPT LANGUAGE=\"JavaScript\">\r\n" + JoinLines(scriptLines) + "\r\n</SCRIPT>");
}

void InsertCommands::InsertStyleSheet(const std::string& fileName) {
  Insert(AtCaretLine, "<LINK REL=\"stylesheet\" TITLE=\"Default\" HREF=\"" + fileName + "\" TYPE=\"text/css\">");
}

}  // namespace app
