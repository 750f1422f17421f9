// TqeDocument: the text an editor shows, apart from any view of it. It owns the line store with its range
// slots, the undo and redo lists, the marks and the highlighter binding, keeps the slots true as lines
// change, and tells every attached view what changed so that each repaints and keeps its own caret,
// selection and scroll position.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/DocumentOutline.h"
#include "editor/EditList.h"
#include "editor/MarkList.h"
#include "editor/SpellingLines.h"
#include "editor/UndoList.h"
#include "highlighters/CustomHighlighter.h"
#include "platform/TextEncoding.h"

namespace editor {

// What a view of a document hears. Line indexes are the store's (0-based); the slots are already up to date
// when a line notification arrives.
class DocumentView {
 public:
  // An update of the lines begins (changes are gathered) and ends (gathered changes are shown).
  virtual void LinesChanging() = 0;
  virtual void LinesChanged() = 0;
  virtual void LineAdded() = 0;
  virtual void LineDeleted(int index) = 0;
  virtual void LineInserted(int index) = 0;
  // The line's text was replaced from byte `from` on (0-based; what comes before it is as it was); lines up
  // to lastRescanned had their start states rescanned.
  virtual void LinePutted(int index, int from, int lastRescanned) = 0;
  virtual void TextLoaded() = 0;
  virtual void MarksChanged() = 0;
  // The highlighter was bound, changed its colours or went away: everything is repainted.
  virtual void HighlightingChanged() = 0;
  // A record was added to the undo or redo list.
  virtual void UndoChanged() = 0;
  // The same bytes are now read in another encoding.
  virtual void EncodingChanged() = 0;

 protected:
  ~DocumentView() = default;
};

class TqeDocument : private highlighters::HighlighterClient {
 public:
  TqeDocument();
  ~TqeDocument() override;
  TqeDocument(const TqeDocument&) = delete;
  TqeDocument& operator=(const TqeDocument&) = delete;

  TqeEditList& Lines() { return lines_; }
  const TqeEditList& Lines() const { return lines_; }
  TUndoList& UndoList() { return undoList_; }
  TUndoList& RedoList() { return redoList_; }
  TMarkList& Marks() { return marks_; }
  const TMarkList& Marks() const { return marks_; }
  // Tags, comments, blocks and brackets as the highlighter reads them, for the writing aids.
  DocumentOutline& Outline() { return outline_; }
  // The misspelt words of each line, for the underlines; off until a check is set.
  SpellingLines& Spelling() { return spelling_; }
  // Sets the spelling's check (none: off) and repaints the views.
  void SetSpellCheck(SpellingLines::WordCheck check);

  // What a page check said about lines, shown in the gutter: one note a line (1-based), in line order.
  struct LineNote {
    int line = 0;
    bool error = false;   // an error rather than a warning
    std::string message;  // every message of the line, one a line
  };
  void SetLineNotes(std::vector<LineNote> notes);
  const LineNote* NoteOn(int line) const;

  highlighters::TqeCustomHighLighter* HighLighter() const { return highlighter_; }
  // Binding rescans every line's slot at once, so painting never starts from another scanner's state.
  void SetHighLighter(highlighters::TqeCustomHighLighter* highlighter);

  // How the bytes are read. A load detects it (platform::DetectEncoding over the loaded lines); setting it
  // changes no byte and leaves the history as it is.
  platform::TextEncoding Encoding() const { return encoding_; }
  void SetEncoding(platform::TextEncoding encoding);
  // Whether a load may find UTF-8; when not, every load reads Windows-1252.
  void SetDetectUtf8(bool on) { detectUtf8_ = on; }

  int MaxUndo() const { return undoList_.MaxCount(); }
  void SetMaxUndo(int count);  // negative values are ignored; applies to both lists

  // Views attach when they are made and detach when they go. The first view is the active one.
  void Attach(DocumentView* view);
  void Detach(DocumentView* view);
  // The view whose commands are editing the text: it answers the end of an update as the only view of a
  // text does (the selection collapses to its caret). The others keep their selections.
  DocumentView* ActiveView() const { return activeView_; }
  void SetActiveView(DocumentView* view) { activeView_ = view; }

  // Fires when an update of the lines ends (an edit, a load), after the views have heard of it.
  std::function<void()> OnTextChanged;

  bool Replaying() const { return replaying_ > 0; }
  // Marks the length of an undo or redo step: records added meanwhile keep the redo list.
  class ReplayScope {
   public:
    explicit ReplayScope(TqeDocument& document) : depth_(document.replaying_) { ++depth_; }
    ~ReplayScope() { --depth_; }
    ReplayScope(const ReplayScope&) = delete;
    ReplayScope& operator=(const ReplayScope&) = delete;

   private:
    int& depth_;
  };

 private:
  void HighlighterChanged() override;
  void HighlighterDestroyed() override;
  template <typename Notify>
  void ForEachView(Notify notify) {
    for (DocumentView* view : views_) notify(*view);
  }
  void Rescanned(int index);
  void Added();
  void Loaded();

  TqeEditList lines_;
  platform::TextEncoding encoding_ = platform::TextEncoding::Cp1252;
  bool detectUtf8_ = true;
  TUndoList undoList_;
  TUndoList redoList_;
  TMarkList marks_;
  DocumentOutline outline_{lines_};
  SpellingLines spelling_{lines_, outline_, encoding_};
  std::vector<LineNote> lineNotes_;
  highlighters::TqeCustomHighLighter* highlighter_ = nullptr;
  std::vector<DocumentView*> views_;
  DocumentView* activeView_ = nullptr;
  int replaying_ = 0;  // inside Undo or Redo (they nest)
};

}  // namespace editor
