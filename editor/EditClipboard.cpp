// Clipboard transfers: text goes out as plain text and in the block-type format that keeps its
// selection mode, so a column or line block pastes back as one.
#include <algorithm>
#include <string>
#include <vector>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

// Clipboard text ends at its first zero byte, as a zero-terminated block always did.
std::string_view UpToZero(std::string_view data) { return data.substr(0, data.find('\0')); }

// A column block read in another encoding, its rows padded with blanks to one length again: the block goes
// in and comes out again (undo) by byte columns, and its rows' characters may now differ in bytes.
std::string TranscodedBlock(std::string_view text, platform::TextEncoding from, platform::TextEncoding to) {
  std::vector<std::string> rows;
  std::size_t width = 0;
  for (std::string_view row : SplitAtLineEnds(text)) {
    rows.push_back(platform::Transcode(row, from, to));
    width = std::max(width, rows.back().size());
  }
  std::string out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) out += "\r\n";
    rows[i].resize(width, ' ');
    out += rows[i];
  }
  return out;
}

}  // namespace

void TqeCustomEdit::CopySelection() {
  if (!HasSelection()) return;
  const std::string text = SelectedText();
  std::string block(1, static_cast<char>(selectionMode_));
  block += text;
  const bool ok = clipboard_.SetItems(
      {{std::string(platform::PlainTextFormat(Encoding())), text}, {std::string(BlockTypeFormat(Encoding())), block}});
  if (!ok) throw EqeEditError("Clipboard copy operation failed");
}

void TqeCustomEdit::CutSelection() {
  Activate();
  if (!HasSelection()) return;
  CopySelection();
  IncPaintLock();
  undoList_.AddRecord(UndoDelete, selStart_, selectionMode_, SelectedText(), selEnd_);
  ReplaceSelectionRaw(smNormal, {});
  DecPaintLock();
}

void TqeCustomEdit::PasteClipboard() {
  Activate();
  // A block copied from a document of the other encoding is read in this one's.
  const platform::TextEncoding encoding = Encoding();
  const platform::TextEncoding other =
      encoding == platform::TextEncoding::Utf8 ? platform::TextEncoding::Cp1252 : platform::TextEncoding::Utf8;
  const std::string_view blockFormat =
      clipboard_.HasFormat(BlockTypeFormat(encoding)) ? BlockTypeFormat(encoding) : BlockTypeFormat(other);
  const bool hasBlock = clipboard_.HasFormat(blockFormat);
  const std::string_view textFormat = platform::PlainTextFormat(encoding);
  if (!hasBlock && !clipboard_.HasFormat(textFormat)) return;
  auto data = clipboard_.Data(hasBlock ? blockFormat : textFormat);
  if (!data) throw EqeEditError("Clipboard paste operation failed.");
  if (hasBlock && blockFormat != BlockTypeFormat(encoding) && !data->empty()) {
    const std::string_view text = UpToZero(std::string_view(*data).substr(1));
    *data = data->front() + (data->front() == smColumn ? TranscodedBlock(text, other, encoding)
                                                       : platform::Transcode(text, other, encoding));
  }

  IncPaintLock();
  const TextPoint from = SelectionInsertPoint();
  if (HasSelection()) undoList_.AddRecord(UndoSelectionReplaced, selStart_, selectionMode_, SelectedText(), selEnd_);
  if (hasBlock && !data->empty()) {
    const auto stored = static_cast<unsigned char>((*data)[0]);
    const TSelectionMode mode = stored <= smLine ? static_cast<TSelectionMode>(stored) : smNormal;
    const std::string_view text = UpToZero(std::string_view(*data).substr(1));
    const TextPoint end = ReplaceSelectionRaw(mode, text);
    // Whole lines pasted above the caret line are, as text, a normal insertion at its column 1, wherever
    // the caret or the replaced selection began on that line (an empty block inserts nothing at all).
    TextPoint start = from;
    if (mode == smLine && !text.empty()) start.column = 1;
    const int width = static_cast<int>(SplitAtLineEnds(text).back().size());
    // A column block lands left of the caret when the caret's column would cut a UTF-8 character.
    if (mode == smColumn) start.column = end.column - width;
    undoList_.AddRecord(UndoPaste, start, mode == smLine ? smNormal : mode, {}, end);
    // The caret goes below the block, at its left edge, ready to paste the next block under it.
    if (mode == smColumn) SetCaretXY({caret_.column - width, caret_.line + 1});
  } else {
    undoList_.Lock();
    const TextPoint end = SetSelectedText(UpToZero(*data));
    undoList_.Unlock();
    undoList_.AddRecord(UndoPaste, from, smNormal, {}, end);
  }
  EnsureCaretVisible();
  DecPaintLock();
}

void TqeCustomEdit::ClearText() {
  Activate();
  IncPaintLock();
  if (HasSelection()) SetSelectionStart({1, 1});
  lines_.Clear();
  DecPaintLock();
}

}  // namespace editor
