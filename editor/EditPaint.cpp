// Painting in plain colours: gutter strip, text on the fixed grid, selection and the right edge.
#include <algorithm>

#include "editor/CustomEdit.h"

namespace editor {

void TqeCustomEdit::Paint(platform::Canvas& canvas, const platform::Rect& area) {
  const int rowHeight = RowHeight();
  canvas.FillRect({area.left, area.top, std::min(area.right, gutterPixels_), area.bottom}, platform::kColorButtonFace);
  canvas.FillRect({std::max(area.left, gutterPixels_), area.top, area.right, area.bottom}, color_);

  const int textX = gutterPixels_ + 2;
  const int shownColumns = visibleColumns_ + 1;  // the partly visible last cell too
  auto [first, last] = NormalizedSelection();
  const bool selected = HasSelection();
  for (int row = std::max(0, area.top / rowHeight); row * rowHeight < area.bottom; ++row) {
    const int line = topLine_ + row;
    if (line > LineCount()) break;
    const int y = row * rowHeight;
    const std::string_view text = lines_.Get(line - 1);
    auto visible = [&](int from, int to) {  // columns [from, to) clipped to the window
      from = std::max(from, leftChar_);
      to = std::min(to, leftChar_ + shownColumns);
      return std::pair{from, std::max(from, to)};
    };
    auto bytes = [&](int from, int to) {
      if (from - 1 >= static_cast<int>(text.size())) return std::string_view{};
      return text.substr(from - 1, std::min<size_t>(to - from, text.size() - (from - 1)));
    };
    auto [v0, v1] = visible(1, static_cast<int>(text.size()) + 1);
    canvas.DrawText({textX, y}, font_, fontColor_, bytes(v0, v1), cellWidth_);

    if (!selected || line < first.line || line > last.line) continue;
    int from = 1, to = static_cast<int>(text.size()) + 1;
    if (selectionMode_ == smColumn) {
      from = std::min(first.column, last.column);
      to = std::max(first.column, last.column);
    } else if (selectionMode_ == smNormal) {
      if (line == first.line) from = first.column;
      if (line == last.line) to = last.column;
    } else {
      to = std::max(to, leftChar_ + shownColumns);
    }
    auto [s0, s1] = visible(from, to);
    if (s1 <= s0) continue;
    const int x = textX + (s0 - leftChar_) * cellWidth_;
    canvas.FillRect({x, y, x + (s1 - s0) * cellWidth_, y + rowHeight}, platform::kColorHighlight);
    canvas.DrawText({x, y}, font_, platform::kColorHighlightText, bytes(s0, s1), cellWidth_);
  }

  if (rightEdge_ > 0) {
    const int x = TextLeft() + rightEdge_ * cellWidth_;
    if (x > gutterPixels_ && x >= area.left && x < area.right)
      canvas.DrawLine({x, area.top}, {x, area.bottom}, rightEdgeColor_);
  }
}

}  // namespace editor
