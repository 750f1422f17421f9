// Start-up, the document lifecycle, titles, flags and the shell commands of the main window.
#include "app/MainForm.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "app/Rtf2Html.h"
#include "app/TextFiles.h"
#include "net/TcpFetch.h"
#include "platform/ProgramSearch.h"

namespace app {
namespace {

const std::string kSaveQuestion = "Save changes to this file?";
const std::string kShellError = "ERROR: Please re-set the program.";

const char* const kOpenFilter =
    "HTML Files (*.htm, *.html, *.asp, *.shtml)|*.htm; *.html; *.asp; *.shtml|XML Files (*.xml)|*.xml|"
    "CSS Files (*.css)|*.css|JavaScript Files (*.js)|*.js|CGI Files (*.cgi)|*.cgi|Perl Files (*.pl)|*.pl|"
    "Java Files (*.java)|*.java|Delphi Files (*.pas)|*.pas|Text Files (*.txt)|*.txt|C++ Files (*.cpp)|*.cpp|"
    "All Files (*.*)|*.*";
const char* const kSaveFilter =
    "HTML Files (*.htm, *.html, *.asp, *.shtml)|*.htm; *.html; *.asp; *.shtml|XML Files (*.xml)|*.xml|"
    "CSS Files (*.css)|*.css|JavaScript Files (*.js)|*.js|CGI Files (*.cgi)|*.cgi|Perl Files (*.perl)|*.pl|"
    "Java Files (*.java)|*.java|RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

std::string VersionedTitle(const std::string& document) {
  return std::string(kApplicationTitle) + " - [" + document + "]";
}

}  // namespace

void RunCommand(platform::Dialogs& dialogs, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    dialogs.MessageBox(e.what(), kApplicationTitle, platform::MessageIcon::Error, platform::MessageButtons::Ok);
  }
}

MainForm::MainForm(editor::TqeCustomEdit& richEdit1, MainFormServices services, std::string installDir)
    : richEdit1_(richEdit1), services_(std::move(services)), installDir_(std::move(installDir)) {
  MRU.SetMenuItem(true);
  MRU.Mode = rflAfter;
  MRU.OnMenuClick = [this](const std::string& path) { MRUMenuClick(path); };
  FormSizeSave1.Company = "Tarnwell";
  FormSizeSave1.ProductName = "Larch";
  FormSizeSave1.SubKey = "3.0";
  FormSizeSave1.SaveMode = smAll;
  richEdit1_.OnLinesChanged = [this] {
    modified_ = true;
    if (journal_) journal_->Changed();
  };
  title_ = VersionedTitle("Untitled");
}

void MainForm::FormCreate(WindowPlacement& placement) {
  FormSizeSave1.RestorePlacement(services_.registry, "Form1", placement);
  untitledFlag_ = "Yes";
  StandardTemplatesFolder = DataFile("Templates/");
  UserTemplatesFolder = DataFile("Templates/User/");
  if (services_.loop)
    journal_ = std::make_unique<RecoveryJournal>(*services_.loop, DataFile("recovery"),
                                                 [this](JournalEntry& entry) { return JournalSnapshot(entry); });
}

bool MainForm::JournalSnapshot(JournalEntry& entry) const {
  if (!modified_) return false;
  entry.fileName = documentFile_;
  entry.caretLine = richEdit1_.CaretLine();
  entry.caretColumn = richEdit1_.CaretColumn();
  entry.changed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  richEdit1_.Lines().TextInto(entry.text);
  return true;
}

bool MainForm::IsDocument(const std::string& path) const {
  std::error_code ec;
  return !documentFile_.empty() && std::filesystem::equivalent(documentFile_, path, ec);
}

bool MainForm::OpenElsewhere(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return services_.instances && services_.instances->ShowIfOpenElsewhere(ec ? path : absolute.string());
}

void MainForm::SetUnmodified() {
  modified_ = false;
  if (journal_) journal_->Discard();
}

