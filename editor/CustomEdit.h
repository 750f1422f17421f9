// The source editor control's core: line store, caret, selection, view and edits. It knows its window
// only through platform::ControlWindow and paints through platform::Canvas.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/Document.h"
#include "editor/EditList.h"
#include "editor/EditSearch.h"
#include "editor/EditTypes.h"
#include "editor/EditorCommands.h"
#include "editor/KeyStrokes.h"
#include "editor/LineColumns.h"
#include "editor/MarkGlyphs.h"
#include "editor/MarkList.h"
#include "editor/PaintOptions.h"
#include "editor/TextDrawer.h"
#include "editor/UndoList.h"
#include "highlighters/CustomHighlighter.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/ControlWindow.h"
#include "platform/EventLoop.h"
#include "platform/Font.h"

namespace editor {

// The clipboard format that carries the selection mode with the text: one mode byte, then the text.
inline constexpr std::string_view kBlockTypeFormatName = "qeEdit Control Block Type";
inline constexpr std::string_view kBlockTypeFormat = "application/x-qeedit-control-block-type";
// The same for a block copied from a UTF-8 document: its text is UTF-8.
inline constexpr std::string_view kUtf8BlockTypeFormat = "application/x-qeedit-control-block-type-utf8";
inline std::string_view BlockTypeFormat(platform::TextEncoding encoding) {
  return encoding == platform::TextEncoding::Utf8 ? kUtf8BlockTypeFormat : kBlockTypeFormat;
}

// One row of a view: a line, and which of its wrapped rows (0, the first; always 0 without word wrap).
struct ShownRow {
  int line = 1;
  int part = 0;
};

enum TCaretType { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum class MouseButton { Left, Right, Middle };

// One view of a document: caret, selection, scroll position, painting and input. A view made without a
// document owns one of its own; views made on one document share its text, history and marks.
class TqeCustomEdit : private DocumentView {
 public:
  // Tabs are shown up to the next multiple of this many columns.
  static constexpr int DisplayTabWidth = 8;

  TqeCustomEdit(platform::FontEngine& fonts, platform::Clipboard& clipboard);
  TqeCustomEdit(platform::FontEngine& fonts, platform::Clipboard& clipboard, TqeDocument& document);
  ~TqeCustomEdit();
  TqeCustomEdit(const TqeCustomEdit&) = delete;
  TqeCustomEdit& operator=(const TqeCustomEdit&) = delete;

  // The host widget once it exists (nullptr: no window). Recomputes the visible rows and columns.
  void SetWindow(platform::ControlWindow* window);
  bool HasWindow() const { return window_ != nullptr; }
  // The window's client area changed size.
  void Resized();

  TqeDocument& Document() { return document_; }
  // Changing the lines through a view makes it the active view, whose selection collapses as they change.
  TqeEditList& Lines() {
    Activate();
    return lines_;
  }
  const TqeEditList& Lines() const { return lines_; }
  int LineCount() const { return lines_.Count(); }

  // Caret (1-based). Setters clamp, scroll the caret into view and fire OnSelectionChange.
  int CaretColumn() const { return caret_.column; }
  int CaretLine() const { return caret_.line; }
  TextPoint CaretXY() const { return caret_; }
  void SetCaretColumn(int column);
  void SetCaretLine(int line);
  void SetCaretXY(TextPoint point);

  // Selection corners as set: the anchor and the moving end.
  TextPoint SelectionStart() const { return selStart_; }
  TextPoint SelectionEnd() const { return selEnd_; }
  void SetSelectionStart(TextPoint point);
  void SetSelectionEnd(TextPoint point);
  bool HasSelection() const { return !(selStart_ == selEnd_); }
  // The corners ordered by line, then column.
  std::pair<TextPoint, TextPoint> NormalizedSelection() const;
  TSelectionMode SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(TSelectionMode mode);

  std::string SelectedText() const;
  // Replaces the selection with text, recorded for undo; returns where the text ends.
  TextPoint SetSelectedText(std::string_view text);
  // Puts text at pos (clamped to the text) as one recorded insertion; the caret and selection keep their
  // numbers, as they do when lines are inserted into the store. Returns where the text ends.
  TextPoint InsertTextAt(TextPoint pos, std::string_view text);
  std::string CurrentLineText() const;
  void SetCurrentLineText(std::string_view text);
  void SelectWholeText();
  // The primitive of every multi-byte edit: deletes the selection in the current mode, inserts text in
  // the given mode at the caret. Records nothing for undo. Returns where the inserted text ends, which the
  // caret may not reach when the column limit stops it.
  TextPoint ReplaceSelectionRaw(TSelectionMode mode, std::string_view text);

  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  // Empties the store to one empty line; the undo lists stay.
  void ClearText();

