// The command processor: hooks, the painting lock and OnCommandDone, and every editing command.
#include <algorithm>
#include <climits>
#include <tuple>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

bool IsMove(TqeEditorCommand c) { return c >= ecLeft && c <= ecGotoXY; }

// The length of text without the spaces at its end. Typing takes only spaces away there: a tab stays, so
// text typed after it follows the tab rather than the spaces a caret past the line's end is padded with.
std::size_t LengthWithoutEndSpaces(std::string_view text) { return text.find_last_not_of(' ') + 1; }
bool IsSelectingMove(TqeEditorCommand c) { return c >= ecSelLeft && c <= ecSelGotoXY; }

}  // namespace

void TqeCustomEdit::ExecuteCommand(TqeEditorCommand command, char character, const TCommandData& data) {
  Activate();
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

bool TqeCustomEdit::KeyDown(std::uint16_t key, TShiftState shift) {
  Activate();
  if (OnKeyDown) OnKeyDown(key, shift);
  const int index = keystrokes_.FindKeyBinding(key, shift);
  if (index < 0) return false;
  ExecuteCommand(keystrokes_[index].Command, 0);
  return true;
}

void TqeCustomEdit::KeyPress(char character) {
  Activate();
  if (OnKeyPress) OnKeyPress(character);
  if (TypeOverCompletion(character)) return;
  const TextPoint before = caret_;
  ExecuteCommand(ecChar, character);
  CompleteTyped(character, before);
}

void TqeCustomEdit::KeyPress(std::string_view character) {
  if (character.size() <= 1) {
    if (!character.empty()) KeyPress(character[0]);
    return;
  }
  Activate();
  char first = character[0];
  if (OnKeyPress) OnKeyPress(first);
  ExecuteCommand(ecChar, first, character);
}

// In UTF-8 every byte from 128 up belongs to a word: the letters of other scripts are words too, and a word
// move then never stops inside a character.
bool TqeCustomEdit::IsWordByte(unsigned char c) const {
  if (c >= 0x80 && Utf8()) return true;
  return HighLighter() ? HighLighter()->WordChars().test(c) : c > ' ';
}

TextPoint TqeCustomEdit::NextWordStart(TextPoint p) const {
  std::string_view line = lines_.Get(p.line - 1);
  int len = static_cast<int>(line.size());
  int i = p.column - 1;  // 0-based byte
  if (p.column >= len) {
    if (p.line >= LineCount()) return p;
    ++p.line;
    line = lines_.Get(p.line - 1);
    len = static_cast<int>(line.size());
    if (IndentationOf(line) == len) return {1, p.line};
    i = 0;
  } else {
    while (i < len && IsWordByte(line[i])) ++i;
  }
  while (i < len && !IsWordByte(line[i])) ++i;
  return {i + 1, p.line};
}

TextPoint TqeCustomEdit::PreviousWordStart(TextPoint p) const {
  auto endOfPreviousLine = [&]() -> TextPoint {
    if (p.line <= 1) return {1, 1};
    return {LineLength(p.line - 1) + 1, p.line - 1};
  };
  const std::string_view line = lines_.Get(p.line - 1);
  int i = std::min(p.column, static_cast<int>(line.size()) + 1) - 1;  // bytes before the caret
  if (i <= 0) return endOfPreviousLine();
  while (i > 0 && !IsWordByte(line[i - 1])) --i;
  if (i == 0) return endOfPreviousLine();
  while (i > 0 && IsWordByte(line[i - 1])) --i;
  return {i + 1, p.line};
}

TextPoint TqeCustomEdit::MoveTarget(TqeEditorCommand move, const TCommandData& data) {
  TextPoint p = caret_;
  const int length = LineLength(p.line);
  const int page = halfpageScroll_ ? visibleRows_ / 2 : visibleRows_;
  switch (move) {
    case ecLeft:
      if (p.column > 1)
        p.column = PreviousCharacterColumn(lines_.Get(p.line - 1), p.column, Encoding());
      else if (!PastLineEnd() && p.line > 1)
        p = {LineLength(p.line - 1) + 1, p.line - 1};
      break;
    case ecRight:
      if (!PastLineEnd() && p.column > length) {
        if (p.line < LineCount()) p = {1, p.line + 1};
      } else {
        p.column = NextCharacterColumn(lines_.Get(p.line - 1), p.column, Encoding());
      }
      break;
    case ecUp:
      p.line = ShownLineAfter(p.line, -1);
      break;
    case ecDown:
      p.line = ShownLineAfter(p.line, 1);
      break;
    case ecWordLeft:
      p = PreviousWordStart(p);
      break;
    case ecWordRight:
      p = NextWordStart(p);
      break;
    case ecLineStart:
      p.column = 1;
      break;
    case ecLineEnd:
      p.column = length + 1;
      break;
    case ecPageUp:
      SetTopLine(ShownLineAfter(topLine_, -page));
      p.line = ShownLineAfter(p.line, -page);
      break;
    case ecPageDown:
      SetTopLine(ShownLineAfter(topLine_, page));
      p.line = ShownLineAfter(p.line, page);
      break;
    case ecPageLeft:
      SetLeftChar(leftChar_ - visibleColumns_);
      p.column -= visibleColumns_;
      break;
    case ecPageRight:
      SetLeftChar(leftChar_ + visibleColumns_);
      p.column += visibleColumns_;
      break;
    case ecPageTop:
      p.line = topLine_;
      break;
    case ecPageBottom:
      p.line = std::min(LineCount(), ShownLineAfter(topLine_, visibleRows_ - 1));
      break;
    case ecEditorTop:
      p = {1, 1};
      break;
    case ecEditorBottom:
      p = {LineLength(LineCount()) + 1, LineCount()};
      SetTopLine(ShownLineAfter(LineCount(), -(visibleRows_ - 1)));
      SetLeftChar(1);
      break;
    case ecGotoXY:
      p = std::get<TextPoint>(data);
      break;
    default:
      break;
  }
  p.line = std::clamp(p.line, 1, LineCount());
  return p;
}

bool TqeCustomEdit::RunMove(TqeEditorCommand command, const TCommandData& data) {
  const bool selecting = IsSelectingMove(command);
  const auto move = static_cast<TqeEditorCommand>(selecting ? command - ecSelection : command);
  if (move == ecGotoXY && !std::holds_alternative<TextPoint>(data)) return false;
  if (selecting && !HasSelection()) SetSelectionStart(caret_);
  const TextPoint from = caret_;  // MoveTarget scrolls but leaves the caret where it is
  const std::optional<TextPoint> wrapped = wordWrap_ ? WrappedMoveTarget(move) : std::nullopt;
  const TextPoint target = wrapped ? *wrapped : MoveTarget(move, data);
  // A vertical move keeps the column, which SetCaretLine clamps as the caret rules say; in UTF-8 it keeps
  // the shown column, since the same bytes are characters of different widths on different lines.
  if (!wrapped && (move == ecUp || move == ecDown || move == ecPageUp || move == ecPageDown || move == ecPageTop ||
                   move == ecPageBottom)) {
    if (Utf8())
      SetCaretXY({ByteColumn(target.line, ShownColumn(from.line, from.column)), target.line});
    else
      SetCaretLine(target.line);
  } else {
    SetCaretXY(target);
  }
  EnsureCaretVisible();
  if (selecting)
    SetSelectionEnd(caret_);
  else
    SetSelectionStart(caret_);
  return true;
}

bool TqeCustomEdit::RunCommand(TqeEditorCommand command, char character, const TCommandData& data) {
  if (IsMove(command) || IsSelectingMove(command)) return RunMove(command, data);
  if (command >= ecGotoMarker0 && command <= ecGotoMarker0 + 9) {
    if (bookMarkOptions_.EnableKeys) GotoBookmark(command - ecGotoMarker0);
    return true;
  }
  if (command >= ecSetMarker0 && command <= ecSetMarker0 + 9) {
    if (bookMarkOptions_.EnableKeys) ToggleBookmark(command - ecSetMarker0);
    return true;
  }
  switch (command) {
    case ecSelectAll:
      SelectWholeText();
      return true;
    case ecGoToMatching:
      return GoToMatching();
    case ecSelectElement:
      return SelectElement();
    case ecFold:
      return Fold(caret_.line);
    case ecUnfold:
      return Unfold(caret_.line);
    case ecFoldAll:
      FoldAll();
      return true;
    case ecUnfoldAll:
      UnfoldAll();
      return true;
    case ecChar:
      if (const auto* sequence = std::get_if<std::string_view>(&data); sequence && sequence->size() > 1)
        return !readOnly_ && TypeText(*sequence, UndoSelectionReplaced);
      return TypeCharacter(character);
    case ecImeStr: {
      const auto* text = std::get_if<std::string_view>(&data);
      return text && TypeString(*text);
    }
    case ecDeleteLastChar:
      return DeleteLastChar();
    case ecDeleteChar:
      return DeleteChar();
    case ecDeleteWord:
      return DeleteWord();
    case ecDeleteLastWord:
      return DeleteLastWord();
    case ecDeleteBOL:
      DeleteToLineStart();
      return true;
    case ecDeleteEOL:
      DeleteToLineEnd();
      return true;
    case ecDeleteLine:
      DeleteLine();
      return true;
    case ecClearAll:
      if (!readOnly_) ClearText();
      return true;
    case ecLineBreak:
    case ecInsertLine:
      return LineBreak(command == ecLineBreak);
    case ecUndo:
      Undo();
      return true;
    case ecRedo:
      Redo();
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
    case ecScrollUp:
    case ecScrollDown: {
      SetTopRow(RowAfter(TopRow(), command == ecScrollUp ? -1 : 1));
      // A caret scrolled out of the window comes along on the row at its edge.
      const int at = RowOf(RowOfPoint(caret_));
      if (at >= 0 && at <= visibleRows_ - 1) return true;
      const int edge = at < 0 ? 0 : visibleRows_ - 1;
      if (wordWrap_)
        SetCaretXY(PointInRow(RowAfter(TopRow(), edge), OffsetInRow(caret_)));
      else
        SetCaretLine(ShownLineAfter(topLine_, edge));
      return true;
    }
    case ecScrollLeft:
      SetLeftChar(leftChar_ - 1);
      if (caret_.column > leftChar_ + visibleColumns_) SetCaretColumn(leftChar_ + visibleColumns_);
      return true;
    case ecScrollRight:
      SetLeftChar(leftChar_ + 1);
      if (caret_.column < leftChar_) SetCaretColumn(leftChar_);
      return true;
    case ecInsertMode:
      SetInsertMode(true);
      return true;
    case ecOverwriteMode:
      SetInsertMode(false);
      return true;
    case ecToggleMode:
      SetInsertMode(!insertMode_);
      return true;
    case ecBlockIndent:
      BlockIndent(true);
      return true;
    case ecBlockUnindent:
      BlockIndent(false);
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

// Typing one character, or an input-method string, in insert or overwrite mode.
bool TqeCustomEdit::TypeCharacter(char character) {
  if (readOnly_) return false;
  const auto byte = static_cast<unsigned char>(character);
  if (byte == '\t' && !tabInsertsBlanks_) return TypeText("\t", UndoSelectionReplaced);
  if (byte == '\t' && tabIndent_ >= 1) {
    const int spaces = tabIndent_ - (caret_.column - 1) % tabIndent_;
    for (int i = 0; i < spaces; ++i) ExecuteCommand(ecChar, ' ');
    return false;
  }
  if (byte < 32 || byte == 127) return false;
  return TypeText(std::string_view(&character, 1), UndoSelectionReplaced);
}

// An input-method string ends at its first zero byte, as a zero-terminated string always did.
bool TqeCustomEdit::TypeString(std::string_view text) {
  if (readOnly_) return false;
  return TypeText(text.substr(0, text.find('\0')), UndoDelete);
}

bool TqeCustomEdit::TypeText(std::string_view text, TUndoKind selectionKind) {
  if (HasSelection()) {
    ReplaceSelectionRecorded(text, selectionKind);
    return false;
  }
  const TextPoint from = caret_;
  const int at = from.column - 1;
  const std::string_view line = lines_.Get(from.line - 1);
  const int length = static_cast<int>(line.size());
  // The line changes from start on: count of its bytes give way to the blanks up to a caret past its end
  // and the text. Only the change is copied, so typing in a long line costs what it changes.
  int start = std::min(at, length);
  int count = 0;
  if (!insertMode_) {
    // Overwriting replaces as many characters as are typed, whatever their lengths in bytes.
    int replaced = static_cast<int>(text.size());
    if (Utf8()) {
      int typed = 0, column = at + 1;
      platform::ForEachCharacter(text, Encoding(), [&](std::size_t, int, char32_t) { ++typed; });
      for (int k = 0; k < typed && column <= length; ++k) column = NextCharacterColumn(line, column, Encoding());
      replaced = column - 1 - at;
    }
    count = std::clamp(replaced, 0, length - start);
  }
  const std::string overwritten(line.substr(start, count));
  std::string inserted = std::string(at - start, ' ') + std::string(text);
  // A typed line keeps no spaces at its end: when the edit leaves some there, they go with it.
  const std::string_view tail = line.substr(start + count);
  const std::string_view end = tail.empty() ? std::string_view(inserted) : tail;
  if (LengthWithoutEndSpaces(end) < end.size()) {
    inserted += tail;
    inserted.resize(LengthWithoutEndSpaces(inserted));
    if (inserted.empty()) start = static_cast<int>(LengthWithoutEndSpaces(line.substr(0, start)));
    count = length - start;
  }
  // The caret moves once the line holds the text, so a long line's end is within its reach; both happen
  // inside one update, so the selection collapses where the caret lands.
  lines_.BeginUpdate();
  lines_.Splice(from.line - 1, start, count, inserted);
  PlaceCaretColumn(from.column + static_cast<int>(text.size()), from.column + static_cast<int>(text.size()));
  lines_.EndUpdate();
  // The record ends after the text.
  undoList_.AddRecord(UndoInsert, from, smNormal, overwritten,
                      {from.column + static_cast<int>(text.size()), from.line});
  // Typing past the right edge scrolls by a block, not a column at a time.
  if (ViewColumn(caret_) >= leftChar_ + visibleColumns_) SetLeftChar(leftChar_ + std::min(25, visibleColumns_ - 1));
  return true;
}

// Deletes the selection recorded as kind; the caret ends at its start.
void TqeCustomEdit::DeleteSelection(TUndoKind kind) {
  undoList_.AddRecord(kind, selStart_, selectionMode_, SelectedText(), selEnd_);
  ReplaceSelectionRaw(smNormal, {});
}

// Selects [from, to) in normal mode, records it as kind between recordStart and recordEnd, deletes it.
void TqeCustomEdit::DeleteRange(TextPoint from, TextPoint to, TUndoKind kind, TextPoint recordStart,
                                TextPoint recordEnd) {
  const TSelectionMode mode = selectionMode_;
  selectionMode_ = smNormal;
  SetSelectionStart(from);
  SetSelectionEnd(to);
  // Points past a line's end are recorded where the selection stopped, at the end: undo inserts there.
  undoList_.AddRecord(kind, ClampCorner(recordStart), smNormal, SelectedText(), ClampCorner(recordEnd));
  ReplaceSelectionRaw(smNormal, {});
  selectionMode_ = mode;
}

bool TqeCustomEdit::DeleteLastChar() {
  if (readOnly_) return false;
  if (HasSelection()) {
    DeleteSelection(UndoDelete);
    return false;
  }
  const TextPoint p = caret_;
  const std::string line = CurrentLineText();
  const int length = static_cast<int>(line.size());
  if (p.column > length + 1) {
    undoList_.AddRecord(UndoDelete, p, smNormal, {}, p);
    SetCaretColumn(p.column - 1);
    return true;
  }
  if (p.column == 1) {
    if (p.line == 1) return true;
    const std::string above(lines_.Get(p.line - 2));
    lines_.BeginUpdate();
    lines_.Put(p.line - 2, RightTrim(above + line));
    lines_.Delete(p.line - 1);
    marks_.ShiftLines(p.line, INT_MAX, -1);
    SetCaretXY({static_cast<int>(above.size()) + 1, p.line - 1});
    lines_.EndUpdate();
    const TextPoint joined = caret_;
    undoList_.AddRecord(UndoDelete, joined, smNormal, "\r\n", p);
    return true;
  }
  const auto before = static_cast<unsigned char>(line[p.column - 2]);
  const int indentation = autoindent_ ? IndentationOf(line) : 0;
  if (before <= ' ' && autoindent_ && p.column - 1 == indentation) {
    Unindent();
    return true;
  }
  const int start = PreviousCharacterColumn(line, p.column, Encoding());
  const std::string deleted = line.substr(start - 1, p.column - start);
  std::string rest = line;
  rest.erase(start - 1, p.column - start);
  SetCaretColumn(start);
  lines_.Put(p.line - 1, RightTrim(rest));
  undoList_.AddRecord(UndoDelete, caret_, smNormal, deleted, p);
  return true;
}

void TqeCustomEdit::Unindent() {
  const int line = caret_.line;
  const int n = IndentationOf(lines_.Get(line - 1));
  int target = 0;
  for (int above = line - 1; above >= 1; --above) {
    const std::string_view text = lines_.Get(above - 1);
    const int indentation = IndentationOf(text);
    if (indentation < n) {
      target = indentation;
      break;
    }
  }
  const std::string text(lines_.Get(line - 1));
  const std::string deleted = text.substr(0, n - target);
  SetCaretColumn(caret_.column - (n - target));
  lines_.Put(line - 1, RightTrim(text.substr(n - target)));
  undoList_.AddRecord(UndoDelete, caret_, smNormal, deleted, caret_);
}

bool TqeCustomEdit::DeleteChar() {
  if (readOnly_) return false;
  if (HasSelection()) {
    DeleteSelection(UndoDeleteAfter);
    return false;
  }
  const TextPoint p = caret_;
  std::string line = CurrentLineText();
  if (p.column > static_cast<int>(line.size())) {
    if (p.line >= LineCount()) return true;
    line.resize(p.column - 1, ' ');
    lines_.BeginUpdate();
    lines_.Put(p.line - 1, RightTrim(line + std::string(lines_.Get(p.line))));
    lines_.Delete(p.line);
    if (LineCount() == 0) lines_.Add({});
    marks_.ShiftLines(p.line + 1, INT_MAX, -1);
    lines_.EndUpdate();
    SetCaretXY(p);
    undoList_.AddRecord(UndoDeleteAfter, p, smNormal, "\r\n", p);
    return true;
  }
  const int length = NextCharacterColumn(line, p.column, Encoding()) - p.column;
  const std::string deleted = line.substr(p.column - 1, length);
  line.erase(p.column - 1, length);
  lines_.Put(p.line - 1, RightTrim(line));
  SetCaretXY(p);
  undoList_.AddRecord(UndoDeleteAfter, p, smNormal, deleted, p);
  return true;
}

bool TqeCustomEdit::DeleteWord() {
  if (readOnly_) return false;
  const TextPoint from = caret_;
  const TextPoint to = NextWordStart(from);
  if (to == from) return false;
  DeleteRange(from, to, UndoDeleteAfter, from, to);
  SetCaretXY(from);
  return true;
}

bool TqeCustomEdit::DeleteLastWord() {
  if (readOnly_) return false;
  const TextPoint to = caret_;
  const TextPoint from = PreviousWordStart(to);
  if (from == to) return false;
  DeleteRange(from, to, UndoDeleteAfter, from, to);
  SetCaretXY(caret_);
  return true;
}

void TqeCustomEdit::DeleteToLineStart() {
  const TextPoint lineStart{1, caret_.line};
  DeleteRange(lineStart, caret_, UndoDelete, lineStart, lineStart);
  SetCaretXY(lineStart);
}

void TqeCustomEdit::DeleteToLineEnd() {
  const TextPoint p = caret_;
  DeleteRange(p, {LineLength(p.line) + 1, p.line}, UndoDeleteAfter, p, p);
  SetCaretXY(p);
}

void TqeCustomEdit::DeleteLine() {
  SetSelectionStart(caret_);
  const TextPoint p = caret_;
  undoList_.AddRecord(UndoDeleteAfter, {1, p.line}, smNormal, std::string(lines_.Get(p.line - 1)) + "\r\n", p);
  lines_.BeginUpdate();
  lines_.Delete(p.line - 1);
  if (LineCount() == 0) lines_.Add({});
  lines_.EndUpdate();
  SetCaretXY(p);
}

bool TqeCustomEdit::LineBreak(bool moveCaret) {
  if (readOnly_) return false;
  if (HasSelection()) DeleteSelection(UndoDelete);
  const TextPoint p = caret_;
  const std::string line = CurrentLineText();
  const int length = static_cast<int>(line.size());
  // The indentation of the nearest line at or above the caret line that is not empty: blanks, where a tab
  // stays a tab, so the new line lines up with it.
  std::string indentText;
  if (autoindent_) {
    for (int l = p.line; l >= 1; --l) {
      if (LineLength(l) == 0) continue;
      const std::string_view above = lines_.Get(l - 1);
      for (const char c : above.substr(0, IndentationOf(above))) indentText += c == '\t' ? '\t' : ' ';
      break;
    }
  }
  const int indent = static_cast<int>(indentText.size());
  std::string moved;
  TextPoint caretAfter{indent + 1, p.line + 1};
  bool wholeLineMoved = true;  // the caret line's text now stands one line lower
  lines_.BeginUpdate();
  if (length == 0) {
    lines_.Insert(p.line - 1, {});
  } else if (p.column > length) {
    wholeLineMoved = false;
    const bool spaces = moveCaret && !scrollPastEOL_ && autoindent_;
    lines_.Insert(p.line, spaces ? indentText : std::string());
  } else if (p.column - 1 <= (autoindent_ ? IndentationOf(line) : 0)) {
    // At column 1 or inside the indentation: the whole text goes down a line.
    moved = line;
    lines_.Put(p.line - 1, {});
    lines_.Insert(p.line, line);
    caretAfter = {p.column, p.line + 1};
  } else {
    wholeLineMoved = false;
    const std::string tail = line.substr(p.column - 1);
    const std::string head = RightTrim(line.substr(0, p.column - 1));
    lines_.Put(p.line - 1, head);
    lines_.Insert(p.line, indentText + tail);
    // The record carries the blanks trimmed from the head too, so undo puts back exactly what was there.
    moved = line.substr(head.size());
  }
  marks_.ShiftLines(wholeLineMoved ? p.line : p.line + 1, INT_MAX, 1);
  SetCaretXY(moveCaret ? caretAfter : p);  // before the update closes, so the selection collapses there
  lines_.EndUpdate();
  undoList_.AddRecord(UndoLineBreak, p, smNormal, moved, p);
  return true;
}

void TqeCustomEdit::BlockIndent(bool indent) {
  if (readOnly_ || tabIndent_ < 1) return;
  TextPoint first = caret_, last = caret_;
  if (HasSelection()) std::tie(first, last) = NormalizedSelection();
  // A selection ending at column 1 does not touch its last line.
  if (HasSelection() && selectionMode_ == smNormal && last.column == 1 && last.line > first.line) --last.line;
  std::string before, after;
  std::vector<int> shifts;
  for (int l = first.line; l <= last.line; ++l) {
    const std::string text(lines_.Get(l - 1));
    const int shift = indent ? tabIndent_ : -std::min(tabIndent_, IndentationOf(text));
    const std::string changed =
        shift >= 0 ? (text.empty() ? text : std::string(shift, ' ') + text) : text.substr(-shift);
    shifts.push_back(text.empty() ? 0 : shift);
    if (l > first.line) before += "\r\n", after += "\r\n";
    before += text;
    after += changed;
  }
  if (before == after) return;
  const TSelectionMode mode = selectionMode_;
  const TextPoint start = selStart_, end = selEnd_, caret = caret_;
  // One step for undo: the lines replaced by their indented copies, recorded as a replaced selection.
  selectionMode_ = smNormal;
  SetSelectionStart({1, first.line});
  SetSelectionEnd({LineLength(last.line) + 1, last.line});
  undoList_.AddRecord(UndoSelectionReplaced, selStart_, smNormal, before, selEnd_);
  const TextPoint afterEnd = ReplaceSelectionRaw(smNormal, after);
  undoList_.AddRecord(UndoInsert, {1, first.line}, smNormal, {}, afterEnd);
  selectionMode_ = mode;
  auto moved = [&](TextPoint q) {
    if (q.line < first.line || q.line > last.line) return q;
    return TextPoint{std::max(1, q.column + shifts[q.line - first.line]), q.line};
  };
  SetCaretXY(moved(caret));
  SetSelectionStart(moved(start));
  SetSelectionEnd(moved(end));
}

}  // namespace editor
