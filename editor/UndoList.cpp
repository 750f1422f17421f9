// Undo list bookkeeping; reversing the records is the editor's job.
#include "editor/UndoList.h"

namespace editor {

void TUndoList::AddRecord(TUndoKind kind, TextPoint start, TSelectionMode mode, std::string text, TextPoint end) {
  if (locked_) return;
  if (!records_.empty() && RecordCount() >= maxCount_) records_.pop_front();
  records_.push_back(TUndoRecord{std::move(text), kind, start, end, mode});
  if (onChange_) onChange_();
}

bool TUndoList::ExtendLastInsert(TextPoint at, TextPoint end) {
  if (locked_) return true;
  if (records_.empty() || records_.back().kind != UndoInsert || !(records_.back().end == at)) return false;
  records_.back().end = end;
  return true;
}

TUndoRecord TUndoList::TakeRecord() {
  if (records_.empty()) return TUndoRecord{};
  TUndoRecord last = std::move(records_.back());
  records_.pop_back();
  return last;
}

void TUndoList::SetMaxCount(int n) {
  while (RecordCount() > n && !records_.empty()) records_.pop_front();
  maxCount_ = n;
}

}  // namespace editor