  void IncPaintLock();
  void DecPaintLock();

  void ExecuteCommand(TqeEditorCommand command, char character, const TCommandData& data = {});
  // A key went down: OnKeyDown, then the key map. False when no binding takes the key (the host then
  // gives it its default handling).
  bool KeyDown(std::uint16_t key, TShiftState shift);
  // The character path of the keyboard: OnKeyPress, then ecChar.
  void KeyPress(char character);
  // One typed character as the bytes of the document's encoding (a UTF-8 sequence arrives whole, so the
  // character is one step for undo and OnKeyPress hears its first byte).
  void KeyPress(std::string_view character);
  TqeKeyStrokes& Keystrokes() { return keystrokes_; }

  // Mouse, in client pixels. The host captures the mouse between down and up.
  void MouseDown(MouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y, bool leftButtonDown);
  void MouseUp(MouseButton button, TShiftState shift, int x, int y);
  void DoubleClick(int x, int y);
  void MouseWheel(int delta, TShiftState shift);
  // The text position under a client point: columns to the nearest cell edge (halves up), tabs as shown.
  TextPoint PointAt(int x, int y) const;
  // The misspelt word under a client point: its line (1-based) and bytes; none when the word there is
  // spelt right or there is none.
  std::optional<TextSpan> MisspeltWordAt(int x, int y);
  // The check's note on the line of a client point in the gutter.
  const TqeDocument::LineNote* GutterNoteAt(int x, int y) const;
  // Whether a point lies over the text area (the text beam) rather than the gutter (the arrow).
  bool OverText(int x) const { return x >= gutterPixels_; }
  bool Dragging() const { return dragging_; }
  // Timers for the auto-scroll while a selection is dragged past the window's edge.
  void SetEventLoop(platform::EventLoop* loop) { eventLoop_ = loop; }
  TCaretType InsertCaret() const { return insertCaret_; }
  void SetInsertCaret(TCaretType type);
  TCaretType OverwriteCaret() const { return overwriteCaret_; }
  void SetOverwriteCaret(TCaretType type);
  // Whether the scroll hint "TopLine: N" shows while the vertical thumb is dragged.
  bool ShowScrollHint() const { return showScrollHint_; }
  void SetShowScrollHint(bool on) { showScrollHint_ = on; }

  void Undo();
  void Redo();

  // Writing aids in markup modes: the end tag after a start tag's '>', the innermost open element's name
  // after "</", the closing quote after `="`; typing the completed text again moves over it.
  bool AutoCloseTags() const { return autoCloseTags_; }
  void SetAutoCloseTags(bool on) { autoCloseTags_ = on; }
  // Frames round the tag or bracket at the caret and its partner (red when it has none); the window turns
  // them on.
  bool ShowMatches() const { return showMatches_; }
  void SetShowMatches(bool on);
  struct TagMatch {
    std::vector<TextSpan> spans;  // the one at the caret, then its partner
    bool matched = false;
    OutlinePlace partner;
  };
  TagMatch CaretMatch();
  // Moves the caret to the partner; false when there is none.
  bool GoToMatching();
  // Selects the element around the caret from its start tag to the end of its end tag.
  bool SelectElement();
  // Folds of this view. Fold hides the inner lines of the innermost region around a line that is not
  // folded yet, Unfold opens the folds around it; both answer whether anything changed.
  bool ShowFoldMarks() const { return showFoldMarks_; }
  void SetShowFoldMarks(bool on);
  bool Fold(int line);
  bool Unfold(int line);
  // Folds or opens the region starting at a line (a click on its mark).
  bool ToggleFoldAt(int line);
  void FoldAll();
  void UnfoldAll();
  const std::vector<FoldRegion>& Folds() const { return folds_; }
  bool LineHidden(int line) const;
  bool LineFolded(int line) const;
  // The fold mark under a client point: its line, or 0.
  int FoldMarkAt(int x, int y) const;
  // The line `rows` shown rows after (or before) a shown line; beyond the text it counts on one a row.
  int ShownLineAfter(int line, int rows) const;
  // The row a line's first row is shown on, counted from the top row. With word wrap, beyond a screen
  // from the top it only tells which side the line is on.
  int RowOfLine(int line) const;
  // Word wrap at the window: a line longer than the window is shown on as many rows as it needs, broken
  // after blanks. It changes no byte; the caret moves by the rows shown (by lines in column mode, where a
  // block is lines and columns), stays within its line, and the view never scrolls sideways.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  // The rows a line is shown on (1 without word wrap, and outside the text), and those of every shown line.
  int RowsOf(int line) const;
  long long ShownRowCount() const;
  // Text a completion just put after the caret (ahead), which typing it again moves over, or before it,
  // which swallows the same characters typed next.
  void MarkCompleted(std::string_view text, bool ahead);
  // Replaces the text between two points as one undo step; returns where the new text ends.
  TextPoint ReplaceRange(TextPoint from, TextPoint to, std::string_view text);

