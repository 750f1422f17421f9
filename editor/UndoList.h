// One list of undo (or redo) records with its limit and lock.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "editor/EditTypes.h"

namespace editor {

enum TUndoKind : std::uint8_t {
  UndoInsert = 0,
  UndoPaste = 1,
  UndoDragInsert = 2,
  UndoDeleteAfter = 3,
  UndoDelete = 4,
  UndoSelectionReplaced = 5,
  UndoDragDelete = 6,
  UndoLineBreak = 7,
  UndoNone = 8,  // answered for an empty list; never stored
};

// A record's mode is the mode its edit worked in, not the selection mode in force: the selection's mode for
// a deleted selection, the block's mode for a column paste, normal for everything typed, deleted by a key
// or inserted as text. Undo reads and writes the text in the record's mode, so a character typed or
// deleted while line mode was on would otherwise take its whole line with it, or come back at the line's
// start.
struct TUndoRecord {
  std::string text;  // what reverses the edit: the text that stood there, or the deleted text
  TUndoKind kind = UndoNone;
  TextPoint start;
  TextPoint end;
  TSelectionMode mode = smNormal;
};

class TUndoList {
 public:
  // Fires after every record added: the editor's OnChange.
  explicit TUndoList(std::function<void()> onChange = {}) : onChange_(std::move(onChange)) {}

  // The text is taken over: a replace-all's record may hold the whole text.
  void AddRecord(TUndoKind kind, TextPoint start, TSelectionMode mode, std::string text, TextPoint end);
  // Lengthens the newest record, an insertion ending at `at`, to end at `end`: text put right after what
  // was typed goes with it in one step. False when the newest record is no such insertion.
  bool ExtendLastInsert(TextPoint at, TextPoint end);
  // Removes and returns the newest record; kind UndoNone when the list is empty.
  TUndoRecord TakeRecord();
  TUndoKind LastKind() const { return records_.empty() ? UndoNone : records_.back().kind; }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  int MaxCount() const { return maxCount_; }
  void SetMaxCount(int n);
  void ClearRecords() { records_.clear(); }
  void Lock() { locked_ = true; }
  void Unlock() { locked_ = false; }

 private:
  std::deque<TUndoRecord> records_;
  int maxCount_ = 10;
  bool locked_ = false;
  std::function<void()> onChange_;
};

}  // namespace editor
