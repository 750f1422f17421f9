// The main window's logic without its widgets: start-up, the document's lifecycle (new, open, save as,
// print, close, exit), the title and the four document flags, the recent files, the window placement and
// the commands that hand a file to another program. The Qt window calls these handlers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/FormSizeSave.h"
#include "app/RecentFileList.h"
#include "app/RecoveryJournal.h"
#include "app/TemplateLibrary.h"
#include "editor/CustomEdit.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/InstanceLink.h"
#include "platform/Printer.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace app {

inline constexpr const char* kApplicationTitle = "Tarnwell Quillmark 3.01";

// Runs a command as the application's error handler does: an error is shown in a message box and the
// command stops there.
void RunCommand(platform::Dialogs& dialogs, const std::function<void()>& command);

// The platform services the main window's logic asks.
struct MainFormServices {
  platform::Registry& registry;
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  platform::Printer& printer;
  std::string searchPath;  // PATH, for Calculator and Notepad
  // Runs web transfers while their wait window shows.
  platform::EventLoop* loop = nullptr;
  // The other running programs, asked before a file is opened (none: not asked).
  platform::InstanceLink* instances = nullptr;
};

class MainForm {
 public:
  MainForm(editor::TqeCustomEdit& richEdit1, MainFormServices services, std::string installDir);

  // Start-up: FormCreate when the window is made (placement restored into placement), FormShow when it is
  // first shown, with the command-line arguments after the program name.
  void FormCreate(WindowPlacement& placement);
  void FormShow(const std::vector<std::string>& arguments);
  // After FormShow, once the window can be seen: offers the journals of programs that are gone, after the
  // one named by "--recover JOURNAL".
  void OfferRecovery(const std::vector<std::string>& arguments);

  void NewFileClick();
  void FromFile1Click();
  void SaveAs1Click() { FileSave(); }
  void PrintFileClick();
  void PrinterSetup1Click() { services_.printer.ShowSetupDialog(); }
  void MRUMenuClick(const std::string& path);
  void ToolbarButton977Click();  // Browser Preview
  void Contents1Click();         // Help
  void SpeedButton4Click();      // Calculator
  void SpeedButton5Click();      // Notepad
  void RefreshClick() { Notify(OnRepaintEditor); }

  // Whether the window may close (FormClose) or the program end (Exit1Click); both store the placement
  // and ask to save unsaved work.
  bool FormClose(const WindowPlacement& placement);
  bool Exit1Click(const WindowPlacement& placement);

  void FileNew();
  void FileOpen();
  // Save As; false when the dialog was cancelled.
  bool FileSave();
  void PerformFileOpen(const std::string& path);
  // Open Web File: fetches url while a wait window shows (its Cancel or Escape stops the fetch); only a
  // fetch that succeeded replaces the text, after the save question when work is unsaved. A failure raises
  // its message and leaves the text as it was. False when the fetch was cancelled or the text kept.
  bool OpenWebFile(const std::string& url);

  const std::string& InstallDir() const { return installDir_; }
  const std::string& DocSaveState() const { return docSaveState_; }
  const std::string& OpenedFileName() const { return openedFileName_; }
  const std::string& SavedFileName() const { return savedFileName_; }
  const std::string& UntitledFlag() const { return untitledFlag_; }
  // The file the preview shows when the centre page changes: the opened or saved file, or, for an
  // untitled document, the editor's text written to Temp.htm in the data folder. A file loaded without
  // changing the flags (the command line, the recent list) shows as it is on disk; a page from the web or
  // an import, which has no file, shows as the editor's text.
  std::string PreviewFileName();
  // Where the document's relative links and images are found: its file's folder, or the data folder.
  std::string DocumentFolder() const;
  // Opens a template (FileListBox1DblClick, FileListBox2DblClick): as Open Local File does, asking first
  // when work is unsaved.
  void OpenTemplate(const std::string& path);
  // Saves the text as the user template name (Save to Library's OK); false when the name is refused or
  // replacing an existing template is declined.
  bool SaveToLibrary(const std::string& name);
  // Deletes a user template after asking (SpeedButton8Click).
  void DeleteTemplate(const std::string& name);
  TemplateLibrary Templates() const { return TemplateLibrary(installDir_); }
  std::function<void()> OnTemplatesChanged;
  // Tools > "Import RTF to HTML": the chosen RTF file converted into a page in the editor. The title, the
  // recent list and the document flags stay as they are; the editor is emptied only after the conversion.
  void ImportRTFtoHTML1Click();
  // A web address from a previewed page, for the desktop's browser.
  void OpenWebAddress(const std::string& url);
  const std::string& Title() const { return title_; }
  // The text changed since it was loaded or saved.
  bool Modified() const { return modified_; }
  // Whether path is the file this window's text belongs to.
  bool IsDocument(const std::string& path) const;
  // The recovery journal (none without an event loop).
  RecoveryJournal* Journal() { return journal_.get(); }
  std::string DataFile(const std::string& name) const { return installDir_ + "/" + name; }