  // Finds the search text in the area the options give, selects the match and puts the caret at its end
  // (at its start, backwards); replaces it, or every match, when asked. Returns how many matches were
  // handled: 0 when there is none, or the search text is empty.
  int SearchReplace(std::string_view search, std::string_view replacement, TSearchOptions options);

  // Bookmarks 0..9.
  void SetBookmark(int number, int column, int line);
  void ClearBookmark(int number);
  void GotoBookmark(int number);
  // The bookmark's mark, or null.
  const TMark* Bookmark(int number) const;
  // Adds a mark after OnPlaceBookmark has had its say (it may change it or cancel it).
  void PlaceMark(TMark mark);

  // View.
  int LeftChar() const { return leftChar_; }
  void SetLeftChar(int column);
  int TopLine() const { return topLine_; }
  void SetTopLine(int line);
  // The row at the top of the view: the top line and which of its wrapped rows.
  ShownRow TopRow() const { return {topLine_, topPart_}; }
  void SetTopRow(ShownRow row);
  // The user moved a scroll bar's thumb to position (in the units last given to the window).
  void ScrollBarMoved(platform::ScrollBarKind kind, int position);
  int CellWidth() const { return cellWidth_; }
  // Never below one pixel, whatever negative spacing is set: rows are divided by it.
  int RowHeight() const { return std::max(1, cellHeight_ + extraLineSpacing_); }
  int VisibleColumns() const { return visibleColumns_; }
  int VisibleRows() const { return visibleRows_; }
  int GutterPixels() const { return gutterPixels_; }
  int TextLeft() const { return gutterPixels_ + 2 - (leftChar_ - 1) * cellWidth_; }
  int ColumnLimit() const { return columnLimit_; }

  // Properties, with the control's own defaults.
  bool Autoindent() const { return autoindent_; }
  void SetAutoindent(bool on) { autoindent_ = on; }
  bool InsertMode() const { return insertMode_; }
  void SetInsertMode(bool on);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  bool ScrollPastEOL() const { return scrollPastEOL_; }
  void SetScrollPastEOL(bool on) { scrollPastEOL_ = on; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool on) { wantTabs_ = on; }
  bool HalfpageScroll() const { return halfpageScroll_; }
  void SetHalfpageScroll(bool on) { halfpageScroll_ = on; }
  int ExtraLineSpacing() const { return extraLineSpacing_; }
  void SetExtraLineSpacing(int pixels);
  int TabIndent() const { return tabIndent_; }
  void SetTabIndent(int spaces);  // values outside 0..16 are ignored
  // Whether Tab types blanks to the next stop of the tab indent (the default) or a tab character.
  bool TabInsertsBlanks() const { return tabInsertsBlanks_; }
  void SetTabInsertsBlanks(bool on) { tabInsertsBlanks_ = on; }
  int MaxUndo() const { return document_.MaxUndo(); }
  void SetMaxUndo(int count) { document_.SetMaxUndo(count); }
  int RightEdge() const { return rightEdge_; }
  void SetRightEdge(int column);
  platform::Color RightEdgeColor() const { return rightEdgeColor_; }
  void SetRightEdgeColor(platform::Color color);
  // The caret's line on a background of its own: what has the editor's colour there takes this one.
  bool HighlightCaretLine() const { return highlightCaretLine_; }
  void SetHighlightCaretLine(bool on);
  platform::Color CaretLineColor() const { return caretLineColor_; }
  void SetCaretLineColor(platform::Color color);
  // Blanks and tabs shown as faint dots and arrows, in the right edge's colour.
  bool ShowBlanks() const { return showBlanks_; }
  void SetShowBlanks(bool on);
  platform::Color Color() const { return color_; }
  void SetColor(platform::Color color);
  // A font that is not fixed pitch is not used: "Courier New" with its size and style stands in.
  const platform::FontDesc& Font() const { return fontDesc_; }
  void SetFont(const platform::FontDesc& desc);
  platform::Color FontColor() const { return fontColor_; }
  void SetFontColor(platform::Color color);
  // The document's highlighter: binding one binds it for every view of the document.
  highlighters::TqeCustomHighLighter* HighLighter() const { return document_.HighLighter(); }
  void SetHighLighter(highlighters::TqeCustomHighLighter* highlighter) { document_.SetHighLighter(highlighter); }

