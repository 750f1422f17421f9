// The command processor: hooks, painting lock, OnCommandDone, and the commands built so far.
#include <algorithm>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {

void TqeCustomEdit::ExecuteCommand(TqeEditorCommand command, char character, const void* data) {
  auto& hook = command > 1000 ? OnProcessUserCommand : OnProcessCommand;
  if (hook) hook(command, character, data);
  // User commands are the host's to carry out, in its hook.
  if (command == ecNone || command > 1000) return;
  IncPaintLock();
  bool done = false;
  try {
    done = RunCommand(command, character, data);
  } catch (...) {
    DecPaintLock();
    throw;
  }
  DecPaintLock();
  if (done && OnCommandDone) OnCommandDone();
}

void TqeCustomEdit::KeyPress(char character) {
  if (imeCharsToSkip_ > 0) {
    --imeCharsToSkip_;
    return;
  }
  if (OnKeyPress) OnKeyPress(character);
  ExecuteCommand(ecChar, character, nullptr);
}

bool TqeCustomEdit::RunCommand(TqeEditorCommand command, char character, const void* data) {
  switch (command) {
    case ecChar:
      return TypeCharacter(character);
    case ecGotoXY:
    case ecSelGotoXY: {
      if (!data) return false;
      const TextPoint target = *static_cast<const TextPoint*>(data);
      if (command == ecSelGotoXY && !HasSelection()) SetSelectionStart(caret_);
      SetCaretXY(target);
      if (command == ecSelGotoXY)
        SetSelectionEnd(caret_);
      else
        SetSelectionStart(caret_);
      return true;
    }
    case ecSelectAll:
      SelectWholeText();
      return true;
    case ecCut:
      if (!readOnly_) CutSelection();
      return true;
    case ecCopy:
      CopySelection();
      return true;
    case ecPaste:
      if (!readOnly_) PasteClipboard();
      return true;
    case ecClearAll:
      if (!readOnly_) ClearText();
      return true;
    case ecInsertMode:
    case ecOverwriteMode:
    case ecToggleMode:
      SetInsertMode(command == ecInsertMode || (command == ecToggleMode && !insertMode_));
      return true;
    case ecNormalSelect:
      SetSelectionMode(smNormal);
      return true;
    case ecColumnSelect:
      SetSelectionMode(smColumn);
      return true;
    case ecLineSelect:
      SetSelectionMode(smLine);
      return true;
    default:
      return true;
  }
}

bool TqeCustomEdit::TypeCharacter(char character) {
  if (readOnly_) return false;
  const auto byte = static_cast<unsigned char>(character);
  if (byte == '\t' && tabIndent_ >= 1) {
    const int spaces = tabIndent_ - (caret_.column - 1) % tabIndent_;
    for (int i = 0; i < spaces; ++i) ExecuteCommand(ecChar, ' ', nullptr);
    return false;
  }
  if (byte < 32 || byte == 127) return false;

  if (HasSelection()) {
    const TextPoint from = SelectionInsertPoint();
    undoList_.AddRecord(UndoSelectionReplaced, selStart_, selectionMode_, SelectedText(), selEnd_);
    ReplaceSelectionRaw(smNormal, std::string_view(&character, 1));
    undoList_.AddRecord(UndoInsert, from, selectionMode_, {}, caret_);
    return false;
  }

  const TextPoint from = caret_;
  std::string line = CurrentLineText();
  if (static_cast<int>(line.size()) < from.column - 1) line.resize(from.column - 1, ' ');
  std::string overwritten;
  if (insertMode_ || from.column - 1 >= static_cast<int>(line.size())) {
    line.insert(line.begin() + (from.column - 1), character);
  } else {
    overwritten.assign(1, line[from.column - 1]);
    line[from.column - 1] = character;
  }
  // The caret may go past the line's end while the typed byte lands, whatever ScrollPastEOL says.
  const bool pastEnd = scrollPastEOL_;
  scrollPastEOL_ = true;
  SetCaretColumn(from.column + 1);
  lines_.Put(from.line - 1, RightTrim(line));
  scrollPastEOL_ = pastEnd;
  undoList_.AddRecord(UndoInsert, from, selectionMode_, overwritten, caret_);
  // Typing past the right edge scrolls by a block, not a column at a time.
  if (caret_.column >= leftChar_ + visibleColumns_) SetLeftChar(leftChar_ + std::min(25, visibleColumns_ - 1));
  return true;
}

}  // namespace editor
