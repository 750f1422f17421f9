// Start-up, the documents' lifecycle in their tabs, titles, flags, the session and the shell commands of
// the main window.
#include "app/MainForm.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "app/Rtf2Html.h"
#include "app/SessionStore.h"
#include "app/TextFiles.h"
#include "net/TcpFetch.h"
#include "platform/ProgramSearch.h"

namespace app {
namespace {

const std::string kSaveQuestion = "Save changes to this file?";
const std::string kShellError = "ERROR: Please re-set the program.";

const char* const kOpenFilter =
    "HTML Files (*.htm, *.html, *.asp, *.shtml)|*.htm; *.html; *.asp; *.shtml|XML Files (*.xml)|*.xml|"
    "CSS Files (*.css)|*.css|JavaScript Files (*.js)|*.js|PHP Files (*.php, *.phtml)|*.php; *.phtml|"
    "CGI Files (*.cgi)|*.cgi|Perl Files (*.pl)|*.pl|Java Files (*.java)|*.java|Delphi Files (*.pas)|*.pas|"
    "Text Files (*.txt)|*.txt|C++ Files (*.cpp)|*.cpp|All Files (*.*)|*.*";
const char* const kSaveFilter =
    "HTML Files (*.htm, *.html, *.asp, *.shtml)|*.htm; *.html; *.asp; *.shtml|XML Files (*.xml)|*.xml|"
    "CSS Files (*.css)|*.css|JavaScript Files (*.js)|*.js|PHP Files (*.php, *.phtml)|*.php; *.phtml|"
    "CGI Files (*.cgi)|*.cgi|Perl Files (*.perl)|*.pl|Java Files (*.java)|*.java|RTF Files (*.rtf)|*.rtf|"
    "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

std::string VersionedTitle(const std::string& document) {
  return std::string(kApplicationTitle) + " - [" + document + "]";
}

bool Readable(const std::string& path) {
  std::error_code ec;
  return std::ifstream(path, std::ios::binary) && !std::filesystem::is_directory(path, ec);
}

}  // namespace

void RunCommand(platform::Dialogs& dialogs, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    dialogs.MessageBox(e.what(), kApplicationTitle, platform::MessageIcon::Error, platform::MessageButtons::Ok);
  }
}

MainForm::MainForm(MainFormServices services, std::string installDir)
    : services_(std::move(services)),
      installDir_(std::move(installDir)),
      highlighters_(services_.registry),
      journalStamp_(RecoveryJournal::NewStamp()),
      spelling_(services_.loop, std::filesystem::path(installDir_) / "personal-words.txt") {
  if (services_.loop) checker_.emplace(*services_.loop);
  preferences_ = ReadPreferences(services_.registry, &unreadablePreferences_);
  std::optional<std::string> language = services_.registry.ReadString(kPreferencesKey, "SpellingLanguage");
  if (!language) {
    const std::vector<std::string> installed = InstalledDictionaries();
    language = std::find(installed.begin(), installed.end(), "en_US") != installed.end() ? "en_US"
               : installed.empty()                                                       ? ""
                                                                                         : installed.front();
  }
  spelling_.SetLanguage(*language);
  MRU.SetMenuItem(true);
  MRU.Mode = rflAfter;
  MRU.OnMenuClick = [this](const std::string& path) { MRUMenuClick(path); };
  FormSizeSave1.Company = "Tarnwell";
  FormSizeSave1.ProductName = "Larch";
  FormSizeSave1.SubKey = "3.0";
  FormSizeSave1.SaveMode = smAll;
}

MainForm::~MainForm() {
  // The views go before the documents they show.
  for (auto& session : sessions_)
    if (OnSessionClosing) OnSessionClosing(*session);
}

// ---- Sessions ----

int MainForm::IndexOf(const DocumentSession& session) const {
  for (std::size_t i = 0; i < sessions_.size(); ++i)
    if (sessions_[i].get() == &session) return static_cast<int>(i);
  return -1;
}

DocumentSession& MainForm::NewSession() {
  auto session = std::make_unique<DocumentSession>();
  DocumentSession& made = *session;
  made.title_ = VersionedTitle("Untitled");
  // A new tab reads as the one it was opened from, until a file with an extension of its own is opened in it.
  made.Document().SetHighLighter(sessions_.empty() ? &highlighters_.TypePage : Current().Document().HighLighter());
  made.Document().SetDetectUtf8(preferences_.detectUtf8);
  made.Document().OnTextChanged = [this, &made] {
    if (!made.modified_) SetModified(made, true);
    if (made.journal_) made.journal_->Changed();
    if (checker_ && preferences_.checkWhileTyping && IsCurrent(made))
      checker_->TextChanged(made.Document(), LinkFolder(made));
  };
  spelling_.Watch(made.Document());
  sessions_.push_back(std::move(session));
  if (OnSessionOpened) OnSessionOpened(made);
  SwitchTo(static_cast<int>(sessions_.size()) - 1);
  return made;
}