  TqeGutter& Gutter() { return gutter_; }
  TqeSelectedColor& SelectedColor() { return selectedColor_; }
  TqeBookMarkOpt& BookMarkOptions() { return bookMarkOptions_; }
  // Glyphs for marks that do not ask for the editor's own; none: the editor's own for every mark.
  void SetBookmarkImages(const MarkImages* images);
  const MarkImages* BookmarkImages() const { return bookmarkImages_; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool on);
  // The window gained or lost the keyboard focus (a hidden selection shows only with the focus).
  void SetFocused(bool focused);
  // The column at which the byte column of a line is shown, tabs expanded, wide characters two cells.
  int ShownColumn(int line, int byteColumn) const;
  // The byte column shown nearest to a shown column of a line (see editor::ByteColumn).
  int ByteColumn(int line, int shownColumn) const;
  // The document's encoding; changing it changes no byte (every view of the document repaints).
  platform::TextEncoding Encoding() const { return document_.Encoding(); }
  void SetEncoding(platform::TextEncoding encoding) { document_.SetEncoding(encoding); }
  // The caret's column counted in characters (the byte column in Windows-1252), for the status bar.
  int CaretCharacterColumn() const;

  TUndoList& UndoList() { return undoList_; }
  TUndoList& RedoList() { return redoList_; }
  bool CanUndo() const { return undoList_.RecordCount() > 0; }
  bool CanRedo() const { return redoList_.RecordCount() > 0; }
  TMarkList& Marks() { return marks_; }

  // Paints the part of the client area inside area: the gutter, then the text, then OnPaint.
  void Paint(platform::Canvas& canvas, const platform::Rect& area);
  void InvalidateGutterLines(int first, int last) { InvalidateLines(first, last, Area::Gutter); }

  // Events.
  std::function<void()> OnChange;
  // The lines changed in any way (typed, replaced, loaded): fires when the line store's update closes.
  std::function<void()> OnLinesChanged;
  std::function<void()> OnSelectionChange;
  std::function<void()> OnCommandDone;
  std::function<void(TqeEditorCommand&, char&, const TCommandData&)> OnProcessCommand;
  std::function<void(TqeEditorCommand&, char&, const TCommandData&)> OnProcessUserCommand;
  std::function<void(char&)> OnKeyPress;
  std::function<void(std::uint16_t&, TShiftState)> OnKeyDown;
  // (mark, keep): clear keep to cancel the mark.
  std::function<void(TMark&, bool&)> OnPlaceBookmark;
  std::function<void(platform::Canvas&)> OnPaint;
  // (search, replacement, line, column, action): asked before each replacement unless replace-all is in
  // force; the action starts as ReplaceCancel.
  std::function<void(std::string_view, std::string_view, int, int, TqeReplaceAction&)> OnReplaceText;
  // (line, special, foreground, background): a special line is drawn in its own colours.
  std::function<void(int, bool&, platform::Color&, platform::Color&)> OnSpecialLineColors;

 private:
  enum class Area { Text, Gutter, Both };

  // own is the view's own document, or shared the one it attaches to.
  TqeCustomEdit(platform::FontEngine& fonts, platform::Clipboard& clipboard, std::unique_ptr<TqeDocument> own,
                TqeDocument* shared);

