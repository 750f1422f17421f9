#include "app/RecoveryJournal.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "platform/FileIO.h"

namespace app {
namespace fs = std::filesystem;
namespace {

constexpr const char* kMagic = "Quillmark recovery journal 1\n";

fs::path LockOf(const fs::path& journal) {
  fs::path lock = journal;
  lock.replace_extension(".lock");
  return lock;
}

// "NAME NUMBER\n" at position at; the number, with at moved past the line.
std::int64_t Field(const std::string& bytes, std::size_t& at, const std::string& name) {
  const std::size_t end = bytes.find('\n', at);
  if (end == std::string::npos || bytes.compare(at, name.size() + 1, name + " ") != 0)
    throw EJournalDamaged("its " + name + " line is missing");
  const std::string number = bytes.substr(at + name.size() + 1, end - at - name.size() - 1);
  std::size_t used = 0;
  std::int64_t value = 0;
  try {
    value = std::stoll(number, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != number.size() || value < 0) throw EJournalDamaged("its " + name + " line is not a number");
  at = end + 1;
  return value;
}

// Bytes of a given length at position at, followed by a line end.
std::string Block(const std::string& bytes, std::size_t& at, std::int64_t length) {
  if (static_cast<std::uint64_t>(length) > bytes.size() - at) throw EJournalDamaged("it is cut short");
  std::string block = bytes.substr(at, static_cast<std::size_t>(length));
  at += static_cast<std::size_t>(length);
  return block;
}

}  // namespace

std::string JournalHead(const JournalEntry& entry) {
  std::ostringstream out;
  out << kMagic << "changed " << entry.changed << "\ncaret " << entry.caretLine << "\ncolumn " << entry.caretColumn
      << "\nfile " << entry.fileName.size() << "\n"
      << entry.fileName << "\ntext " << entry.text.size() << "\n";
  return out.str();
}

std::string FormatJournal(const JournalEntry& entry) {
  return JournalHead(entry) + entry.text + std::string(kJournalEnd);
}

JournalEntry ParseJournal(const std::string& bytes) {
  if (bytes.compare(0, std::char_traits<char>::length(kMagic), kMagic) != 0)
    throw EJournalDamaged("it is not a recovery journal");
  std::size_t at = std::char_traits<char>::length(kMagic);
  JournalEntry entry;
  entry.changed = Field(bytes, at, "changed");
  entry.caretLine = static_cast<int>(std::min<std::int64_t>(Field(bytes, at, "caret"), 1 << 30));
  entry.caretColumn = static_cast<int>(std::min<std::int64_t>(Field(bytes, at, "column"), 1 << 30));
  entry.fileName = Block(bytes, at, Field(bytes, at, "file"));
  if (bytes.compare(at, 1, "\n") != 0) throw EJournalDamaged("it is cut short");
  ++at;
  entry.text = Block(bytes, at, Field(bytes, at, "text"));
  if (bytes.compare(at, std::string::npos, kJournalEnd) != 0) throw EJournalDamaged("it is cut short");
  return entry;
}

std::string RecoveryJournal::NewStamp() {
  static std::mutex mutex;
  static long long last = 0;
  std::lock_guard<std::mutex> lock(mutex);
  const long long now =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count();
  last = std::max(now, last + 1);
  return std::to_string(::getpid()) + "-" + std::to_string(last);
}

RecoveryJournal::RecoveryJournal(platform::EventLoop& loop, fs::path folder, Snapshot snapshot, std::string name)
    : loop_(loop), folder_(std::move(folder)), snapshot_(std::move(snapshot)) {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  path_ = folder_ / ((name.empty() ? NewStamp() : name) + ".journal");
  lock_ = platform::FileLock::TryAcquire(LockOf(path_));
  writer_ = std::thread([this] { Run(); });
}

RecoveryJournal::~RecoveryJournal() {
  loop_.StopTimer(timer_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  writer_.join();
  // A journal that is still there belongs to work nobody saved or gave up: it stays for the next start.
  std::error_code ec;
  if (!fs::exists(path_, ec)) fs::remove(LockOf(path_), ec);
}

void RecoveryJournal::Changed() {
  loop_.StopTimer(timer_);
  timer_ = loop_.StartTimer(idleMs_, [this] {
    loop_.StopTimer(timer_);
    timer_ = {};
    WriteNow();
  });
}

void RecoveryJournal::WriteNow() {
  JournalEntry entry;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    entry.text = std::move(spare_);
  }
  if (snapshot_(entry))
    Queue(std::move(entry));
  else
    Queue(std::nullopt);
}

void RecoveryJournal::Discard() {
  loop_.StopTimer(timer_);
  timer_ = {};
  Queue(std::nullopt);
}

void RecoveryJournal::Queue(std::optional<JournalEntry> entry) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ = std::move(entry);  // an older wish that has not been carried out yet is dropped
  }
  wake_.notify_one();
}

void RecoveryJournal::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return !pending_ && !busy_; });
}

void RecoveryJournal::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return pending_ || stop_; });
    if (!pending_) return;  // stopping with nothing left to do
    std::optional<JournalEntry> entry = std::move(*pending_);
    pending_.reset();
    busy_ = true;
    lock.unlock();
    std::error_code ec;
    if (entry) {
      try {
        platform::WriteFileDurably(path_, {JournalHead(*entry), entry->text, kJournalEnd});
      } catch (const platform::EFileError&) {
        // A full disk must not stop the editing; the next pause tries again.
      }
    } else {
      fs::remove(path_, ec);
    }
    lock.lock();
    if (entry) spare_ = std::move(entry->text);
    busy_ = false;
    idle_.notify_all();
  }
}

std::vector<fs::path> RecoveryClaims::ClaimStaleJournals() {
  std::vector<std::pair<fs::file_time_type, fs::path>> found;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(folder_, ec)) {
    const fs::path& journal = item.path();
    // The journals of running programs (this one's too) are locked: they cannot be claimed.
    if (journal.extension() != ".journal" || claimed_.count(journal)) continue;
    if (Claim(journal)) found.push_back({fs::last_write_time(journal, ec), journal});
  }
  std::sort(found.begin(), found.end());
  std::vector<fs::path> journals;
  for (auto& [time, journal] : found) journals.push_back(std::move(journal));
  return journals;
}

bool RecoveryClaims::Claim(const fs::path& journal) {
  auto lock = platform::FileLock::TryAcquire(LockOf(journal));
  if (!lock) return false;
  claimed_[journal] = std::move(lock);
  return true;
}

void RecoveryClaims::Release(const fs::path& journal, Outcome outcome) {
  std::error_code ec;
  if (outcome == Outcome::Remove) fs::remove(journal, ec);
  if (outcome == Outcome::SetAside) fs::rename(journal, fs::path(journal) += ".damaged", ec);
  if (outcome != Outcome::Keep) fs::remove(LockOf(journal), ec);
  claimed_.erase(journal);
}

}  // namespace app