DocumentSession& MainForm::TargetSession() {
  if (!sessions_.empty() && Current().Pristine() && !Current().Pending()) return Current();
  return NewSession();
}

void MainForm::SwitchTo(int index) {
  if (index < 0 || index >= static_cast<int>(sessions_.size())) return;
  const bool changed = index != current_;
  current_ = index;
  if (changed) Notify(OnCurrentChanged);
  LoadPending(Current());
  CheckDiskChange(Current());
}

void MainForm::MoveSession(int from, int to) {
  const int count = static_cast<int>(sessions_.size());
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  DocumentSession* current = &Current();
  auto moved = std::move(sessions_[static_cast<std::size_t>(from)]);
  sessions_.erase(sessions_.begin() + from);
  sessions_.insert(sessions_.begin() + to, std::move(moved));
  current_ = IndexOf(*current);
}

void MainForm::Remove(int index) {
  DocumentSession& session = *sessions_[static_cast<std::size_t>(index)];
  if (session.journal_) {
    session.journal_->Discard();
    session.journal_->Flush();
  }
  if (OnSessionClosing) OnSessionClosing(session);
  spelling_.Unwatch(session.Document());
  if (checker_) checker_->Forget(session.Document());
  sessions_.erase(sessions_.begin() + index);
  // The current tab stays current; when it was the one closed, the tab that took its place (or the last).
  const int next = std::min(current_ > index ? current_ - 1 : current_, static_cast<int>(sessions_.size()) - 1);
  current_ = -1;
  if (sessions_.empty())
    LoadUntitled(NewSession());
  else
    SwitchTo(next);
}

bool MainForm::CloseSession(int index) {
  if (index < 0 || index >= static_cast<int>(sessions_.size())) return false;
  DocumentSession& session = *sessions_[static_cast<std::size_t>(index)];
  if (session.modified_) {
    SwitchTo(index);
    if (!SaveOrDiscardChanges(session, platform::MessageIcon::Question)) return false;
  }
  Remove(IndexOf(session));
  return true;
}

DocumentSession* MainForm::FindSession(const std::string& path) const {
  std::error_code ec;
  for (const auto& session : sessions_) {
    const std::string& file = session->pending_ ? session->pending_->file : session->file_;
    if (!file.empty() && std::filesystem::equivalent(file, path, ec)) return session.get();
  }
  return nullptr;
}

bool MainForm::ShowIfOpen(const std::string& path) {
  DocumentSession* open = FindSession(path);
  if (!open) return false;
  SwitchTo(IndexOf(*open));
  return true;
}

bool MainForm::OpenElsewhere(const std::string& path) {
  if (ShowIfOpen(path)) return true;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return services_.instances && services_.instances->ShowIfOpenElsewhere(ec ? path : absolute.string());
}

// The one way a session's content is replaced: a file loaded, or a text set, as a load does (the undo lists
// start empty), with the file, the flags, the title, what the preview shows, the modified state and the
// journal following from where it came.
void MainForm::ReplaceContent(DocumentSession& session, const Content& content) {
  editor::TqeEditList& lines = session.Document().Lines();
  const std::string& from = content.from.empty() ? content.file : content.from;
  if (content.text)
    lines.SetTextStr(*content.text);
  else
    lines.LoadFromFile(from);
  session.pending_.reset();
  session.origin_ = content.origin;
  session.file_ = content.file;
  session.cutFile_.clear();
  if (lines.CutAtZeroByte()) {
    if (!content.text) session.cutFile_ = content.file;
    WarnCutAtZeroByte(content.text ? content.from : from);
  }
  session.stamp_ = !content.text && !content.file.empty() ? StampOf(content.file) : DiskStamp{};
  session.keepOverDisk_ = false;
  // The flags, as the design's table gives them for each way; the others leave them as they were.
  switch (content.origin) {
    case DocumentOrigin::New:
      session.openedFileName_.clear();
      session.savedFileName_.clear();
      session.untitledFlag_ = "Yes";
      break;
    case DocumentOrigin::Opened:
      session.openedFileName_ = content.file;
      session.savedFileName_.clear();
      session.untitledFlag_.clear();
      break;
    case DocumentOrigin::Recovered:
      session.openedFileName_ = content.file;
      session.savedFileName_.clear();
      session.untitledFlag_ = content.file.empty() ? "Yes" : "";
      break;
    default:
      break;
  }
  // A file that leaves the flags shows as it is on disk; a page without a file as the editor's text.
  switch (content.origin) {
    case DocumentOrigin::CommandLine:
    case DocumentOrigin::Recent:
      session.previewFile_ = content.file;
      break;
    case DocumentOrigin::WebPage:
    case DocumentOrigin::Import:
      session.previewFile_ = "";
      break;
    default:
      session.previewFile_.reset();
  }
  switch (content.origin) {
    case DocumentOrigin::CommandLine:
      SetTitle(session, "Tarnwell Quillmark - [" + content.file + "]");
      break;
    case DocumentOrigin::Opened:
    case DocumentOrigin::Recent:
    case DocumentOrigin::Recovered:
      SetTitle(session, VersionedTitle(content.file.empty() ? "Untitled" : content.file));
      break;
    default:
      SetTitle(session, VersionedTitle("Untitled"));
  }
  SetModified(session, content.modified);
  Notify(OnRepaintEditor);
}