  // The document's news.
  void LinesChanging() override;
  void LinesChanged() override;
  void LineAdded() override;
  void LineDeleted(int index) override;
  void LineInserted(int index) override;
  void LinePutted(int index, int from, int lastRescanned) override;
  void TextLoaded() override;
  void MarksChanged() override { InvalidateGutterLines(topLine_, topLine_ + visibleRows_); }
  void HighlightingChanged() override { InvalidateAll(); }
  void UndoChanged() override {
    if (OnChange) OnChange();
  }
  void EncodingChanged() override;
  void Activate() { document_.SetActiveView(this); }
  bool Active() const { return document_.ActiveView() == this; }
  // A view that is not editing keeps its place as lines come and go above it: its caret, selection corners
  // and top line move with their text, as marks do.
  void FollowLines(int fromLine, int delta);

  void RecomputeMetrics();
  void GutterChanged();
  // Digits of the gutter's numbers: DigitCount, or more when the last line's number needs them.
  int ShownDigits() const;
  void PaintBlanks(platform::Canvas& canvas, int line, int y, int firstColumn, int lastColumn, int rowStart);
  void PaintGutter(platform::Canvas& canvas, const platform::Rect& clip, int firstLine, int lastLine);
  void PaintText(platform::Canvas& canvas, const platform::Rect& clip, int firstLine, int lastLine);
  void PaintLineNotes(platform::Canvas& canvas, int firstLine, int lastLine);
  void EnsureCaretVisible();
  void UpdateCaret();
  void UpdateScrollBars();
  // Lines covered by the vertical scroll bar; a bar holds 16-bit positions, so more are scaled down.
  long long VerticalScrollRange() const { return static_cast<long long>(LineCount()) + visibleRows_ - 1; }
  void InvalidateAll();
  void InvalidateLines(int first, int last, Area area);
  void Invalidate(const platform::Rect& rect);

  TextPoint ClampCorner(TextPoint point) const;
  // Where text typed or pasted over the selection begins: its first corner, column 1 in line mode, the left
  // column on SelectionEnd's line in column mode.
  TextPoint SelectionInsertPoint() const;
  int LineLength(int line) const { return static_cast<int>(lines_.Get(line - 1).size()); }
  bool Utf8() const { return Encoding() == platform::TextEncoding::Utf8; }
  // A column moved back to the start of the character it falls inside (only UTF-8 has such columns).
  int SnapColumn(int line, int column) const;
  // Moves the caret and the selection's corners to the starts of the characters they stand in.
  void SnapToCharacters();
  // One record (or pair) taken back or done again; Undo and Redo then snap, the replay being over.
  void UndoStep();
  void RedoStep();
  // The nearest column at or left of column that starts a character (or lies past the end) on every one of
  // the lines; column itself outside UTF-8 and during undo and redo.
  int CommonCharacterStart(int firstLine, int lastLine, int column) const;
  // In UTF-8 a column block's corners move out until their columns cut no character on any of its lines:
  // every line then loses and gets back the same byte columns, as undo expects.
  void WidenColumnBlock();
  // The column the view scrolls by: the byte column, or the shown column in UTF-8, where bytes and cells
  // part ways.
  int ViewColumn(TextPoint p) const { return Utf8() ? ShownColumn(p.line, p.column) : p.column; }
  // Moves the caret to column as SetCaretColumn does; a reach above 0 is a column it may stand at whatever
  // the line's length and ScrollPastEOL say (where typed text ends).
  void PlaceCaretColumn(int column, int reach);

  // Replaces the selection with text as one undo step: a record of selectionKind for the selection (when
  // there is one), then the insertion. Returns where the text ends.
  TextPoint ReplaceSelectionRecorded(std::string_view text, TUndoKind selectionKind);
  // Steps of ReplaceSelectionRaw; each moves pos, the caret to be.
  void DeleteSelectionRaw(TextPoint& pos);
  void InsertRaw(TSelectionMode mode, std::string_view text, TextPoint& pos);