  TRecentFileList MRU;
  TFormSizeSave FormSizeSave1;
  std::vector<std::string> ListBox1Items;  // "HTML"
  std::vector<std::string> ListBox2Items;  // "Events"
  std::vector<std::string> ListBox3Items;  // "Functions"
  // The items of side list 0, 1 or 2.
  const std::vector<std::string>& SideListItems(int list) const {
    return list == 0 ? ListBox1Items : list == 1 ? ListBox2Items : ListBox3Items;
  }
  std::string StandardTemplatesFolder;
  std::string UserTemplatesFolder;

  std::function<void()> OnTitleChanged;
  std::function<void()> OnRepaintEditor;
  std::function<void()> OnFocusEditor;
  std::function<void()> OnSideListsLoaded;
  // A second recovered document goes to a window of its own: start one for this journal ("--recover").
  std::function<void(const std::string& journal)> OnRecoverInNewWindow;
  // A blocking exchange begins (true) or ends (false): the window shows the wait cursor meanwhile.
  std::function<void(bool)> OnBusy;

 private:
  enum class Flags { New, Opened, Saved };
  void SetFlags(Flags flags, const std::string& path);
  void SetTitle(std::string title);
  void LoadDocument(const std::string& path);
  // The default page as a new, untitled document.
  void LoadUntitled();
  // The text is saved or given up: nothing to recover any more.
  void SetUnmodified();
  void Recover(const std::filesystem::path& journal, const JournalEntry& entry);
  bool JournalSnapshot(JournalEntry& entry) const;
  void WarnCutAtZeroByte(const std::string& source);
  // Asks before a save replaces the file whose text was cut at a zero byte; true: go on.
  bool MayOverwrite(const std::string& path);
  platform::MessageAnswer AskSaveChanges(platform::MessageIcon icon);
  // Yes saves (false when the save was cancelled), No goes on, Cancel stops: whether to go on.
  bool SaveOrDiscardChanges(platform::MessageIcon icon);
  // Asks to save the changes; No runs the command.
  void AskThen(void (MainForm::*command)());
  void ShowShellError();
  // The file on disk the preview shows; empty when it shows the editor's text.
  std::string PreviewSourceFile() const;
  // Whether another program has path open (it then shows it): this window leaves its text as it is.
  bool OpenElsewhere(const std::string& path);
  void StartTool(std::initializer_list<std::string_view> programs);
  static void Notify(const std::function<void()>& event) {
    if (event) event();
  }

  editor::TqeCustomEdit& richEdit1_;
  MainFormServices services_;
  std::string installDir_;
  std::string docSaveState_;
  std::string openedFileName_;
  std::string savedFileName_;
  std::string untitledFlag_;
  std::string title_;
  bool modified_ = false;
  std::string cutFile_;       // the loaded file, when its text was cut at a zero byte
  std::string documentFile_;  // the file the text belongs to (empty: untitled)
  std::unique_ptr<RecoveryJournal> journal_;
  // What the preview shows when the flags do not say it: a file the flags leave alone (the command line,
  // the recent list), or, when empty, the editor's text. No value: the flags decide. Setting the flags
  // clears it.
  std::optional<std::string> previewFile_;
};

}  // namespace app
