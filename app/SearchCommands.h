// The main window's Replace and Replace All over the editor, apart from the dialog that asks for them.
#pragma once

#include <string_view>

#include "editor/CustomEdit.h"

namespace app {

// Replaces the selection when it is a match of find (the text itself, with regard to case, or the whole of
// a match of the pattern), else finds the next match from the caret first. With a regular expression the
// replacement's $0..$9 are filled from the match. False when there was nothing to replace.
bool ReplaceOne(editor::TqeCustomEdit& editor, std::string_view find, std::string_view replacement,
                editor::TSearchOptions options);

// Replaces every match from the caret to the end of the text in the options' direction, a selected match
// included, as one undo step; returns how many.
int ReplaceEvery(editor::TqeCustomEdit& editor, std::string_view find, std::string_view replacement,
                 editor::TSearchOptions options);

}  // namespace app