void MainForm::OfferRecovery(const std::vector<std::string>& arguments) {
  if (!journal_) return;
  std::vector<std::filesystem::path> journals;
  // A journal handed over by the program that offered it is recovered without asking again.
  const bool handedOver = arguments.size() >= 2 && arguments[0] == "--recover" && journal_->Claim(arguments[1]);
  if (handedOver) journals.push_back(arguments[1]);
  for (auto& journal : journal_->ClaimStaleJournals()) journals.push_back(std::move(journal));
  bool recovered = false;
  for (const auto& journal : journals) {
    JournalEntry entry;
    try {
      entry = ParseJournal(platform::ReadFileBytes(journal));
    } catch (const std::exception& e) {
      journal_->Release(journal, RecoveryJournal::Outcome::SetAside);
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
        journal_->Release(journal, RecoveryJournal::Outcome::Remove);
        continue;
      }
    }
    if (recovered && OnRecoverInNewWindow) {
      journal_->Release(journal, RecoveryJournal::Outcome::Keep);
      OnRecoverInNewWindow(journal.string());
      continue;
    }
    Recover(journal, entry);
    recovered = true;
  }
}

void MainForm::Recover(const std::filesystem::path& journal, const JournalEntry& entry) {
  richEdit1_.ClearText();
  richEdit1_.Lines().SetTextStr(entry.text);
  richEdit1_.SetCaretXY({entry.caretColumn, entry.caretLine});
  cutFile_.clear();
  documentFile_ = entry.fileName;
  if (entry.fileName.empty()) {
    SetFlags(Flags::New, {});
    SetTitle(VersionedTitle("Untitled"));
  } else {
    SetFlags(Flags::Opened, entry.fileName);
    SetTitle(VersionedTitle(entry.fileName));
  }
  modified_ = true;
  // The text is in this program's journal before the old one goes, so no moment holds neither.
  journal_->WriteNow();
  journal_->Flush();
  journal_->Release(journal, RecoveryJournal::Outcome::Remove);
  Notify(OnRepaintEditor);
}

void MainForm::FormShow(const std::vector<std::string>& arguments) {
  std::error_code ec;
  const bool commandLineFile = !arguments.empty() && std::filesystem::is_regular_file(arguments[0], ec);
  if (commandLineFile)
    PerformFileOpen(arguments[0]);
  else
    MRU.SetFiles(ReadLines(DataFile("recent.ini")));
  MRU.AddFile(DataFile("default.htm"));
  ListBox1Items = ReadLines(DataFile("libhtml.kls"));
  Notify(OnSideListsLoaded);
  ListBox2Items = ReadLines(DataFile("libevents.kls"));
  Notify(OnSideListsLoaded);
  ListBox3Items = ReadLines(DataFile("libfunctions.kls"));
  Notify(OnSideListsLoaded);
  if (!commandLineFile) LoadUntitled();
}

void MainForm::LoadDocument(const std::string& path) {
  richEdit1_.Lines().LoadFromFile(path);
  documentFile_ = path;
  SetUnmodified();
  cutFile_ = richEdit1_.Lines().CutAtZeroByte() ? path : "";
  if (!cutFile_.empty()) WarnCutAtZeroByte(path);
}

void MainForm::LoadUntitled() {
  LoadDocument(DataFile("default.htm"));
  documentFile_.clear();
}

