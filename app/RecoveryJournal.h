// The recovery journal: unsaved work written to the data folder's recovery/ folder once typing pauses, so
// that a crash, kill -9, logout or power cut loses at most the last second of it. Each running program
// keeps a journal for each document with unsaved work and holds a lock beside each; a journal whose lock can be taken
// was left by a program that is gone, and is offered at the next start. Journals are written on a thread of their own
// from a snapshot, so typing never waits for the disk.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/FileLock.h"

namespace app {

// What a journal holds: the document's text, its file (empty: untitled), the caret and when it changed.
struct JournalEntry {
  std::string fileName;
  int caretLine = 1, caretColumn = 1;
  std::int64_t changed = 0;  // seconds since 1970, UTC
  std::string text;
  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// A journal that is cut short or not a journal at all.
class EJournalDamaged : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A journal's bytes: its head (everything before the text), the text, and its end.
std::string JournalHead(const JournalEntry& entry);
inline constexpr std::string_view kJournalEnd = "\nend\n";
std::string FormatJournal(const JournalEntry& entry);
JournalEntry ParseJournal(const std::string& bytes);

class RecoveryJournal {
 public:
  // Typing must pause this long before the journal is written (the Files preference may change it).
  static constexpr int kIdleMs = 1000;
  void SetIdleMs(int ms) { idleMs_ = ms; }

  // snapshot fills in the document as it is (its text into the entry's text, whose memory is used again
  // from one journal to the next), or answers false when the document holds no unsaved work.
  using Snapshot = std::function<bool(JournalEntry& entry)>;
  // The journal is folder/NAME.journal, NAME by default a new stamp (see NewStamp); a window with several
  // documents names each one's journal after its own stamp and a number.
  RecoveryJournal(platform::EventLoop& loop, std::filesystem::path folder, Snapshot snapshot, std::string name = {});
  // "PID-STARTMS": the process number and the time, in milliseconds, so that a later program that gets the
  // same number never takes a name of this one; never the same twice in one process.
  static std::string NewStamp();
  ~RecoveryJournal();
  RecoveryJournal(const RecoveryJournal&) = delete;
  RecoveryJournal& operator=(const RecoveryJournal&) = delete;

  // The document changed: the journal is written once changes pause.
  void Changed();
  // Writes (or removes) the journal now, from the snapshot.
  void WriteNow();
  // The work was saved or given up: this program's journal goes.
  void Discard();
  // Waits until what was asked of the writing thread is on the disk (tests, benchmarks).
  void Flush();
  const std::filesystem::path& Path() const { return path_; }

 private:
  void Run();
  void Queue(std::optional<JournalEntry> entry);

  platform::EventLoop& loop_;
  std::filesystem::path folder_, path_;
  Snapshot snapshot_;
  std::unique_ptr<platform::FileLock> lock_;
  platform::TimerId timer_;
  int idleMs_ = kIdleMs;

  // What the writing thread is to do next: write an entry, or remove the journal (nothing).
  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::optional<std::optional<JournalEntry>> pending_;
  std::string spare_;  // the text memory of the last journal written, for the next snapshot
  bool busy_ = false, stop_ = false;
  std::thread writer_;
};

// The journals of a folder that programs which are gone left behind, claimed for being offered.
class RecoveryClaims {
 public:
  explicit RecoveryClaims(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // Journals whose lock can be taken (no running program writes them), oldest first; each is claimed (no
  // other start offers it) until Release.
  std::vector<std::filesystem::path> ClaimStaleJournals();
  // Claims one journal named on the command line; false when another running program holds it.
  bool Claim(const std::filesystem::path& journal);
  // Gives a claimed journal up, removing it and its lock when asked, or setting a damaged one aside
  // (renamed to NAME.damaged).
  enum class Outcome { Keep, Remove, SetAside };
  void Release(const std::filesystem::path& journal, Outcome outcome);

 private:
  std::filesystem::path folder_;
  std::map<std::filesystem::path, std::unique_ptr<platform::FileLock>> claimed_;
};

}  // namespace app