void MainForm::OpenFileInTab(DocumentOrigin origin, const std::string& path) {
  DocumentSession& session = TargetSession();
  if (highlighters::TqeCustomHighLighter* language = highlighters_.ForFile(path))
    session.Document().SetHighLighter(language);
  ReplaceContent(session, {origin, path, std::nullopt, {}, false});
}

void MainForm::SetTitle(DocumentSession& session, std::string title) {
  session.title_ = std::move(title);
  if (OnSessionChanged) OnSessionChanged(session);
}

void MainForm::SetModified(DocumentSession& session, bool modified) {
  session.modified_ = modified;
  if (modified && !session.journal_ && services_.loop)
    session.journal_ = std::make_unique<RecoveryJournal>(
        *services_.loop, DataFile("recovery"),
        [this, &session](JournalEntry& entry) { return JournalSnapshot(session, entry); },
        journalStamp_ + "-" + std::to_string(++journalSerial_));
  if (modified && session.journal_) {
    session.journal_->SetIdleMs(preferences_.journalDelayMs);
    session.journal_->Changed();
  }
  // Saved or given up: the journal goes, and its thread with it, so only unsaved work keeps one.
  if (!modified && session.journal_) {
    session.journal_->Discard();
    session.journal_.reset();
  }
  if (OnSessionChanged) OnSessionChanged(session);
}

void MainForm::MarkDocumentOperation() { docSaveState_ = "False"; }

// The default page is read from its file but belongs to none.
void MainForm::LoadUntitled(DocumentSession& session) {
  ReplaceContent(session, {DocumentOrigin::New, {}, std::nullopt, DataFile("default.htm"), false});
  if (preferences_.newDocumentsUtf8) session.Document().SetEncoding(platform::TextEncoding::Utf8);
}

// ---- Start-up and recovery ----

void MainForm::FormCreate(WindowPlacement& placement) {
  FormSizeSave1.RestorePlacement(services_.registry, "Form1", placement);
  ApplyPreferences(preferences_, false);
  StandardTemplatesFolder = DataFile("Templates/");
  UserTemplatesFolder = DataFile("Templates/User/");
  if (!sessions_.empty()) return;
  // The document starts as five empty lines until the default page is loaded.
  DocumentSession& first = NewSession();
  first.Document().Lines().SetTextStr("\r\n\r\n\r\n\r\n\r\n");
  SetModified(first, false);
}

bool MainForm::JournalSnapshot(const DocumentSession& session, JournalEntry& entry) const {
  if (!session.modified_) return false;
  entry.fileName = session.file_;
  if (session.HasView()) {
    entry.caretLine = session.View().CaretLine();
    entry.caretColumn = session.View().CaretColumn();
  }
  entry.changed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  session.Document().Lines().TextInto(entry.text);
  return true;
}

void MainForm::OfferRecovery(const std::vector<std::string>& arguments) {
  if (!services_.loop) return;  // without a loop no journal is written, nor offered
  RecoveryClaims claims(DataFile("recovery"));
  std::vector<std::filesystem::path> journals;
  // A journal handed over by the program that offered it is recovered without asking again.
  const bool handedOver = arguments.size() >= 2 && arguments[0] == "--recover" && claims.Claim(arguments[1]);
  if (handedOver) journals.push_back(arguments[1]);
  for (auto& journal : claims.ClaimStaleJournals()) journals.push_back(std::move(journal));
  for (const auto& journal : journals) {
    JournalEntry entry;
    try {
      entry = ParseJournal(platform::ReadFileBytes(journal));
    } catch (const std::exception& e) {
      claims.Release(journal, RecoveryClaims::Outcome::SetAside);
      services_.dialogs.MessageBox("The recovery file " + journal.string() + " cannot be used (" + e.what() +
                                       "); it was set aside as " + journal.string() + ".damaged.",
                                   kApplicationTitle, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
      continue;
    }
    if (!(handedOver && journal == journals.front())) {
      const std::time_t changed = static_cast<std::time_t>(entry.changed);
      std::tm local{};
      localtime_r(&changed, &local);
      char date[64];
      std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &local);
      const std::string question = "Quillmark was closed without saving " +
                                   (entry.fileName.empty() ? std::string("untitled") : entry.fileName) + " (changed " +
                                   date + "). Recover it?";
      if (services_.dialogs.MessageBox(question, kApplicationTitle, platform::MessageIcon::Question,
                                       platform::MessageButtons::YesNoDefaultYes) != platform::MessageAnswer::Yes) {
        claims.Release(journal, RecoveryClaims::Outcome::Remove);
        continue;
      }
    }
    Recover(journal, entry);
    // The text is in this program's journal before the old one goes, so no moment holds neither.
    claims.Release(journal, RecoveryClaims::Outcome::Remove);
  }
}

