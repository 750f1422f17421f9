// The editor's line store: an ordered list of byte lines without line ends, each with one range slot
// (the highlighter state in force at the start of the line), and the notifications the editor hooks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/GapVector.h"
#include "platform/FileIO.h"

namespace editor {

// A highlighter range state as stored per line. Scanners hand out one byte, so 32 bits keep it whole.
using RangeSlot = std::uint32_t;
// The slot of a line no scanner has seen yet. No scanner hands it out, so the rescan never stops early
// on a line that was just inserted.
inline constexpr RangeSlot kUnscannedSlot = 0xFFFFFFFFu;

// The list's index error ("List index out of bounds (N)").
class EListError : public std::out_of_range {
 public:
  explicit EListError(int index);
};

using platform::EFileError;

// How lines are written: ended by CR LF (the design's) or LF, and with or without the blanks a loaded line
// may still end in.
struct TextSaveOptions {
  bool lf = false;
  bool trimTrailingBlanks = false;
};

class TqeEditList {
 public:
  TqeEditList() = default;
  ~TqeEditList();
  TqeEditList(const TqeEditList&) = delete;
  TqeEditList& operator=(const TqeEditList&) = delete;

  int Count() const { return static_cast<int>(lines_.size()); }
  // The text of line index; valid until that line changes.
  std::string_view Get(int index) const;
  std::string_view operator[](int index) const { return Get(index); }
  RangeSlot Slot(int index) const;
  void SetSlot(int index, RangeSlot value);

  int Add(std::string_view text);
  void Insert(int index, std::string_view text);
  void Delete(int index);
  // Replaces the text of one line; its slot keeps its value.
  void Put(int index, std::string_view text);
  // Replaces count bytes of line index from byte at (both clamped to the line) with bytes, in place where
  // the line has room: what it costs grows with the change, not with the line. Notified as Put is. bytes
  // must not point into the line.
  void Splice(int index, int at, int count, std::string_view bytes);
  // Removes every line; outside a load one empty line is then added through Add.
  void Clear();
  // Replaces the whole text, split at CR, LF or CR LF; a zero byte ends the text.
  void SetTextStr(std::string_view text);
  // Whether the last text set or loaded held a zero byte, so that what followed it was left out.
  bool CutAtZeroByte() const { return cutAtZeroByte_; }
  // Every line followed by CR LF.
  std::string Text() const;
  // The same text written into out, which keeps its capacity from one call to the next (a large text is
  // then copied without the system first handing out fresh memory for it).
  void TextInto(std::string& out) const;

  // Set Loading, read all bytes, replace the text as SetTextStr does; Loading is cleared even on failure.
  void LoadFromFile(const std::filesystem::path& file);
  void LoadFromStream(std::istream& in);
  // Writes Text() to a temporary file that replaces file only once it is complete.
  void SaveToFile(const std::filesystem::path& file, TextSaveOptions options = {}) const;
  void SaveToStream(std::ostream& out, TextSaveOptions options = {}) const;

  bool Loading() const { return loading_; }
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // The two change events of the list: changing fires when the outermost update begins, changed when it ends.
  std::function<void()> OnChanging;
  std::function<void()> OnChanged;
  std::function<void()> OnAdded;
  std::function<void(int)> OnDeleted;
  std::function<void(int)> OnInserted;
  std::function<void()> OnLoaded;
  std::function<void(int)> OnPutted;
  // The first byte (0-based) of its line that the last Put or Splice changed: 0 for Put.
  int PutFrom() const { return putFrom_; }

 private:
  // A line's bytes live either in a shared block (the text of a load, never copied line by line) or in an
  // allocation of the line's own; 16 bytes a line keep a million-line file small.
  struct Line {
    char* data = nullptr;
    std::uint32_t length : 31 = 0;
    std::uint32_t owned : 1 = 0;
    RangeSlot slot = kUnscannedSlot;
  };
  struct OwnedHeader;
  static char* Allocate(std::size_t capacity);
  static std::size_t Capacity(const Line& line);
  static Line MakeOwned(std::string_view text);
  static void Release(Line& line);
  void CheckIndex(int index) const;
  void ReleaseAll();
  // A block of text the lines of a load point into. Large blocks come straight from the kernel with their
  // pages present: faulting in a 50 MB file page by page costs more than reading it.
  class TextBlock {
   public:
    explicit TextBlock(std::size_t size);
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;
    char* Data() { return data_; }

   private:
    char* data_ = nullptr;
    std::size_t size_;
    bool mapped_ = false;
  };
  // Splits a block that the store takes over; lines point into it.
  void AdoptText(std::unique_ptr<TextBlock> block, std::size_t size);

  struct UpdateScope {
    explicit UpdateScope(TqeEditList& l) : list(l) { list.BeginUpdate(); }
    ~UpdateScope() { list.EndUpdate(); }
    TqeEditList& list;
  };

  GapVector<Line> lines_;
  std::vector<std::unique_ptr<TextBlock>> blocks_;
  int updateCount_ = 0;
  int putFrom_ = 0;
  bool loading_ = false;
  bool cutAtZeroByte_ = false;
};

}  // namespace editor
