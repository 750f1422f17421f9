// The command name table, in the order key bindings have always been stored in.
#include "editor/EditorCommands.h"

#include <array>
#include <utility>

namespace editor {
namespace {

struct NamedCommand {
  TqeEditorCommand code;
  std::string_view name;
};

constexpr NamedCommand kCommandNames[] = {
    {ecNone, "ecNone"},
    {ecLeft, "ecLeft"},
    {ecRight, "ecRight"},
    {ecUp, "ecUp"},
    {ecDown, "ecDown"},
    {ecWordLeft, "ecWordLeft"},
    {ecWordRight, "ecWordRight"},
    {ecLineStart, "ecLineStart"},
    {ecLineEnd, "ecLineEnd"},
    {ecPageUp, "ecPageUp"},
    {ecPageDown, "ecPageDown"},
    {ecPageLeft, "ecPageLeft"},
    {ecPageRight, "ecPageRight"},
    {ecPageTop, "ecPageTop"},
    {ecPageBottom, "ecPageBottom"},
    {ecEditorTop, "ecEditorTop"},
    {ecEditorBottom, "ecEditorBottom"},
    {ecGotoXY, "ecGotoXY"},
    {ecSelLeft, "ecSelLeft"},
    {ecSelRight, "ecSelRight"},
    {ecSelUp, "ecSelUp"},
    {ecSelDown, "ecSelDown"},
    {ecSelWordLeft, "ecSelWordLeft"},
    {ecSelWordRight, "ecSelWordRight"},
    {ecSelLineStart, "ecSelLineStart"},
    {ecSelLineEnd, "ecSelLineEnd"},
    {ecSelPageUp, "ecSelPageUp"},
    {ecSelPageDown, "ecSelPageDown"},
    {ecSelPageLeft, "ecSelPageLeft"},
    {ecSelPageRight, "ecSelPageRight"},
    {ecSelPageTop, "ecSelPageTop"},
    {ecSelPageBottom, "ecSelPageBottom"},
    {ecSelEditorTop, "ecSelEditorTop"},
    {ecSelEditorBottom, "ecSelEditorBottom"},
    {ecSelGotoXY, "ecSelGotoXY"},
    {ecSelectAll, "ecSelectAll"},
    {ecDeleteLastChar, "ecDeleteLastChar"},
    {ecDeleteChar, "ecDeleteChar"},
    {ecDeleteWord, "ecDeleteWord"},
    {ecDeleteLastWord, "ecDeleteLastWord"},
    {ecDeleteBOL, "ecDeleteBOL"},
    {ecDeleteEOL, "ecDeleteEOL"},
    {ecDeleteLine, "ecDeleteLine"},
    {ecClearAll, "ecClearAll"},
    {ecLineBreak, "ecLineBreak"},
    {ecInsertLine, "ecInsertLine"},
    {ecChar, "ecChar"},
    {ecImeStr, "ecImeStr"},
    {ecUndo, "ecUndo"},
    {ecRedo, "ecRedo"},
    {ecCut, "ecCut"},
    {ecCopy, "ecCopy"},
    {ecPaste, "ecPaste"},
    {ecScrollUp, "ecScrollUp"},
    {ecScrollDown, "ecScrollDown"},
    {ecScrollLeft, "ecScrollLeft"},
    {ecScrollRight, "ecScrollRight"},
    {ecInsertMode, "ecInsertMode"},
    {ecOverwriteMode, "ecOverwriteMode"},
    {ecToggleMode, "ecToggleMode"},
    {ecBlockIndent, "ecBlockIndent"},
    {ecBlockUnindent, "ecBlockUnindent"},
    {ecNormalSelect, "ecNormalSelect"},
    {ecColumnSelect, "ecColumnSelect"},
    {ecLineSelect, "ecLineSelect"},
    {ecUserFirst, "ecUserFirst"},
    {ecGotoMarker0 + 0, "ecGotoMarker0"},
    {ecGotoMarker0 + 1, "ecGotoMarker1"},
    {ecGotoMarker0 + 2, "ecGotoMarker2"},
    {ecGotoMarker0 + 3, "ecGotoMarker3"},
    {ecGotoMarker0 + 4, "ecGotoMarker4"},
    {ecGotoMarker0 + 5, "ecGotoMarker5"},
    {ecGotoMarker0 + 6, "ecGotoMarker6"},
    {ecGotoMarker0 + 7, "ecGotoMarker7"},
    {ecGotoMarker0 + 8, "ecGotoMarker8"},
    {ecGotoMarker0 + 9, "ecGotoMarker9"},
    {ecSetMarker0 + 0, "ecSetMarker0"},
    {ecSetMarker0 + 1, "ecSetMarker1"},
    {ecSetMarker0 + 2, "ecSetMarker2"},
    {ecSetMarker0 + 3, "ecSetMarker3"},
    {ecSetMarker0 + 4, "ecSetMarker4"},
    {ecSetMarker0 + 5, "ecSetMarker5"},
    {ecSetMarker0 + 6, "ecSetMarker6"},
    {ecSetMarker0 + 7, "ecSetMarker7"},
    {ecSetMarker0 + 8, "ecSetMarker8"},
    {ecSetMarker0 + 9, "ecSetMarker9"},
    {ecGoToMatching, "ecGoToMatching"},
    {ecSelectElement, "ecSelectElement"},
    {ecFold, "ecFold"},
    {ecUnfold, "ecUnfold"},
    {ecFoldAll, "ecFoldAll"},
    {ecUnfoldAll, "ecUnfoldAll"},
};
static_assert(std::size(kCommandNames) == 92);

}  // namespace

std::string EditorCommandToText(TqeEditorCommand command) {
  for (const auto& c : kCommandNames)
    if (c.code == command) return std::string(c.name);
  return std::to_string(command);
}

std::optional<TqeEditorCommand> EditorCommandFromText(std::string_view name) {
  // Scripts may leave the "ec" off: "GoToMatching" is ecGoToMatching.
  for (const auto& c : kCommandNames)
    if (c.name == name || c.name.substr(2) == name) return c.code;
  return std::nullopt;
}

}  // namespace editor