void MainForm::Recover(const std::filesystem::path& journal, const JournalEntry& entry) {
  DocumentSession& session = TargetSession();
  ReplaceContent(session, {DocumentOrigin::Recovered, entry.fileName, entry.text, journal.string(), true});
  MarkDocumentOperation();
  session.View().SetCaretXY({entry.caretColumn, entry.caretLine});
  if (session.journal_) {
    session.journal_->WriteNow();
    session.journal_->Flush();
  }
}

void MainForm::FormShow(const std::vector<std::string>& arguments) {
  std::error_code ec;
  std::vector<std::string> files;
  for (const std::string& argument : arguments)
    if (std::filesystem::is_regular_file(argument, ec)) files.push_back(argument);
  // The design's rule: the first argument decides whether a file was named.
  const bool commandLineFile = !arguments.empty() && std::filesystem::is_regular_file(arguments[0], ec);
  if (commandLineFile) {
    PerformFileOpen(files.front());
    OpenFiles({files.begin() + 1, files.end()});
  } else {
    MRU.SetFiles(ReadLines(DataFile("recent.ini")));
  }
  MRU.AddFile(DataFile("default.htm"));
  ListBox1Items = ReadLines(DataFile("libhtml.kls"));
  Notify(OnSideListsLoaded);
  ListBox2Items = ReadLines(DataFile("libevents.kls"));
  Notify(OnSideListsLoaded);
  ListBox3Items = ReadLines(DataFile("libfunctions.kls"));
  Notify(OnSideListsLoaded);
  if (!unreadablePreferences_.empty() && OnStatusNote) {
    std::string names;
    for (const std::string& name : unreadablePreferences_) names += (names.empty() ? "" : ", ") + name;
    OnStatusNote("Unreadable preferences set to defaults: " + names);
  }
  if (commandLineFile) return;
  LoadUntitled(Current());
  if (preferences_.restoreSessionAtStart) RestoreLastSession();
}

void MainForm::SwitchToCustom() {
  if (SchemeInEffect() != "Custom") {
    preferences_.customBase = std::string(SchemeInEffect());
    preferences_.scheme = "Custom";
  }
  schemes_.MakeCustom();
}

void MainForm::SetCustomLook(highlighters::TqeCustomHighLighter& highlighter, int attribute, const TokenLook& look) {
  if (SchemeInEffect() != "Custom") SwitchToCustom();
  schemes_.SetCustomLook(highlighter, attribute, look);
  Notify(OnPreferencesApplied);
}

void MainForm::TakeShownColoursAsCustom() {
  SwitchToCustom();
  Notify(OnPreferencesApplied);
}

void MainForm::ApplyPreferences(const Preferences& preferences, bool keep) {
  preferences_ = preferences;
  if (keep) WritePreferences(services_.registry, preferences_);
  schemes_.Apply(SchemeInEffect(), preferences_.customBase, services_.registry);
  if (keep && SchemeInEffect() == "Custom") schemes_.SaveCustom(services_.registry);
  for (auto& session : sessions_) {
    session->Document().SetDetectUtf8(preferences_.detectUtf8);
    if (session->journal_) session->journal_->SetIdleMs(preferences_.journalDelayMs);
  }
  Notify(OnPreferencesApplied);
}

// ---- The session kept for the next start ----

