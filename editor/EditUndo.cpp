// Undo and redo: each record is reversed with ReplaceSelectionRaw and its reverse goes to the other list.
// Pairs (a replaced selection and its insertion, the two halves of a drag move) are one step.
#include <algorithm>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

bool IsInsertKind(TUndoKind k) { return k == UndoInsert || k == UndoPaste || k == UndoDragInsert; }
bool IsDeleteKind(TUndoKind k) {
  return k == UndoDeleteAfter || k == UndoDelete || k == UndoSelectionReplaced || k == UndoDragDelete;
}

// Restores the selection mode when an undo or redo step ends.
class ModeScope {
 public:
  ModeScope(TSelectionMode& mode, TSelectionMode temporary) : mode_(mode), saved_(mode) { mode_ = temporary; }
  ~ModeScope() { mode_ = saved_; }

 private:
  TSelectionMode& mode_;
  TSelectionMode saved_;
};

}  // namespace

// Later edits trim blanks from line ends, so a record may start past the end of a line that was longer
// when it was made. The blanks come back for the step (or the text around them would shift left), and
// whatever of them is left at the line's end afterwards goes again, as every edit leaves its lines.
TqeCustomEdit::PaddedLine::PaddedLine(TqeCustomEdit& editor, TextPoint point) : editor_(editor) {
  // Whole lines come and go at column 1: nothing to pad.
  if (editor.selectionMode_ == smLine) return;
  if (point.line < 1 || point.line > editor.LineCount()) return;
  const std::string_view line = editor.lines_.Get(point.line - 1);
  if (static_cast<int>(line.size()) >= point.column - 1) return;
  std::string padded(line);
  padded.resize(point.column - 1, ' ');
  editor.lines_.Put(point.line - 1, padded);
  line_ = point.line;
}

TqeCustomEdit::PaddedLine::~PaddedLine() {
  if (line_ == 0 || line_ > editor_.LineCount()) return;
  const std::string_view text = editor_.lines_.Get(line_ - 1);
  if (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') editor_.lines_.Put(line_ - 1, RightTrim(text));
}

void TqeCustomEdit::Undo() {
  UndoStep();
  if (Utf8()) SnapToCharacters();
}

void TqeCustomEdit::Redo() {
  RedoStep();
  if (Utf8()) SnapToCharacters();
}

void TqeCustomEdit::UndoStep() {
  Activate();
  if (undoList_.RecordCount() == 0) return;
  const TqeDocument::ReplayScope replay(document_);
  TUndoRecord r = undoList_.TakeRecord();
  ModeScope mode(selectionMode_, r.mode);
  IncPaintLock();
  if (IsInsertKind(r.kind)) {
    // When trimming has taken the recorded text from a line's end, both corners clamp to one point and
    // the old text goes back at the caret: bring the caret to the record first.
    const PaddedLine padded(*this, r.start);
    SetCaretXY(r.start);
    SetSelectionStart(r.start);
    SetSelectionEnd(r.end);
    redoList_.AddRecord(r.kind, r.start, r.mode, SelectedText(), r.end);
    ReplaceSelectionRaw(r.mode, r.text);
    SetCaretXY(r.start);
    const TUndoKind before = undoList_.LastKind();
    if ((before == UndoDragDelete && r.kind == UndoDragInsert) || before == UndoSelectionReplaced) UndoStep();
  } else if (IsDeleteKind(r.kind)) {
    TextPoint at = IsBefore(r.end, r.start) ? r.end : r.start;
    if (r.mode == smColumn) at = {std::min(r.start.column, r.end.column), std::min(r.start.line, r.end.line)};
    if (r.kind == UndoDeleteAfter && LineCount() < at.line) lines_.Add({});
    const PaddedLine padded(*this, at);
    SetCaretXY(at);
    SetSelectionStart(at);
    ReplaceSelectionRaw(r.mode, r.text);
    // A line end put back ends the line before it, which keeps no blanks at its end as no edited line
    // does: blanks that padded it out to a join would otherwise stay inside the text once it is joined
    // again.
    if (r.mode != smLine && !r.text.empty() && (r.text[0] == '\r' || r.text[0] == '\n')) {
      const std::string_view head = lines_.Get(at.line - 1);
      if (!head.empty() && static_cast<unsigned char>(head.back()) <= ' ') lines_.Put(at.line - 1, RightTrim(head));
    }
    SetCaretXY(r.end);
    SetSelectionStart(r.start);
    SetSelectionEnd(r.end);
    redoList_.AddRecord(r.kind, r.start, r.mode, {}, r.end);
    EnsureCaretVisible();
  } else if (r.kind == UndoLineBreak) {
    SetCaretXY(r.start);
    redoList_.AddRecord(r.kind, r.start, r.mode, {}, r.end);
    std::string taken = CurrentLineText();
    const bool textIndented = !r.text.empty() && static_cast<unsigned char>(r.text[0]) <= ' ';
    if (static_cast<int>(taken.size()) < caret_.column - 1 && (!textIndented || !autoindent_))
      taken.resize(caret_.column - 1, ' ');
    lines_.BeginUpdate();
    if (r.end.line < LineCount()) lines_.Delete(r.end.line);
    SetCaretXY(r.start);
    lines_.Put(caret_.line - 1, RightTrim(taken + r.text));
    lines_.EndUpdate();
  }
  DecPaintLock();
}

void TqeCustomEdit::RedoStep() {
  Activate();
  if (redoList_.RecordCount() == 0) return;
  const TqeDocument::ReplayScope replay(document_);
  TUndoRecord r = redoList_.TakeRecord();
  ModeScope mode(selectionMode_, r.mode);
  if (IsInsertKind(r.kind)) {
    IncPaintLock();
    SetCaretXY(r.start);
    SetSelectionStart(r.start);
    ReplaceSelectionRaw(r.mode, r.text);
    undoList_.AddRecord(r.kind, r.start, r.mode, SelectedText(), r.end);
    DecPaintLock();
  } else if (IsDeleteKind(r.kind)) {
    IncPaintLock();
    if (r.kind == UndoDeleteAfter) SetCaretXY(r.start);
    SetSelectionStart(r.start);
    SetSelectionEnd(r.end);
    DecPaintLock();
    undoList_.AddRecord(r.kind, r.start, r.mode, SelectedText(), r.end);
    ReplaceSelectionRaw(r.mode, {});
    SetCaretXY(r.start);
    const TUndoKind next = redoList_.LastKind();
    if ((r.kind == UndoDragDelete && next == UndoDragInsert) || r.kind == UndoSelectionReplaced) RedoStep();
  } else if (r.kind == UndoLineBreak) {
    ExecuteCommand(ecLineBreak, '\r');
  }
}

}  // namespace editor
