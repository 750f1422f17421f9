// What is read from a line's tokens (the outline's events, the misspelt words), kept until the line or the
// state it starts in changes. The owner says which lines changed; Fresh reads again what went stale.
#pragma once

#include <vector>

#include "editor/EditList.h"
#include "editor/GapVector.h"

namespace editor {

template <typename Payload>
class LineCache {
 public:
  // count lines, none read yet.
  void Reset(int count) { entries_.assign(std::vector<Entry>(count)); }
  void Clear() { entries_.clear(); }
  int Size() const { return static_cast<int>(entries_.size()); }
  // What the store did; false when the index does not fit, and the owner should reset.
  bool Changed(int index) {
    if (index < 0 || index >= Size()) return false;
    entries_[index].stale = true;
    return true;
  }
  bool Inserted(int index) {
    if (index < 0 || index > Size()) return false;
    entries_.insert(index, Entry{});
    return true;
  }
  bool Deleted(int index) {
    if (index < 0 || index >= Size()) return false;
    entries_.erase(index);
    return true;
  }
  // A line's payload, read by read(index, payload) first when the line is stale or starts in another
  // state than when it was read.
  template <typename Read>
  Payload& Fresh(const TqeEditList& lines, int index, Read read) {
    Entry& entry = entries_[index];
    const RangeSlot slot = lines.Slot(index);
    if (entry.stale || entry.slot != slot) {
      entry.slot = slot;
      entry.stale = false;
      read(index, entry.payload);
    }
    return entry.payload;
  }

 private:
  struct Entry {
    RangeSlot slot = kUnscannedSlot;
    bool stale = true;
    Payload payload;
  };
  GapVector<Entry> entries_;
};

}  // namespace editor