void MainForm::StoreSession() const {
  StoredSession stored;
  for (const auto& session : sessions_) {
    const DocumentSession& s = *session;
    // Untitled documents and pages without a file are the recovery journal's, not the session's.
    const std::string& file = s.pending_ ? s.pending_->file : s.file_;
    if (file.empty() || s.origin_ == DocumentOrigin::WebPage || s.origin_ == DocumentOrigin::Import) continue;
    StoredTab tab;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    tab.file = ec ? file : absolute.lexically_normal().string();
    if (s.pending_) {
      tab.caretLine = s.pending_->caretLine;
      tab.caretColumn = s.pending_->caretColumn;
      tab.topLine = s.pending_->topLine;
    } else if (s.HasView()) {
      tab.caretLine = s.View().CaretLine();
      tab.caretColumn = s.View().CaretColumn();
      tab.topLine = s.View().TopLine();
    }
    tab.language = std::string(highlighters_.LanguageOf(s.Document().HighLighter()));
    tab.encoding = s.Document().Encoding();
    if (session.get() == &Current()) stored.current = static_cast<int>(stored.tabs.size());
    stored.tabs.push_back(std::move(tab));
  }
  WriteSessionFile(DataFile("session.ini"), stored);
}

void MainForm::RestoreLastSession() {
  const StoredSession stored = ReadSessionFile(DataFile("session.ini"));
  std::vector<std::string> missing;
  DocumentSession* current = nullptr;
  for (std::size_t i = 0; i < stored.tabs.size(); ++i) {
    const StoredTab& tab = stored.tabs[i];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tab.file, ec)) {
      missing.push_back(tab.file);
      continue;
    }
    if (DocumentSession* open = FindSession(tab.file)) {
      if (static_cast<int>(i) == stored.current) current = open;
      continue;
    }
    // A pristine default page makes way for the first restored tab.
    DocumentSession& session = TargetSession();
    if (highlighters::TqeCustomHighLighter* language = highlighters_.ForLanguage(tab.language))
      session.Document().SetHighLighter(language);
    session.Document().SetEncoding(tab.encoding);
    session.pending_ = DocumentSession::PendingLoad{tab.file, tab.caretLine, tab.caretColumn, tab.topLine};
    session.origin_ = DocumentOrigin::Recent;
    SetTitle(session, VersionedTitle(tab.file));
    if (static_cast<int>(i) == stored.current) current = &session;
  }
  if (current) SwitchTo(IndexOf(*current));
  if (!missing.empty() && OnStatusNote) {
    std::string note =
        missing.size() == 1 ? "No longer there: " : "No longer there (" + std::to_string(missing.size()) + "): ";
    for (std::size_t i = 0; i < missing.size(); ++i) note += (i ? ", " : "") + missing[i];
    OnStatusNote(note);
  }
}

void MainForm::LoadPending(DocumentSession& session) {
  if (!session.pending_) return;
  const DocumentSession::PendingLoad pending = *session.pending_;
  const platform::TextEncoding encoding = session.Document().Encoding();
  session.pending_.reset();
  if (!Readable(pending.file)) {
    if (OnStatusNote) OnStatusNote("No longer there: " + pending.file);
    Remove(IndexOf(session));
    return;
  }
  ReplaceContent(session, {DocumentOrigin::Recent, pending.file, std::nullopt, {}, false});
  session.Document().SetEncoding(encoding);
  for (editor::TqeCustomEdit* view : session.Views()) {
    view->SetCaretXY({pending.caretColumn, pending.caretLine});
    view->SetTopLine(pending.topLine);
  }
}

void MainForm::CheckDiskChange(DocumentSession& session) {
  if (!session.ChangedOnDisk() || session.keepOverDisk_) return;
  const auto answer =
      services_.dialogs.MessageBox(session.file_ + " was changed by another program. Reload it?", kApplicationTitle,
                                   platform::MessageIcon::Question, platform::MessageButtons::YesNo);
  if (answer != platform::MessageAnswer::Yes) {
    session.KeepOverDiskChange();
    return;
  }
  const int line = session.HasView() ? session.View().CaretLine() : 1;
  ReplaceContent(session, {session.origin_ == DocumentOrigin::New ? DocumentOrigin::Recent : session.origin_,
                           session.file_,
                           std::nullopt,
                           {},
                           false});
  for (editor::TqeCustomEdit* view : session.Views()) view->SetCaretXY({1, line});
}

// ---- Questions ----

