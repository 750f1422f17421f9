// Keeping the per-line range slots true: each line's slot holds the highlighter state at its start.
#pragma once

#include "editor/EditList.h"
#include "highlighters/CustomHighlighter.h"

namespace editor {

// The rescan step from line a. The caller has set the highlighter's range to line a's start state. Scans
// line a, then each following line whose stored start state differs from the state just reached, storing
// the new state; stops at the first line whose slot already matches. Returns the last line scanned.
int RescanFrom(TqeEditList& lines, highlighters::TqeCustomHighLighter& highlighter, int a);

// Fills every slot from the reset state, as after loading a file or binding another highlighter.
void RescanAll(TqeEditList& lines, highlighters::TqeCustomHighLighter& highlighter);

}  // namespace editor