  // Each returns false when OnCommandDone must not fire.
  bool RunCommand(TqeEditorCommand command, char character, const TCommandData& data);
  bool RunMove(TqeEditorCommand command, const TCommandData& data);
  TextPoint MoveTarget(TqeEditorCommand move, const TCommandData& data);
  bool TypeCharacter(char character);
  bool TypeString(std::string_view text);
  bool TypeText(std::string_view text, TUndoKind selectionKind);
  bool DeleteLastChar();
  bool DeleteChar();
  bool DeleteWord();
  bool DeleteLastWord();
  void DeleteToLineStart();
  void DeleteToLineEnd();
  void DeleteLine();
  bool LineBreak(bool moveCaret);
  void Unindent();
  void BlockIndent(bool indent);
  void ToggleBookmark(int number);
  void DeleteSelection(TUndoKind kind);
  void DeleteRange(TextPoint from, TextPoint to, TUndoKind kind, TextPoint recordStart, TextPoint recordEnd);
  bool IsWordByte(unsigned char c) const;
  bool InsideSavedSelection(TextPoint p) const;
  // Replace-all: the matches of each line, replaced once the walk is over, as one undo step.
  struct LineMatches;
  void ReplaceEveryMatch(std::vector<LineMatches> batches, const std::string& replacement, bool regex, bool backwards);
  // Pads a line out to a point for the length of one undo step.
  class PaddedLine {
   public:
    PaddedLine(TqeCustomEdit& editor, TextPoint point);
    ~PaddedLine();

   private:
    TqeCustomEdit& editor_;
    int line_ = 0;
  };
  bool TypeOverCompletion(char character);
  // After a character typed at `before`.
  void CompleteTyped(char character, TextPoint before);
  // Puts text in after the typed character, in the same undo step; the caret after it, or where it was.
  void CompleteWith(std::string_view text, bool caretStays);
  // "</" typed just before the end tag `end`: the "/" and that end tag become it, one undo step.
  void JoinEndTag(const std::string& end);
  // The name of the start tag whose '>' ends before byte `end` of a line (1-based), as written.
  std::optional<std::string> StartTagEndingAt(int line, int end);
  void RefreshMatchFrames();
  // Word wrap: the cells a row holds (0, no wrap), the wrap points of a line (see editor::WrapPoints).
  int WrapWidth() const;
  const std::vector<int>& WrapPointsOf(int line) const;
  void ForgetWrapPoints() { wrapCache_.line = 0; }
  // `rows` shown rows after (or before) a row; beyond the text it counts on one a line.
  ShownRow RowAfter(ShownRow row, int rows) const;
  // The row at a client y, and its place counted from the top row (as RowOfLine).
  ShownRow RowAt(int y) const;
  int RowOf(ShownRow row) const;
  ShownRow RowOfPoint(TextPoint p) const;
  // The shown column a row begins at.
  int RowStart(ShownRow row) const;
  // The point of a row `offset` cells from its start, kept on the row and within its line.
  TextPoint PointInRow(ShownRow row, int offset) const;
  // The shown column a point stands at, counted from the start of its row.
  int OffsetInRow(TextPoint p) const { return ShownColumn(p.line, p.column) - RowStart(RowOfPoint(p)); }
  // The caret's vertical moves and its moves to the row's ends while lines wrap; none for the other moves.
  std::optional<TextPoint> WrappedMoveTarget(TqeEditorCommand move);
  // Whether the caret may stand past a line's end: never while lines wrap, where that is past the window.
  bool PastLineEnd() const { return scrollPastEOL_ && !wordWrap_; }
  int FoldMarkPixels() const;
  int FollowingLine(int line) const;
  int PrecedingLine(int line) const;
  const FoldRegion* RegionAt(int line, bool startingThere);
  const FoldRegion* RegionIn(const std::vector<FoldRegion>& regions, int line, bool startingThere) const;
  const std::vector<FoldRegion>& ShownRegions();
  void AddFold(FoldRegion region);
  void FoldsChanged();
  void FoldsFollowLines(int line, int delta);
  void PaintFoldMarks(platform::Canvas& canvas, int firstLine, int lastLine);
  void PaintFoldedEnds(platform::Canvas& canvas, int firstLine, int lastLine);
  void PaintMatchFrames(platform::Canvas& canvas, int firstLine, int lastLine);
  void AutoScrollStep();
  void UpdateAutoScroll();
  void StopAutoScroll();
  void DropAt(TextPoint target, bool copy);
  TextPoint NextWordStart(TextPoint p) const;
  TextPoint PreviousWordStart(TextPoint p) const;