// A zero byte ends the text, as it always has; the person is told, so that nothing is lost unknowingly.
void MainForm::WarnCutAtZeroByte(const std::string& source) {
  services_.dialogs.MessageBox(source + " holds zero bytes; the text after the first one was left out",
                               kApplicationTitle, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
}

bool MainForm::MayOverwrite(DocumentSession& session, const std::string& path) {
  std::error_code ec;
  const bool sameFile = !session.file_.empty() && std::filesystem::equivalent(path, session.file_, ec);
  if (sameFile && (session.keepOverDisk_ || session.ChangedOnDisk()) &&
      services_.dialogs.MessageBox(path + " was changed by another program since it was loaded. Save over it?",
                                   kApplicationTitle, platform::MessageIcon::Warning,
                                   platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return false;
  if (session.cutFile_.empty() || !std::filesystem::equivalent(path, session.cutFile_, ec)) return true;
  const auto answer = services_.dialogs.MessageBox(
      path +
          " holds zero bytes, and the text after the first one is not in this document. Saving replaces the "
          "whole file with the text shown. Save anyway?",
      kApplicationTitle, platform::MessageIcon::Warning, platform::MessageButtons::YesNo);
  if (answer != platform::MessageAnswer::Yes) return false;
  session.cutFile_.clear();  // the person chose to replace it; there is nothing more to warn of
  return true;
}

platform::MessageAnswer MainForm::AskSaveChanges(platform::MessageIcon icon) {
  return services_.dialogs.MessageBox(kSaveQuestion, kApplicationTitle, icon, platform::MessageButtons::YesNoCancel);
}

bool MainForm::SaveOrDiscardChanges(DocumentSession& session, platform::MessageIcon icon) {
  switch (AskSaveChanges(icon)) {
    case platform::MessageAnswer::Yes:
      return Save(session);
    case platform::MessageAnswer::No:
      SetModified(session, false);
      return true;
    default:
      return false;
  }
}

bool MainForm::SaveOrDiscardAll(bool askEvenUnmodified) {
  DocumentSession& current = Current();
  bool asked = false;
  for (std::size_t i = 0; i < sessions_.size(); ++i) {
    DocumentSession& session = *sessions_[i];
    if (!session.modified_) continue;
    asked = true;
    SwitchTo(static_cast<int>(i));
    if (!SaveOrDiscardChanges(session, platform::MessageIcon::Warning)) return false;
  }
  // Asked while nothing has been opened or saved yet in this run, as the design has it.
  if (!asked && askEvenUnmodified && !SaveOrDiscardChanges(Current(), platform::MessageIcon::Warning)) return false;
  // The tab that was current is the one the session keeps as current.
  SwitchTo(IndexOf(current));
  return true;
}

// ---- Commands ----

void MainForm::NewFileClick() { FileNew(); }

void MainForm::FromFile1Click() { FileOpen(); }

void MainForm::FileNew() {
  DocumentSession& session = NewSession();
  LoadUntitled(session);
  MarkDocumentOperation();
}

void MainForm::FileOpen() {
  auto path = services_.dialogs.OpenFile({"Open a (Local) File", kOpenFilter, "htm", {}});
  if (!path) return;
  // A tab is only made once the file is known to be readable, so a bad choice changes nothing; a file open
  // in a tab already is shown there.
  const bool open = ShowIfOpen(*path);
  if (!open && services_.instances && OpenElsewhere(*path)) return;
  if (!open && !Readable(*path)) throw platform::EFileError("Cannot open file " + *path);
  MRU.AddFile(*path);
  if (!open) OpenFileInTab(DocumentOrigin::Opened, *path);
  WriteLines(DataFile("recent.ini"), MRU.Files());
  MarkDocumentOperation();
}

void MainForm::PerformFileOpen(const std::string& path) {
  MRU.AddFile(path);
  if (ShowIfOpen(path)) return;
  OpenFileInTab(DocumentOrigin::CommandLine, path);
  Notify(OnFocusEditor);
}

void MainForm::MRUMenuClick(const std::string& path) {
  if (OpenElsewhere(path)) return;
  if (!Readable(path)) throw platform::EFileError("Cannot open file " + path);
  OpenFileInTab(DocumentOrigin::Recent, path);
}

void MainForm::OpenFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (OpenElsewhere(path)) continue;
    if (!Readable(path)) throw platform::EFileError("Cannot open file " + path);
    MRU.AddFile(path);
    OpenFileInTab(DocumentOrigin::Recent, path);
  }
}

void MainForm::OpenTemplate(const std::string& path) {
  if (OpenElsewhere(path)) return;
  if (!Readable(path)) throw platform::EFileError("Cannot open file " + path);
  MRU.AddFile(path);
  OpenFileInTab(DocumentOrigin::Opened, path);
  WriteLines(DataFile("recent.ini"), MRU.Files());
  MarkDocumentOperation();
}

bool MainForm::SaveTo(DocumentSession& session, const std::string& path) {
  if (!MayOverwrite(session, path)) return false;
  session.Document().Lines().SaveToFile(path, {preferences_.writeLf, preferences_.trimTrailingBlanks});
  session.file_ = path;
  session.stamp_ = StampOf(path);
  session.keepOverDisk_ = false;
  session.everSaved_ = true;
  SetModified(session, false);
  return true;
}

bool MainForm::SaveAs(DocumentSession& session) {
  platform::FileDialogOptions options{"Save As File", kSaveFilter, "", {}};
  // A document with a file (a recovered one too) is offered its own name, so saving puts it back there.
  const std::filesystem::path current = session.file_;
  if (!current.empty()) {
    options.initialFolder = current.parent_path().string();
    options.proposedName = current.filename().string();
  }
  auto path = services_.dialogs.SaveFile(options);
  if (!path || !SaveTo(session, *path)) return false;
  session.origin_ = DocumentOrigin::Opened;
  session.openedFileName_.clear();
  session.savedFileName_ = *path;
  session.untitledFlag_.clear();
  session.previewFile_.reset();
  MarkDocumentOperation();
  SetTitle(session, VersionedTitle(*path));
  Notify(OnRepaintEditor);
  return true;
}

bool MainForm::Save(DocumentSession& session) {
  const bool ownFile = !session.file_.empty() && session.origin_ != DocumentOrigin::WebPage &&
                       session.origin_ != DocumentOrigin::Import && !session.pending_;
  if (!ownFile) return SaveAs(session);
  if (!SaveTo(session, session.file_)) return false;
  Notify(OnRepaintEditor);
  return true;
}

bool MainForm::FileSave() { return SaveAs(Current()); }

bool MainForm::Save1Click() { return Save(Current()); }

void MainForm::SaveAll1Click() {
  for (std::size_t i = 0; i < sessions_.size(); ++i) {
    if (!sessions_[i]->modified_) continue;
    SwitchTo(static_cast<int>(i));
    if (!Save(*sessions_[i])) return;
  }
}

bool MainForm::OpenWebFile(const std::string& url) {
  if (!services_.loop) throw std::logic_error("Open Web File needs an event loop");
  net::THttpFetch http(*services_.loop);
  http.URL = url;
  std::exception_ptr failure;
  platform::ProgressWindow* wait = nullptr;
  http.Fetch([&](std::exception_ptr error) {
    failure = error;
    if (wait) wait->Close(true);
  });
  services_.dialogs.RunProgressWindow({"Please Wait", "Retrieving Page...", false,
                                       [&](platform::ProgressWindow& window) { wait = &window; },
                                       [&] { http.Abort(); }});
  wait = nullptr;
  try {
    if (failure) std::rethrow_exception(failure);
  } catch (const net::EFetchCancelled&) {
    return false;
  }
  ReplaceContent(TargetSession(), {DocumentOrigin::WebPage, {}, http.Body(), url, false});
  return true;
}

void MainForm::PrintFileClick() {
  const std::string copy = DataFile("Prt01.ht~");
  Editor().Lines().SaveToFile(copy);
  if (!services_.printer.ShowPrintDialog()) return;
  const std::vector<std::string> lines = ReadLines(copy);
  std::string title;
  for (const auto& line : lines) title += line + "\r\n";
  services_.printer.PrintText(title, lines, Editor().Font());
}

bool MainForm::FormClose(const WindowPlacement& placement) {
  FormSizeSave1.SavePlacement(services_.registry, "Form1", placement);
  if (!SaveOrDiscardAll(docSaveState_ != "False")) return false;
  StoreSession();
  return true;
}

bool MainForm::Exit1Click(const WindowPlacement& placement) {
  FormSizeSave1.SavePlacement(services_.registry, "Form1", placement);
  if (!SaveOrDiscardAll(false)) return false;
  StoreSession();
  return true;
}

void MainForm::ShowShellError() {
  services_.dialogs.MessageBox(kShellError, kApplicationTitle, platform::MessageIcon::Error,
                               platform::MessageButtons::Ok);
}

std::string MainForm::PreviewFileName() {
  if (std::string file = Current().PreviewSourceFile(); !file.empty()) return file;
  const std::string copy = DataFile("Temp.htm");
  Current().Document().Lines().SaveToFile(copy);
  return copy;
}

void MainForm::SetSpellingLanguage(const std::string& name) {
  spelling_.SetLanguage(name);
  services_.registry.WriteString(kPreferencesKey, "SpellingLanguage", spelling_.Language());
}

std::filesystem::path MainForm::LinkFolder(const DocumentSession& session) {
  const std::string file = session.PreviewSourceFile();
  return file.empty() ? std::filesystem::path() : std::filesystem::path(file).parent_path();
}

void MainForm::CheckCurrentPage() {
  if (checker_) checker_->Check(Current().Document(), LinkFolder(Current()));
}

void MainForm::TidyUpPage1Click() {
  editor::TqeCustomEdit& view = Editor();
  const std::string before = view.Lines().Text();
  const TidyUpResult tidied = TidyUpPage(before, view.Encoding(), view.TabIndent(), /*crlf=*/true);
  if (!tidied.mended) {
    services_.dialogs.MessageBox(tidied.message, "Tidy Up Page", platform::MessageIcon::Warning,
                                 platform::MessageButtons::Ok);
    return;
  }
  const int changed = ChangedLineCount(before, tidied.text);
  if (changed == 0) {
    services_.dialogs.MessageBox("The page is tidy already: no line changes.", "Tidy Up Page",
                                 platform::MessageIcon::Information, platform::MessageButtons::Ok);
    return;
  }
  const std::string question = "Tidy Up Page changes " + std::to_string(changed) + (changed == 1 ? " line" : " lines") +
                               ". Replace the text with the tidy copy?";
  if (services_.dialogs.MessageBox(question, "Tidy Up Page", platform::MessageIcon::Question,
                                   platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return;
  std::string text = tidied.text;
  // The store takes lines; the last line end would make an empty line of its own.
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  const int last = view.LineCount();
  view.ReplaceRange({1, 1}, {static_cast<int>(view.Lines().Get(last - 1).size()) + 1, last}, text);
}

std::string MainForm::DocumentFolder() const {
  const std::string file = Current().PreviewSourceFile();
  if (file.empty()) return installDir_;
  return std::filesystem::path(file).parent_path().string();
}

bool MainForm::SaveToLibrary(const std::string& name) {
  if (const auto problem = TemplateLibrary::NameProblem(name)) {
    services_.dialogs.MessageBox(*problem, kApplicationTitle, platform::MessageIcon::Warning,
                                 platform::MessageButtons::Ok);
    return false;
  }
  const TemplateLibrary library = Templates();
  if (library.UserTemplateExists(name) &&
      services_.dialogs.MessageBox("Replace the template \"" + name + "\"?", kApplicationTitle,
                                   platform::MessageIcon::Question,
                                   platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return false;
  std::vector<std::string> lines;
  const editor::TqeEditList& text = Current().Document().Lines();
  for (int i = 0; i < text.Count(); ++i) lines.emplace_back(text.Get(i));
  library.Save(name, lines);
  Notify(OnTemplatesChanged);
  return true;
}

void MainForm::DeleteTemplate(const std::string& name) {
  if (name.empty()) return;
  if (services_.dialogs.MessageBox("Delete the template \"" + name + "\"?", kApplicationTitle,
                                   platform::MessageIcon::Question,
                                   platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return;
  Templates().Delete(name);
  Notify(OnTemplatesChanged);
}

void MainForm::ImportRTFtoHTML1Click() {
  const auto path = services_.dialogs.OpenFile({"Import RTF to HTML", "RTF Files (*.rtf)|*.rtf", "rtf", {}});
  if (!path) return;
  const std::string html = RtfToHtml(ReadRtfFile(*path));
  // The page replaces the whole text as a load does. ClearText's empty line comes first; the converted
  // text's line breaks split it as a file of it would load.
  std::string page = "\r\n";
  const auto add = [&page](std::string_view line) { page.append(line).append("\r\n"); };
  for (const char* line :
       {"<HTML>", "", "<HEAD>", "<TITLE>Untitled</TITLE>", "</HEAD>", "",
        "<BODY topmargin=\"0\" leftmargin=\"0\" link=\"#0000FF\" vlink=\"#800080\" alink=\"#FF0000\">", ""})
    add(line);
  editor::TqeEditList converted;
  converted.SetTextStr(html);
  for (int i = 0; i < converted.Count(); ++i) add(converted.Get(i));
  if (converted.Count() == 0) add("");  // the converted text is one entry, even when empty
  for (const char* line : {"", "</BODY>", "</HTML>"}) add(line);
  ReplaceContent(TargetSession(), {DocumentOrigin::Import, {}, page, *path, true});
}

void MainForm::OpenWebAddress(const std::string& url) {
  if (!services_.shell.OpenDocument(url, installDir_)) ShowShellError();
}

void MainForm::ToolbarButton977Click() {
  const std::string copy = DataFile("Prt325.htm");
  Current().Document().Lines().SaveToFile(copy);
  if (!services_.shell.OpenDocument(copy, installDir_)) ShowShellError();
}

void MainForm::Contents1Click() {
  if (!services_.shell.OpenDocument(DataFile("Help.htm"), installDir_)) ShowShellError();
}

void MainForm::StartTool(std::initializer_list<std::string_view> programs) {
  auto program = platform::FindProgram(programs, services_.searchPath);
  if (!program || !services_.shell.StartProgram(*program, installDir_)) ShowShellError();
}

void MainForm::SpeedButton4Click() {
  StartTool({"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "mate-calc", "xcalc"});
}

void MainForm::SpeedButton5Click() {
  StartTool({"gnome-text-editor", "gedit", "kwrite", "kate", "mousepad", "pluma", "xed", "leafpad", "featherpad"});
}

}  // namespace app
