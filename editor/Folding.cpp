// Folds: a view hides the inner lines of regions of the outline (the first line stays, with "..." after
// it). Folds belong to the view, not the document; line numbers stay the document's. Rows are the lines
// shown: without folds a line's row is its distance from the top line.
#include <algorithm>

#include "editor/CustomEdit.h"

namespace editor {
namespace {

constexpr int kFoldMarkPixels = 12;

// The fold hiding a line: first < line <= last.
template <typename Folds>
auto FoldHiding(Folds& folds, int line) {
  auto it =
      std::upper_bound(folds.begin(), folds.end(), line - 1, [](int l, const FoldRegion& f) { return l < f.first; });
  if (it == folds.begin()) return folds.end();
  --it;
  return line > it->first && line <= it->last ? it : folds.end();
}

}  // namespace

int TqeCustomEdit::FoldMarkPixels() const { return showFoldMarks_ ? kFoldMarkPixels : 0; }

bool TqeCustomEdit::LineHidden(int line) const { return !folds_.empty() && FoldHiding(folds_, line) != folds_.end(); }

int TqeCustomEdit::FollowingLine(int line) const {
  ++line;
  if (folds_.empty()) return line;
  const auto fold = FoldHiding(folds_, line);
  return fold == folds_.end() ? line : fold->last + 1;
}

int TqeCustomEdit::PrecedingLine(int line) const {
  --line;
  if (folds_.empty()) return line;
  const auto fold = FoldHiding(folds_, line);
  return fold == folds_.end() ? line : fold->first;
}

int TqeCustomEdit::ShownLineAfter(int line, int rows) const {
  if (folds_.empty()) return line + rows;
  for (; rows > 0 && line <= LineCount(); --rows) line = FollowingLine(line);
  for (; rows < 0 && line >= 1; ++rows) line = PrecedingLine(line);
  return line;
}

int TqeCustomEdit::RowOfLine(int line) const {
  if (wordWrap_) return RowOf({line, 0});
  int row = line - topLine_;
  // Hidden lines between the top line and the line are no rows.
  const int from = std::min(line, topLine_), to = std::max(line, topLine_);
  for (const FoldRegion& fold : folds_) {
    if (fold.first >= to) break;
    const int hidden = std::min(fold.last, to - 1) - std::max(fold.first + 1, from) + 1;
    if (hidden > 0) row += line > topLine_ ? -hidden : hidden;
  }
  return row;
}

void TqeCustomEdit::SetShowFoldMarks(bool on) {
  if (on == showFoldMarks_) return;
  showFoldMarks_ = on;
  GutterChanged();
}

const FoldRegion* TqeCustomEdit::RegionAt(int line, bool startingThere) {
  return RegionIn(document_.Outline().Regions(), line, startingThere);
}

// The innermost region not folded yet that starts at the line, or (startingThere false) holds it.
const FoldRegion* TqeCustomEdit::RegionIn(const std::vector<FoldRegion>& regions, int line, bool startingThere) const {
  const auto end =
      std::upper_bound(regions.begin(), regions.end(), line, [](int l, const FoldRegion& r) { return l < r.first; });
  for (auto it = end; it != regions.begin();) {
    --it;
    if (startingThere && it->first != line) break;
    if (it->last >= line && FoldHiding(folds_, it->first + 1) == folds_.end()) return &*it;
  }
  return nullptr;
}

// The regions the gutter's marks show. Gathering them again after every key would slow typing in a long
// text, so there they are the last ones gathered until typing pauses.
const std::vector<FoldRegion>& TqeCustomEdit::ShownRegions() {
  DocumentOutline& outline = document_.Outline();
  constexpr int kLongText = 20000;
  if (!outline.RegionsStale() || !eventLoop_ || LineCount() < kLongText) return outline.Regions();
  if (!regionsTimer_.id) {
    regionsTimer_ = eventLoop_->StartTimer(300, [this] {
      eventLoop_->StopTimer(regionsTimer_);
      regionsTimer_ = {};
      document_.Outline().Regions();
      InvalidateGutterLines(topLine_, topLine_ + visibleRows_);
    });
  }
  return outline.LastRegions();
}

void TqeCustomEdit::AddFold(FoldRegion region) {
  // An outer fold takes in the ones inside it.
  folds_.erase(std::remove_if(folds_.begin(), folds_.end(),
                              [&](const FoldRegion& f) { return f.first >= region.first && f.last <= region.last; }),
               folds_.end());
  folds_.insert(std::upper_bound(folds_.begin(), folds_.end(), region,
                                 [](const FoldRegion& a, const FoldRegion& b) { return a.first < b.first; }),
                region);
}

void TqeCustomEdit::FoldsChanged() {
  if (LineHidden(topLine_)) topLine_ = PrecedingLine(topLine_ + 1), topPart_ = 0;
  if (LineHidden(caret_.line)) {
    const int line = PrecedingLine(caret_.line + 1);
    SetCaretXY({LineLength(line) + 1, line});
    SetSelectionStart(caret_);
    SetSelectionEnd(caret_);
  }
  InvalidateAll();
  UpdateScrollBars();
  UpdateCaret();
}

bool TqeCustomEdit::Fold(int line) {
  const FoldRegion* region = RegionAt(line, false);
  if (!region) return false;
  AddFold(*region);
  FoldsChanged();
  return true;
}

bool TqeCustomEdit::Unfold(int line) {
  const auto before = folds_.size();
  folds_.erase(std::remove_if(folds_.begin(), folds_.end(),
                              [&](const FoldRegion& f) { return line >= f.first && line <= f.last; }),
               folds_.end());
  if (folds_.size() == before) return false;
  FoldsChanged();
  return true;
}

bool TqeCustomEdit::ToggleFoldAt(int line) {
  if (const auto it = std::find_if(folds_.begin(), folds_.end(), [&](const FoldRegion& f) { return f.first == line; });
      it != folds_.end()) {
    folds_.erase(it);
    FoldsChanged();
    return true;
  }
  const FoldRegion* region = RegionAt(line, true);
  if (!region) return false;
  AddFold(*region);
  FoldsChanged();
  return true;
}

void TqeCustomEdit::FoldAll() {
  for (const FoldRegion& region : document_.Outline().Regions())
    if (FoldHiding(folds_, region.first) == folds_.end() && FoldHiding(folds_, region.first + 1) == folds_.end())
      AddFold(region);
  FoldsChanged();
}

void TqeCustomEdit::UnfoldAll() {
  if (folds_.empty()) return;
  folds_.clear();
  FoldsChanged();
}

int TqeCustomEdit::FoldMarkAt(int x, int y) const {
  if (!showFoldMarks_ || x < gutterPixels_ - 2 - kFoldMarkPixels || x >= gutterPixels_ - 2) return 0;
  const ShownRow row = RowAt(y);
  return row.part == 0 && row.line >= 1 && row.line <= LineCount() ? row.line : 0;
}

bool TqeCustomEdit::LineFolded(int line) const {
  return std::any_of(folds_.begin(), folds_.end(), [&](const FoldRegion& f) { return f.first == line; });
}

// Lines come and go at `line` (1-based): folds below move with their text; one the change falls inside
// is opened, as is one whose text an edit changes.
void TqeCustomEdit::FoldsFollowLines(int line, int delta) {
  if (folds_.empty()) return;
  const auto before = folds_.size();
  folds_.erase(std::remove_if(folds_.begin(), folds_.end(),
                              [&](const FoldRegion& f) {
                                return (line > f.first && line <= f.last) || (delta < 0 && line == f.first);
                              }),
               folds_.end());
  for (FoldRegion& f : folds_)
    if (f.first >= line) f.first += delta, f.last += delta;
  if (folds_.size() != before) InvalidateAll();
}

void TqeCustomEdit::PaintFoldMarks(platform::Canvas& canvas, int firstLine, int lastLine) {
  if (!showFoldMarks_) return;
  const std::vector<FoldRegion>& regions = ShownRegions();
  const int rowHeight = RowHeight();
  const int size = std::min(kFoldMarkPixels - 4, rowHeight - 4);
  const int left = gutterPixels_ - 2 - kFoldMarkPixels + (kFoldMarkPixels - size) / 2;
  for (int line = firstLine; line <= lastLine; line = FollowingLine(line)) {
    const bool folded = LineFolded(line);
    if (!folded && !RegionIn(regions, line, true)) continue;
    const int top = RowOfLine(line) * rowHeight + (rowHeight - size) / 2;
    const platform::Color color = platform::kColorButtonShadow;
    const int right = left + size, bottom = top + size;
    canvas.FillRect({left, top, right, bottom}, color_);
    canvas.DrawLine({left, top}, {right, top}, color);
    canvas.DrawLine({left, bottom}, {right, bottom}, color);
    canvas.DrawLine({left, top}, {left, bottom}, color);
    canvas.DrawLine({right, top}, {right, bottom + 1}, color);
    const int mid = top + size / 2, centre = left + size / 2;
    canvas.DrawLine({left + 2, mid}, {right - 1, mid}, fontColor_);
    if (folded) canvas.DrawLine({centre, top + 2}, {centre, bottom - 1}, fontColor_);
  }
}

void TqeCustomEdit::PaintFoldedEnds(platform::Canvas& canvas, int firstLine, int lastLine) {
  const int rowHeight = RowHeight();
  for (const FoldRegion& fold : folds_) {
    if (fold.first < firstLine || fold.first > lastLine) continue;
    const TextPoint end{LineLength(fold.first) + 1, fold.first};
    const ShownRow row = RowOfPoint(end);
    const int column = ShownColumn(fold.first, end.column) + 1;
    const int x = (column - RowStart(row)) * cellWidth_ + TextLeft(), y = RowOf(row) * rowHeight;
    if (x + 3 * cellWidth_ <= gutterPixels_ + 2) continue;
    const platform::Rect box{x, y + 1, x + 3 * cellWidth_, y + rowHeight - 1};
    textDrawer_.SetBackgroundColour(color_);
    textDrawer_.SetForegroundColour(platform::kColorButtonShadow);
    textDrawer_.ApplyStyle(0);
    textDrawer_.DrawText(x, y, true, box, "...");
    canvas.DrawLine({box.left, box.top}, {box.right - 1, box.top}, platform::kColorButtonShadow);
    canvas.DrawLine({box.left, box.bottom - 1}, {box.right - 1, box.bottom - 1}, platform::kColorButtonShadow);
    canvas.DrawLine({box.left, box.top}, {box.left, box.bottom - 1}, platform::kColorButtonShadow);
    canvas.DrawLine({box.right - 1, box.top}, {box.right - 1, box.bottom}, platform::kColorButtonShadow);
  }
}

}  // namespace editor
