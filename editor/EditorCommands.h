// Editor command codes and their names, as stored with key bindings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "editor/EditTypes.h"

namespace editor {

using TqeEditorCommand = std::uint16_t;

// What a command carries besides its character: the target of ecGotoXY and ecSelGotoXY, the text of
// ecImeStr; nothing for the others.
using TCommandData = std::variant<std::monostate, TextPoint, std::string_view>;

enum : TqeEditorCommand {
  ecNone = 0,
  ecLeft = 1,
  ecRight,
  ecUp,
  ecDown,
  ecWordLeft,
  ecWordRight,
  ecLineStart,
  ecLineEnd,
  ecPageUp,
  ecPageDown,
  ecPageLeft,
  ecPageRight,
  ecPageTop,
  ecPageBottom,
  ecEditorTop,
  ecEditorBottom,
  ecGotoXY,
  ecSelection = 100,  // a selecting move is its plain move plus this
  ecSelLeft = 101,
  ecSelRight,
  ecSelUp,
  ecSelDown,
  ecSelWordLeft,
  ecSelWordRight,
  ecSelLineStart,
  ecSelLineEnd,
  ecSelPageUp,
  ecSelPageDown,
  ecSelPageLeft,
  ecSelPageRight,
  ecSelPageTop,
  ecSelPageBottom,
  ecSelEditorTop,
  ecSelEditorBottom,
  ecSelGotoXY,
  ecSelectAll = 199,
  ecDeleteLastChar = 401,
  ecDeleteChar,
  ecDeleteWord,
  ecDeleteLastWord,
  ecDeleteBOL,
  ecDeleteEOL,
  ecDeleteLine,
  ecClearAll,
  ecLineBreak,
  ecInsertLine,
  ecChar,
  ecImeStr = 500,
  ecUndo = 601,
  ecRedo,
  ecCut,
  ecCopy,
  ecPaste,
  ecScrollUp,
  ecScrollDown,
  ecScrollLeft,
  ecScrollRight,
  ecInsertMode,
  ecOverwriteMode,
  ecToggleMode,
  ecBlockIndent,
  ecBlockUnindent,
  ecNormalSelect,
  ecColumnSelect,
  ecLineSelect,
  ecGotoMarker0 = 701,
  ecSetMarker0 = 751,
  // The writing aids: the partner of the tag or bracket at the caret, the element around it, folds.
  ecGoToMatching = 801,
  ecSelectElement,
  ecFold,
  ecUnfold,
  ecFoldAll,
  ecUnfoldAll,
  ecUserFirst = 1001,
};

// The name of a code; a code without a name gives its decimal number.
std::string EditorCommandToText(TqeEditorCommand command);
std::optional<TqeEditorCommand> EditorCommandFromText(std::string_view name);

}  // namespace editor
