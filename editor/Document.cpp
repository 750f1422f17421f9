// The document's answers to the line store: the range slots are rescanned once, then every view hears of
// the change.
#include "editor/Document.h"

#include <algorithm>

#include "editor/RangeScan.h"

namespace editor {
namespace {

// The encoding a loaded text is read in: the rule of platform::DetectEncoding, applied line by line so the
// text is never joined for it (no line end is part of a UTF-8 sequence).
platform::TextEncoding DetectedEncoding(const TqeEditList& lines) {
  std::string head;
  platform::Utf8Kind kind = platform::Utf8Kind::Ascii;
  // Past an invalid byte only the declaration can still make it UTF-8.
  for (int i = 0;
       i < lines.Count() && (kind != platform::Utf8Kind::Invalid || head.size() < platform::kDeclarationBytes); ++i) {
    const std::string_view line = lines.Get(i);
    if (head.size() < platform::kDeclarationBytes)
      head.append(line.substr(0, platform::kDeclarationBytes - head.size())).push_back('\n');
    const platform::Utf8Kind lineKind = kind == platform::Utf8Kind::Invalid ? kind : platform::CheckUtf8(line);
    if (lineKind != platform::Utf8Kind::Ascii) kind = lineKind;
  }
  return platform::DetectEncoding(kind, head);
}

}  // namespace

TqeDocument::TqeDocument()
    // A new edit starts a new history: the redo records would replay at places that no longer hold their
    // text. Undo and Redo add records to the undo list too, and keep the redo list.
    : undoList_([this] {
        if (replaying_ == 0) redoList_.ClearRecords();
        ForEachView([](DocumentView& v) { v.UndoChanged(); });
      }),
      redoList_([this] { ForEachView([](DocumentView& v) { v.UndoChanged(); }); }) {
  lines_.OnChanging = [this] { ForEachView([](DocumentView& v) { v.LinesChanging(); }); };
  lines_.OnChanged = [this] {
    ForEachView([](DocumentView& v) { v.LinesChanged(); });
    if (OnTextChanged) OnTextChanged();
  };
  lines_.OnAdded = [this] { Added(); };
  lines_.OnDeleted = [this](int i) {
    outline_.LineDeleted(i);
    spelling_.LineDeleted(i);
    Rescanned(i);
    ForEachView([i](DocumentView& v) { v.LineDeleted(i); });
  };
  lines_.OnInserted = [this](int i) {
    outline_.LineInserted(i);
    spelling_.LineInserted(i);
    Rescanned(i);
    ForEachView([i](DocumentView& v) { v.LineInserted(i); });
  };
  lines_.OnPutted = [this](int i) {
    outline_.LineChanged(i);
    spelling_.LineChanged(i);
    int last = i;
    if (highlighter_) {
      highlighter_->SetRangeState(lines_.Slot(i));
      last = RescanFrom(lines_, *highlighter_, i);
    }
    ForEachView([i, from = lines_.PutFrom(), last](DocumentView& v) { v.LinePutted(i, from, last); });
  };
  lines_.OnLoaded = [this] { Loaded(); };
  marks_.OnChange = [this] { ForEachView([](DocumentView& v) { v.MarksChanged(); }); };
  lines_.Add({});
}

TqeDocument::~TqeDocument() {
  if (highlighter_) highlighter_->RemoveClient(this);
}

void TqeDocument::Attach(DocumentView* view) {
  views_.push_back(view);
  if (!activeView_) activeView_ = view;
}

void TqeDocument::Detach(DocumentView* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
  if (activeView_ == view) activeView_ = views_.empty() ? nullptr : views_.front();
}

void TqeDocument::SetHighLighter(highlighters::TqeCustomHighLighter* highlighter) {
  if (highlighter_) highlighter_->RemoveClient(this);
  highlighter_ = highlighter;
  outline_.SetHighlighter(highlighter);
  spelling_.Reset();
  if (highlighter_) {
    highlighter_->AddClient(this);
    RescanAll(lines_, *highlighter_);
  }
  HighlighterChanged();
}

void TqeDocument::HighlighterChanged() {
  ForEachView([](DocumentView& v) { v.HighlightingChanged(); });
}

void TqeDocument::HighlighterDestroyed() {
  highlighter_ = nullptr;
  outline_.SetHighlighter(nullptr);
  spelling_.Reset();
  HighlighterChanged();
}

void TqeDocument::SetSpellCheck(SpellingLines::WordCheck check) {
  spelling_.SetCheck(std::move(check));
  HighlighterChanged();
}

void TqeDocument::SetLineNotes(std::vector<LineNote> notes) {
  lineNotes_ = std::move(notes);
  ForEachView([](DocumentView& v) { v.MarksChanged(); });
}

const TqeDocument::LineNote* TqeDocument::NoteOn(int line) const {
  const auto at = std::lower_bound(lineNotes_.begin(), lineNotes_.end(), line,
                                   [](const LineNote& note, int l) { return note.line < l; });
  return at != lineNotes_.end() && at->line == line ? &*at : nullptr;
}

void TqeDocument::SetMaxUndo(int count) {
  if (count < 0) return;
  undoList_.SetMaxCount(count);
  redoList_.SetMaxCount(count);
}

// A line came or went at index: later lines may start in another state now.
void TqeDocument::Rescanned(int index) {
  if (!highlighter_ || lines_.Count() == 0) return;
  if (index <= 0) {
    highlighter_->ResetRangeState();
    lines_.SetSlot(0, static_cast<RangeSlot>(highlighter_->RangeState()));
    if (lines_.Count() > 1) RescanFrom(lines_, *highlighter_, 0);
  } else {
    highlighter_->SetRangeState(lines_.Slot(index - 1));
    RescanFrom(lines_, *highlighter_, index - 1);
  }
}

void TqeDocument::Added() {
  const int count = lines_.Count();
  outline_.LineInserted(count - 1);
  spelling_.LineInserted(count - 1);
  if (highlighter_) {
    if (count < 2) {
      highlighter_->ResetRangeState();
      lines_.SetSlot(0, static_cast<RangeSlot>(highlighter_->RangeState()));
    } else {
      highlighter_->SetRangeState(lines_.Slot(count - 2));
      highlighter_->StartLine(lines_.Get(count - 2), count - 2);
      highlighter_->ScanToLineEnd();
      lines_.SetSlot(count - 1, static_cast<RangeSlot>(highlighter_->RangeState()));
    }
  }
  ForEachView([](DocumentView& v) { v.LineAdded(); });
}

void TqeDocument::SetEncoding(platform::TextEncoding encoding) {
  if (encoding == encoding_) return;
  encoding_ = encoding;
  spelling_.Reset();
  ForEachView([](DocumentView& v) { v.EncodingChanged(); });
}

void TqeDocument::Loaded() {
  if (lines_.Count() == 0) lines_.Add({});
  encoding_ = detectUtf8_ ? DetectedEncoding(lines_) : platform::TextEncoding::Cp1252;
  outline_.Reset();
  spelling_.Reset();
  // The loaded lines carry no states yet; fill every slot so painting can start at any line.
  if (highlighter_) RescanAll(lines_, *highlighter_);
  ForEachView([](DocumentView& v) { v.TextLoaded(); });
  undoList_.ClearRecords();
  redoList_.ClearRecords();
}

}  // namespace editor
