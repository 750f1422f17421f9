// The rescan loop with its early stop: a change that leaves a line's end state alone costs one line.
#include "editor/RangeScan.h"

namespace editor {
namespace {

RangeSlot CurrentState(const highlighters::TqeCustomHighLighter& highlighter) {
  return static_cast<RangeSlot>(highlighter.RangeState());
}

}  // namespace

int RescanFrom(TqeEditList& lines, highlighters::TqeCustomHighLighter& highlighter, int a) {
  const int count = lines.Count();
  if (a >= count - 1) return a;
  highlighter.StartLine(lines.Get(a), a);
  highlighter.ScanToLineEnd();
  int last = a;
  for (int i = a + 1; i < count; ++i) {
    const RangeSlot state = CurrentState(highlighter);
    if (lines.Slot(i) == state) break;
    lines.SetSlot(i, state);
    highlighter.StartLine(lines.Get(i), i);
    highlighter.ScanToLineEnd();
    last = i;
  }
  return last;
}

void RescanAll(TqeEditList& lines, highlighters::TqeCustomHighLighter& highlighter) {
  highlighter.ResetRangeState();
  for (int i = 0; i < lines.Count(); ++i) {
    lines.SetSlot(i, CurrentState(highlighter));
    highlighter.StartLine(lines.Get(i), i);
    highlighter.ScanToLineEnd();
  }
}

}  // namespace editor