  platform::FontEngine& fonts_;
  platform::Clipboard& clipboard_;
  platform::ControlWindow* window_ = nullptr;

  std::unique_ptr<TqeDocument> ownDocument_;  // none when the view shares another's document
  TqeDocument& document_;
  // The document's parts, under the names every edit uses.
  TqeEditList& lines_;
  TUndoList& undoList_;
  TUndoList& redoList_;
  TMarkList& marks_;
  TqeKeyStrokes keystrokes_;
  TqeEditSearch search_;

  TextPoint caret_;
  TextPoint selStart_;
  TextPoint selEnd_;
  TSelectionMode selectionMode_ = smNormal;
  int leftChar_ = 1;
  int topLine_ = 1;
  int topPart_ = 0;  // the wrapped row of the top line at the top
  bool wordWrap_ = false;
  // The wrap points of the line last asked for, which one key or paint asks for many times over (a long
  // line's cost the time of a layout each); forgotten when lines change.
  struct WrapCache {
    int line = 0;
    int width = 0;
    std::vector<int> points;
  };
  mutable WrapCache wrapCache_;

  platform::FontDesc fontDesc_;
  TTextDrawer textDrawer_;
  TqeGutter gutter_;
  TqeSelectedColor selectedColor_;
  TqeBookMarkOpt bookMarkOptions_;
  InternalMarkGlyphs internalGlyphs_;
  const MarkImages* bookmarkImages_ = nullptr;
  bool hideSelection_ = false;
  bool focused_ = false;
  platform::Color fontColor_ = platform::kColorWindowText;
  platform::Color color_ = platform::kColorWindow;
  int cellWidth_ = 8;
  int cellHeight_ = 16;
  int visibleColumns_ = 10;
  int visibleRows_ = 0;
  int gutterPixels_ = 30;
  int shownDigits_ = 4;
  int columnLimit_ = 1024;
  // The columns of the last long line measured (the caret's, mostly).
  mutable LineColumns columns_;
  int rightEdge_ = 80;
  bool highlightCaretLine_ = false;
  platform::Color caretLineColor_ = platform::Rgb(255, 255, 204);
  int shownCaretLine_ = 0;  // the line painted as the caret's
  bool showBlanks_ = false;
  platform::Color rightEdgeColor_ = platform::kColorSilver;

  bool autoindent_ = true;
  bool insertMode_ = true;
  bool readOnly_ = false;
  bool scrollPastEOL_ = true;
  bool wantTabs_ = false;
  bool halfpageScroll_ = false;
  int extraLineSpacing_ = 0;
  int tabIndent_ = 4;
  bool tabInsertsBlanks_ = true;

  int paintLock_ = 0;
  bool pendingScrollBars_ = false;
  bool pendingRepaint_ = false;
  bool pendingCaret_ = false;
  // While the line store is inside an update, invalidated areas are gathered here.
  bool collecting_ = false;
  platform::Rect collected_;

  // Mouse and drag state.
  platform::EventLoop* eventLoop_ = nullptr;
  bool captured_ = false;
  bool dragPending_ = false;
  bool dragging_ = false;
  bool doubleClickPending_ = false;
  TextPoint dragFirst_, dragLast_;  // the normalized selection when the button went down
  bool dragHadSelection_ = false;
  platform::Point mouseDown_;
  platform::Point lastMouse_;
  platform::TimerId autoScrollTimer_;
  int autoScrollInterval_ = -1;
  int wheelRemainder_ = 0;
  TCaretType insertCaret_ = ctVerticalLine;
  TCaretType overwriteCaret_ = ctBlock;
  bool showScrollHint_ = true;

  bool autoCloseTags_ = true;
  bool showMatches_ = false;
  // What a completion put after the caret, which typing it again moves over; where that is.
  std::string typedOver_;
  TextPoint typedOverAt_;
  bool typedOverAhead_ = true;  // after the caret; else just before it
  struct MatchCache {
    TextPoint caret{0, 0};
    unsigned generation = 0;
    TagMatch match;
  } matchCache_;
  std::vector<TextSpan> shownMatch_;  // the frames painted
  // invariant: sorted by first line, none inside another; each hides lines first + 1 to last.
  std::vector<FoldRegion> folds_;
  bool showFoldMarks_ = false;
  platform::TimerId regionsTimer_;  // gathers the regions of a long text once typing pauses
};

}  // namespace editor
