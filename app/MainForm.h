// The main window's logic without its widgets: start-up, the documents' lifecycle (new, open, save, save
// as, print, close, exit) in tabs of their own, the titles and the four document flags, the recent files,
// the session kept for the next start, the window placement and the commands that hand a file to another
// program. The Qt window calls these handlers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ColourSchemes.h"
#include "app/DocumentSession.h"
#include "app/FormSizeSave.h"
#include "app/Highlighters.h"
#include "app/PageChecker.h"
#include "app/Preferences.h"
#include "app/RecentFileList.h"
#include "app/RecoveryJournal.h"
#include "app/Spelling.h"
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
  // Runs web transfers while their wait window shows, and the recovery journals' timers.
  platform::EventLoop* loop = nullptr;
  // The other running programs, asked before a file is opened (none: not asked).
  platform::InstanceLink* instances = nullptr;
};

// The main window's documents, one session a tab, and the commands of the design's main window acting on
// the current one.
class MainForm {
 public:
  MainForm(MainFormServices services, std::string installDir);
  ~MainForm();

  // The window hears of sessions: a new one is to get its view (before this returns), one that goes is to
  // lose its views, another became current (its tab is shown), one's title or modified mark changed.
  std::function<void(DocumentSession&)> OnSessionOpened;
  std::function<void(DocumentSession&)> OnSessionClosing;
  std::function<void()> OnCurrentChanged;
  std::function<void(DocumentSession&)> OnSessionChanged;
  // A note for the status bar (a file of the last session that is gone).
  std::function<void(const std::string&)> OnStatusNote;

  const std::vector<std::unique_ptr<DocumentSession>>& Sessions() const { return sessions_; }
  DocumentSession& Current() const { return *sessions_[static_cast<std::size_t>(current_)]; }
  int CurrentIndex() const { return current_; }
  // Whether this session is the current one; none is while the first is being opened.
  bool IsCurrent(const DocumentSession& session) const {
    return current_ >= 0 && current_ < static_cast<int>(sessions_.size()) &&
           sessions_[static_cast<std::size_t>(current_)].get() == &session;
  }
  int IndexOf(const DocumentSession& session) const;
  // The view the commands act on.
  editor::TqeCustomEdit& Editor() const { return Current().View(); }
  // Shows another tab: a restored one is loaded now, and a file changed on disk since it was loaded is
  // offered to be read again.
  void SwitchTo(int index);
  void MoveSession(int from, int to);
  // Closes a tab, asking first when its document is modified; false when the person cancelled. The last
  // tab makes way for a new default page.
  bool CloseSession(int index);
  // The session whose file is path, if any.
  DocumentSession* FindSession(const std::string& path) const;
  MainHighlighters& Highlighters() { return highlighters_; }

  // Edit > "Preferences...": what is in effect, read at start (a value that cannot be read is named in the
  // status bar when the window shows). Applying puts preferences in effect in every tab at once (the window
  // hears OnPreferencesApplied and shows them in its views) and stores them when keep is set.
  const Preferences& CurrentPreferences() const { return preferences_; }
  void ApplyPreferences(const Preferences& preferences, bool keep);
  std::function<void()> OnPreferencesApplied;
  // Whether the desktop's palette is dark, told by the window before FormCreate: with no scheme chosen, a
  // dark desktop gets the Dark scheme.
  void SetDesktopDark(bool dark) { desktopDark_ = dark; }
  std::string_view SchemeInEffect() const { return app::SchemeInEffect(preferences_.scheme, desktopDark_); }
  // The colours of the views and the preview: the scheme's, or for Custom those of the scheme it stands on.
  SchemeColours Colours() const {
    return ColoursOf(SchemeInEffect() == "Custom" ? std::string_view(preferences_.customBase) : SchemeInEffect());
  }
  // The Colours page's changes of single attributes: they make the colours that show the Custom scheme
  // (standing on the one in effect) and are stored with the preferences.
  void SetCustomLook(highlighters::TqeCustomHighLighter& highlighter, int attribute, const TokenLook& look);
  // The colours that show now (a language's saved scheme just applied, say) become the Custom scheme.
  void TakeShownColoursAsCustom();
  // Cancel: Custom colours not stored are dropped.
  void ForgetCustomLooks() { schemes_.ForgetCustom(); }