// A zero byte ends the text, as it always has; the person is told, so that nothing is lost unknowingly.
void MainForm::WarnCutAtZeroByte(const std::string& source) {
  services_.dialogs.MessageBox(source + " holds zero bytes; the text after the first one was left out",
                               kApplicationTitle, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
}

bool MainForm::MayOverwrite(const std::string& path) {
  std::error_code ec;
  if (cutFile_.empty() || !std::filesystem::equivalent(path, cutFile_, ec)) return true;
  const auto answer = services_.dialogs.MessageBox(
      path +
          " holds zero bytes, and the text after the first one is not in this document. Saving replaces the "
          "whole file with the text shown. Save anyway?",
      kApplicationTitle, platform::MessageIcon::Warning, platform::MessageButtons::YesNo);
  if (answer != platform::MessageAnswer::Yes) return false;
  cutFile_.clear();  // the person chose to replace it; there is nothing more to warn of
  return true;
}

void MainForm::PerformFileOpen(const std::string& path) {
  MRU.AddFile(path);
  LoadDocument(path);
  previewFile_ = path;
  Notify(OnFocusEditor);
  SetTitle("Tarnwell Quillmark - [" + path + "]");
}

void MainForm::SetTitle(std::string title) {
  title_ = std::move(title);
  Notify(OnTitleChanged);
}

void MainForm::SetFlags(Flags flags, const std::string& path) {
  docSaveState_ = "False";
  openedFileName_ = flags == Flags::Opened ? path : "";
  savedFileName_ = flags == Flags::Saved ? path : "";
  untitledFlag_ = flags == Flags::New ? "Yes" : "";
  previewFile_.reset();
}

platform::MessageAnswer MainForm::AskSaveChanges(platform::MessageIcon icon) {
  return services_.dialogs.MessageBox(kSaveQuestion, kApplicationTitle, icon, platform::MessageButtons::YesNoCancel);
}

bool MainForm::SaveOrDiscardChanges(platform::MessageIcon icon) {
  switch (AskSaveChanges(icon)) {
    case platform::MessageAnswer::Yes:
      return FileSave();
    case platform::MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

// New and Open Local File ask every time. Yes saves and ends the command: the user repeats it.
void MainForm::AskThen(void (MainForm::*command)()) {
  switch (AskSaveChanges(platform::MessageIcon::Question)) {
    case platform::MessageAnswer::Yes:
      FileSave();
      break;
    case platform::MessageAnswer::No:
      (this->*command)();
      break;
    default:
      break;
  }
}

void MainForm::NewFileClick() { AskThen(&MainForm::FileNew); }

void MainForm::FromFile1Click() { AskThen(&MainForm::FileOpen); }

void MainForm::FileNew() {
  richEdit1_.ClearText();
  LoadUntitled();
  SetTitle(VersionedTitle("Untitled"));
  SetFlags(Flags::New, {});
  Notify(OnRepaintEditor);
}

void MainForm::FileOpen() {
  auto path = services_.dialogs.OpenFile({"Open a (Local) File", kOpenFilter, "htm", {}});
  if (!path || OpenElsewhere(*path)) return;
  // The text is only cleared once the file is known to be readable, so a bad choice loses nothing.
  if (!std::ifstream(*path, std::ios::binary) || std::filesystem::is_directory(*path))
    throw platform::EFileError("Cannot open file " + *path);
  richEdit1_.ClearText();
  MRU.AddFile(*path);
  LoadDocument(*path);
  SetTitle(VersionedTitle(*path));
  WriteLines(DataFile("recent.ini"), MRU.Files());
  SetFlags(Flags::Opened, *path);
  Notify(OnRepaintEditor);
}

bool MainForm::FileSave() {
  platform::FileDialogOptions options{"Save As File", kSaveFilter, "", {}};
  // A document with a file (a recovered one too) is offered its own name, so saving puts it back there.
  const std::filesystem::path current = documentFile_;
  if (!current.empty()) {
    options.initialFolder = current.parent_path().string();
    options.proposedName = current.filename().string();
  }
  auto path = services_.dialogs.SaveFile(options);
  if (!path || !MayOverwrite(*path)) return false;
  richEdit1_.Lines().SaveToFile(*path);
  documentFile_ = *path;
  SetUnmodified();
  SetTitle(VersionedTitle(*path));
  SetFlags(Flags::Saved, *path);
  Notify(OnRepaintEditor);
  return true;
}

void MainForm::MRUMenuClick(const std::string& path) {
  if (OpenElsewhere(path)) return;
  if (modified_ && !SaveOrDiscardChanges(platform::MessageIcon::Question)) return;
  LoadDocument(path);
  previewFile_ = path;
  SetTitle(VersionedTitle(path));
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
  if (modified_ && !SaveOrDiscardChanges(platform::MessageIcon::Question)) return false;
  richEdit1_.ClearText();
  richEdit1_.Lines().SetTextStr(http.Body());
  documentFile_.clear();
  previewFile_ = "";
  SetUnmodified();
  cutFile_.clear();
  if (richEdit1_.Lines().CutAtZeroByte()) WarnCutAtZeroByte(url);
  return true;
}

void MainForm::PrintFileClick() {
  const std::string copy = DataFile("Prt01.ht~");
  richEdit1_.Lines().SaveToFile(copy);
  if (!services_.printer.ShowPrintDialog()) return;
  const std::vector<std::string> lines = ReadLines(copy);
  std::string title;
  for (const auto& line : lines) title += line + "\r\n";
  services_.printer.PrintText(title, lines, richEdit1_.Font());
}

bool MainForm::FormClose(const WindowPlacement& placement) {
  FormSizeSave1.SavePlacement(services_.registry, "Form1", placement);
  // Asked while nothing has been opened or saved yet in this run, and whenever work is unsaved.
  const bool closing = (docSaveState_ == "False" && !modified_) || SaveOrDiscardChanges(platform::MessageIcon::Warning);
  if (closing) SetUnmodified();
  return closing;
}

bool MainForm::Exit1Click(const WindowPlacement& placement) {
  FormSizeSave1.SavePlacement(services_.registry, "Form1", placement);
  const bool exiting = !modified_ || SaveOrDiscardChanges(platform::MessageIcon::Warning);
  if (exiting) SetUnmodified();
  return exiting;
}

void MainForm::ShowShellError() {
  services_.dialogs.MessageBox(kShellError, kApplicationTitle, platform::MessageIcon::Error,
                               platform::MessageButtons::Ok);
}

std::string MainForm::PreviewSourceFile() const {
  if (previewFile_) return *previewFile_;
  return !openedFileName_.empty() ? openedFileName_ : savedFileName_;
}

std::string MainForm::PreviewFileName() {
  if (std::string file = PreviewSourceFile(); !file.empty()) return file;
  const std::string copy = DataFile("Temp.htm");
  richEdit1_.Lines().SaveToFile(copy);
  return copy;
}

std::string MainForm::DocumentFolder() const {
  const std::string file = PreviewSourceFile();
  if (file.empty()) return installDir_;
  return std::filesystem::path(file).parent_path().string();
}

void MainForm::OpenTemplate(const std::string& path) {
  if (OpenElsewhere(path)) return;
  if (modified_ && !SaveOrDiscardChanges(platform::MessageIcon::Question)) return;
  MRU.AddFile(path);
  if (!std::ifstream(path, std::ios::binary) || std::filesystem::is_directory(path))
    throw platform::EFileError("Cannot open file " + path);
  LoadDocument(path);
  SetTitle(VersionedTitle(path));
  WriteLines(DataFile("recent.ini"), MRU.Files());
  SetFlags(Flags::Opened, path);
  Notify(OnRepaintEditor);
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
  for (int i = 0; i < richEdit1_.Lines().Count(); ++i) lines.emplace_back(richEdit1_.Lines().Get(i));
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
  // The page replaces the whole text as a load does, so the undo lists, which held edits of the old text,
  // are emptied. ClearText's empty line comes first; the converted text's line breaks split it as a file of
  // it would load.
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
  richEdit1_.ClearText();
  richEdit1_.Lines().SetTextStr(page);
  documentFile_.clear();
  cutFile_.clear();
  previewFile_ = "";
  Notify(OnRepaintEditor);
}

void MainForm::OpenWebAddress(const std::string& url) {
  if (!services_.shell.OpenDocument(url, installDir_)) ShowShellError();
}

void MainForm::ToolbarButton977Click() {
  const std::string copy = DataFile("Prt325.htm");
  richEdit1_.Lines().SaveToFile(copy);
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
