// One open document of the main window: its text with its history (a TqeDocument), the file it belongs
// to, where it came from, whether it holds unsaved work, the design's four document flags as they follow
// from that, what the preview shows of it, its recovery journal and the views that show it. The main
// window's logic replaces a session's content through one operation, whatever opened it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/RecoveryJournal.h"
#include "editor/CustomEdit.h"
#include "editor/Document.h"

namespace app {

// Where a session's content came from.
enum class DocumentOrigin {
  New,          // the default page (at start, New)
  Opened,       // Open Local File, a template
  CommandLine,  // the file named when the program started
  Recent,       // the recent-files menu, a restored session, a dropped file
  WebPage,      // Open Web File
  Import,       // Import RTF to HTML
  Recovered,    // a recovery journal
};

// What the file looked like on disk when the text was last loaded from it or saved to it.
struct DiskStamp {
  std::filesystem::file_time_type written{};
  std::uintmax_t size = 0;
  bool known = false;
  friend bool operator==(const DiskStamp&, const DiskStamp&) = default;
};
DiskStamp StampOf(const std::string& file);

class DocumentSession {
 public:
  DocumentSession();
  ~DocumentSession();
  DocumentSession(const DocumentSession&) = delete;
  DocumentSession& operator=(const DocumentSession&) = delete;

  editor::TqeDocument& Document() { return *document_; }
  const editor::TqeDocument& Document() const { return *document_; }

  // The views of the document (each tab shows one or two); the one commands act on is the last one
  // that took the focus, else the first.
  void AddView(editor::TqeCustomEdit& view);
  void RemoveView(editor::TqeCustomEdit& view);
  void SetActiveView(editor::TqeCustomEdit& view);
  editor::TqeCustomEdit& View() const;
  bool HasView() const { return !views_.empty(); }
  const std::vector<editor::TqeCustomEdit*>& Views() const { return views_; }

  // The file the text belongs to; empty for none (the default page, a web page, an import).
  const std::string& File() const { return file_; }
  DocumentOrigin Origin() const { return origin_; }
  // The file the text was loaded from when its text was cut at a zero byte (a save there asks first).
  const std::string& CutFile() const { return cutFile_; }
  void ClearCutFile() { cutFile_.clear(); }
  bool Modified() const { return modified_; }
  // The window's title for this document.
  const std::string& Title() const { return title_; }

  // The design's flags of the document: the file opened (Open Local File, a template), the file saved
  // (Save As), and "Yes" for the default page. A file from the command line or the recent list leaves
  // them as they were, as the design has it.
  const std::string& OpenedFileName() const { return openedFileName_; }
  const std::string& SavedFileName() const { return savedFileName_; }
  const std::string& UntitledFlag() const { return untitledFlag_; }

  // The file on disk the preview shows; empty when it shows the editor's text (written to Temp.htm).
  std::string PreviewSourceFile() const;

  // Whether the file changed on disk since it was loaded or saved; whether the person chose to keep the
  // editor's text over such a change (the next save asks before writing over it).
  bool ChangedOnDisk() const;
  bool KeepsOverDiskChange() const { return keepOverDisk_; }
  void KeepOverDiskChange();

  // A default page, never edited or saved and shown in no other way: the first thing opened takes its
  // place instead of a tab of its own.
  bool Pristine() const { return origin_ == DocumentOrigin::New && !modified_ && !everSaved_; }

  // A restored tab is loaded when it is first shown.
  struct PendingLoad {
    std::string file;
    int caretLine = 1, caretColumn = 1, topLine = 1;
  };
  const std::optional<PendingLoad>& Pending() const { return pending_; }

  RecoveryJournal* Journal() const { return journal_.get(); }

 private:
  friend class MainForm;

  std::unique_ptr<editor::TqeDocument> document_;
  std::vector<editor::TqeCustomEdit*> views_;
  editor::TqeCustomEdit* activeView_ = nullptr;
  std::string file_;
  DocumentOrigin origin_ = DocumentOrigin::New;
  std::string cutFile_;
  bool modified_ = false;
  bool everSaved_ = false;
  std::string title_;
  std::string openedFileName_, savedFileName_, untitledFlag_ = "Yes";
  // What the preview shows when the flags do not say it: a file the flags leave alone, or, when empty, the
  // editor's text. No value: the flags decide.
  std::optional<std::string> previewFile_;
  DiskStamp stamp_;
  bool keepOverDisk_ = false;
  std::optional<PendingLoad> pending_;
  std::unique_ptr<RecoveryJournal> journal_;
};

}  // namespace app