  // Spelling in every tab, in the language stored under kPreferencesKey ("SpellingLanguage"; en_US when
  // nothing is stored and it is installed, else the first installed, else none).
  Spelling& Spell() { return spelling_; }
  void SetSpellingLanguage(const std::string& name);
  // The Check Page panel's logic (none without an event loop).
  PageChecker* Checker() { return checker_ ? &*checker_ : nullptr; }
  void CheckCurrentPage();
  // Where a session's links are looked for: its file's folder; empty when it has none.
  static std::filesystem::path LinkFolder(const DocumentSession& session);
  // Edit > "Tidy Up Page": libtidy's clean copy of the current page, after saying how many lines change,
  // as one undo step; a page tidy cannot mend is left as it is, with the reason.
  void TidyUpPage1Click();

  // Start-up: FormCreate when the window is made (placement restored into placement), FormShow when it is
  // first shown, with the command-line arguments after the program name.
  void FormCreate(WindowPlacement& placement);
  void FormShow(const std::vector<std::string>& arguments);
  // After FormShow, once the window can be seen: offers the journals of programs that are gone, after the
  // one named by "--recover JOURNAL".
  void OfferRecovery(const std::vector<std::string>& arguments);

  void NewFileClick();
  void FromFile1Click();
  // Save: the document to its own file, without a dialog; Save As for one without a file (the default
  // page, a web page, an import). False when nothing was saved.
  bool Save1Click();
  void SaveAs1Click() { FileSave(); }
  void SaveAll1Click();
  void PrintFileClick();
  void PrinterSetup1Click() { services_.printer.ShowSetupDialog(); }
  void MRUMenuClick(const std::string& path);
  // Files dropped on the window or named after the first on the command line: each in a tab of its own.
  void OpenFiles(const std::vector<std::string>& paths);
  void ToolbarButton977Click();  // Browser Preview
  void Contents1Click();         // Help
  void SpeedButton4Click();      // Calculator
  void SpeedButton5Click();      // Notepad
  void RefreshClick() { Notify(OnRepaintEditor); }
  // File > "Restore Last Session": the tabs stored at the last exit that are not open now.
  void RestoreLastSession();
  // The open files' tabs, for the next start (session.ini in the data folder).
  void StoreSession() const;

  // Whether the window may close (FormClose) or the program end (Exit1Click); both store the placement
  // and ask to save unsaved work, each modified document in tab order.
  bool FormClose(const WindowPlacement& placement);
  bool Exit1Click(const WindowPlacement& placement);

  void FileNew();
  void FileOpen();
  // Save As of the current document; false when the dialog was cancelled.
  bool FileSave();
  void PerformFileOpen(const std::string& path);
  // Open Web File: fetches url while a wait window shows (its Cancel or Escape stops the fetch); only a
  // fetch that succeeded opens the page. A failure raises its message. False when the fetch was cancelled.
  bool OpenWebFile(const std::string& url);

  const std::string& InstallDir() const { return installDir_; }
  const std::string& DocSaveState() const { return docSaveState_; }
  const std::string& OpenedFileName() const { return Current().OpenedFileName(); }
  const std::string& SavedFileName() const { return Current().SavedFileName(); }
  const std::string& UntitledFlag() const { return Current().UntitledFlag(); }
  // The file the preview shows when the centre page changes: the current document's file on disk, or its
  // text written to Temp.htm in the data folder (see DocumentSession::PreviewSourceFile).
  std::string PreviewFileName();
  // Where the document's relative links and images are found: its file's folder, or the data folder.
  std::string DocumentFolder() const;
  // Opens a template (FileListBox1DblClick, FileListBox2DblClick) as Open Local File opens a file.
  void OpenTemplate(const std::string& path);
  // Saves the text as the user template name (Save to Library's OK); false when the name is refused or
  // replacing an existing template is declined.
  bool SaveToLibrary(const std::string& name);
  // Deletes a user template after asking (SpeedButton8Click).
  void DeleteTemplate(const std::string& name);
  TemplateLibrary Templates() const { return TemplateLibrary(installDir_); }
  std::function<void()> OnTemplatesChanged;
  // Tools > "Import RTF to HTML": the chosen RTF file converted into a page in a tab of its own.
  void ImportRTFtoHTML1Click();
  // A web address from a previewed page, for the desktop's browser.
  void OpenWebAddress(const std::string& url);
  const std::string& Title() const { return Current().Title(); }
  // The current document changed since it was loaded or saved.
  bool Modified() const { return Current().Modified(); }
  // Whether path is the file of one of the window's documents.
  bool IsDocument(const std::string& path) const { return FindSession(path) != nullptr; }
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

  std::function<void()> OnRepaintEditor;
  std::function<void()> OnFocusEditor;
  std::function<void()> OnSideListsLoaded;
  // A blocking exchange begins (true) or ends (false): the window shows the wait cursor meanwhile.
  std::function<void(bool)> OnBusy;

 private:
  // What replaces a session's content, whatever opened it.
  struct Content {
    DocumentOrigin origin = DocumentOrigin::New;
    std::string file;                 // the file the text belongs to (empty: none)
    std::optional<std::string> text;  // the text; none: read from `from`
    std::string from;                 // the file read (empty: file), or where the text came from
    bool modified = false;
  };
  void ReplaceContent(DocumentSession& session, const Content& content);
  // A file opened in a tab (the pristine default page's, or a new one), which takes the mode of the file's
  // extension; a file of another kind keeps the tab's.
  void OpenFileInTab(DocumentOrigin origin, const std::string& path);
  // A new tab after the others (its highlighter the current tab's), made current.
  DocumentSession& NewSession();
  // Where a document being opened goes: the current tab when it is a pristine default page, else a new one.
  DocumentSession& TargetSession();
  void Remove(int index);
  void SetTitle(DocumentSession& session, std::string title);
  void SetModified(DocumentSession& session, bool modified);
  // The design's rule for the operations that set the flags: "False" for the window, and the document's.
  void MarkDocumentOperation();
  void LoadUntitled(DocumentSession& session);
  void Recover(const std::filesystem::path& journal, const JournalEntry& entry);
  bool JournalSnapshot(const DocumentSession& session, JournalEntry& entry) const;
  void WarnCutAtZeroByte(const std::string& source);
  // Asks before a save replaces a file whose text was cut at a zero byte or that changed on disk since it
  // was loaded; true: go on.
  bool MayOverwrite(DocumentSession& session, const std::string& path);
  bool SaveTo(DocumentSession& session, const std::string& path);
  bool Save(DocumentSession& session);
  bool SaveAs(DocumentSession& session);
  platform::MessageAnswer AskSaveChanges(platform::MessageIcon icon);
  // Yes saves (false when the save was cancelled), No gives the work up, Cancel stops: whether to go on.
  bool SaveOrDiscardChanges(DocumentSession& session, platform::MessageIcon icon);
  // The closing questions of FormClose and Exit: every modified document in tab order.
  bool SaveOrDiscardAll(bool askEvenUnmodified);
  void ShowShellError();
  // Whether another program has path open (it then shows it), or this window has (its tab is shown): the
  // file is not loaded again.
  bool OpenElsewhere(const std::string& path);
  bool ShowIfOpen(const std::string& path);
  void StartTool(std::initializer_list<std::string_view> programs);
  // Loads a restored tab the first time it is shown.
  void LoadPending(DocumentSession& session);
  void CheckDiskChange(DocumentSession& session);
  // Makes the colours that show the Custom scheme, standing on the scheme in effect until now.
  void SwitchToCustom();
  static void Notify(const std::function<void()>& event) {
    if (event) event();
  }

  MainFormServices services_;
  std::string installDir_;
  MainHighlighters highlighters_;
  HighlighterSchemes schemes_{highlighters_};
  Preferences preferences_;
  std::vector<std::string> unreadablePreferences_;
  bool desktopDark_ = false;
  std::vector<std::unique_ptr<DocumentSession>> sessions_;
  int current_ = -1;  // none until the first session
  std::string docSaveState_;
  std::string journalStamp_;  // PID-STARTMS of this program, which its journals are named by
  int journalSerial_ = 0;
  // After the sessions, so both go before the documents they watch.
  Spelling spelling_;
  std::optional<PageChecker> checker_;
};

}  // namespace app
