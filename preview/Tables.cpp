// Table building blocks, column widths, row heights, placement and drawing.
#include "preview/Tables.h"

#include <algorithm>
#include <numeric>

#include "preview/SectionList.h"

namespace preview {
namespace {

int Sum(const std::vector<int>& values, std::size_t first, std::size_t count) {
  return std::accumulate(values.begin() + static_cast<std::ptrdiff_t>(first),
                         values.begin() + static_cast<std::ptrdiff_t>(first + count), 0);
}

// Adds extra to values[first, first + count) in proportion to weights (in equal parts when they are all
// 0); the rounding remainder goes to the last one with a weight.
void Spread(std::vector<int>& values, std::size_t first, std::size_t count, int extra,
            const std::vector<int>& weights) {
  if (count == 0 || extra <= 0) return;
  const int total = Sum(weights, first, count);
  std::size_t last = first + count - 1;
  while (total > 0 && weights[last] == 0) --last;
  int given = 0;
  for (std::size_t k = first; k < first + count; ++k) {
    if (k == last) continue;
    const int share = total > 0 ? MulDivRound(extra, weights[k], total) : extra / static_cast<int>(count);
    values[k] += share;
    given += share;
  }
  values[last] += extra - given;
}

// A width attribute: pixels, or tenths of a percent (1..100 percent) when it holds "%".
void ReadWidth(const TAttribute* width, int& value, bool& percent) {
  if (!width || width->value <= 0) return;
  percent = width->text.find('%') != std::string::npos;
  value = percent ? std::min(width->value, 100) * 10 : width->value;
}

std::optional<platform::Color> ColorOf(const TAttribute* attribute) {
  return attribute ? ParseColor(attribute->text) : std::nullopt;
}

// Two edges of a 3-D frame around r: top and left in one colour, bottom and right in the other.
void Frame3D(platform::Canvas& canvas, const platform::Rect& r, platform::Color topLeft, platform::Color bottomRight) {
  canvas.DrawLine({r.left, r.top}, {r.right - 1, r.top}, topLeft);
  canvas.DrawLine({r.left, r.top}, {r.left, r.bottom - 1}, topLeft);
  canvas.DrawLine({r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, bottomRight);
  canvas.DrawLine({r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, bottomRight);
}

// Takes hole out of every rectangle of area, keeping what is left as rectangles.
void Subtract(std::vector<platform::Rect>& area, const platform::Rect& hole) {
  std::vector<platform::Rect> left;
  for (const platform::Rect& r : area) {
    const platform::Rect cut = r.Intersected(hole);
    if (cut.IsEmpty()) {
      left.push_back(r);
      continue;
    }
    const platform::Rect pieces[] = {{r.left, r.top, r.right, cut.top},
                                     {r.left, cut.bottom, r.right, r.bottom},
                                     {r.left, cut.top, cut.left, cut.bottom},
                                     {cut.right, cut.top, r.right, cut.bottom}};
    for (const platform::Rect& piece : pieces)
      if (!piece.IsEmpty()) left.push_back(piece);
  }
  area = std::move(left);
}

}  // namespace

std::unique_ptr<TCellObj> TCellObj::Placeholder(TSectionList* owner, int rowSpan) {
  std::unique_ptr<TCellObj> placeholder(new TCellObj(owner));
  placeholder->colSpan = 0;
  placeholder->rowSpan = rowSpan;
  return placeholder;
}

TCellObj::TCellObj(TSectionList* owner, const TAttributeList& attributes, VAlign rowVAlign)
    : vAlign(rowVAlign), cell(owner) {
  if (const TAttribute* span = attributes.Find(Attr::ColSpan); span && span->value > 1) colSpan = span->value;
  if (const TAttribute* span = attributes.Find(Attr::RowSpan); span && span->value > 1) rowSpan = span->value;
  ReadWidth(attributes.Find(Attr::Width), givenWd, givenWdPercent);
  if (const TAttribute* height = attributes.Find(Attr::Height)) givenHt = std::max(height->value, 0);
  cell.background = ColorOf(attributes.Find(Attr::BgColor));
}

ThtmlTable::ThtmlTable(TSectionList* owner, const TAttributeList& attributes, int level, int align,
                       const TCell* container)
    : TSectionBase(owner), align_(align), level_(level), container_(container) {
  if (const TAttribute* a = attributes.Find(Attr::Align)) {
    if (SameText(a->text, "CENTER")) align_ = 2;
    if (SameText(a->text, "LEFT") || SameText(a->text, "RIGHT")) {
      align_ = SameText(a->text, "LEFT") ? 1 : 3;
      floating_ = true;
    }
  }
  background_ = ColorOf(attributes.Find(Attr::BgColor));
  borderColor_ = ColorOf(attributes.Find(Attr::BorderColor));
  if (const TAttribute* border = attributes.Find(Attr::Border)) border_ = border->value > 0;
  if (const TAttribute* a = attributes.Find(Attr::CellPadding); a && a->value >= 0) padding_ = std::min(a->value, 50);
  if (const TAttribute* a = attributes.Find(Attr::CellSpacing); a && a->value >= 0) spacing_ = std::min(a->value, 40);
  ReadWidth(attributes.Find(Attr::Width), givenWidth_, givenWidthPercent_);
  if (const TAttribute* a = attributes.Find(Attr::HSpace)) hspace_ = std::min(20, std::abs(a->value));
  if (border_) spacing_ = std::max(spacing_ + 2, 1);
}

int ThtmlTable::Widths::TotalMin() const { return Sum(min, 0, min.size()); }
int ThtmlTable::Widths::TotalMax() const { return Sum(max, 0, max.size()); }

void ThtmlTable::Initialize() {
  if (initialized_) return;
  initialized_ = true;
  if (!background_ && container_) background_ = container_->background;
  for (TCellList& row : rows_)
    for (auto& cell : row.cells)
      if (!cell->cell.background) cell->cell.background = row.background ? row.background : background_;
  // Column spans: placeholders after the spanning cell, with its row span.
  for (TCellList& row : rows_) {
    for (std::size_t j = 0; j < row.cells.size(); ++j) {
      const int span = row.cells[j]->colSpan;
      for (int k = 1; k < span; ++k)
        row.cells.insert(row.cells.begin() + static_cast<std::ptrdiff_t>(j + k),
                         TCellObj::Placeholder(owner_, row.cells[j]->rowSpan));
    }
  }
  // Row spans: cut to the rows left, and a placeholder at the same column in every row covered below.
  for (std::size_t j = 0;; ++j) {
    bool anyColumn = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (j >= rows_[i].cells.size()) continue;
      anyColumn = true;
      TCellObj& cell = *rows_[i].cells[j];
      cell.rowSpan = std::min<int>(cell.rowSpan, static_cast<int>(rows_.size() - i));
      for (int k = 1; k < cell.rowSpan; ++k) {
        auto& below = rows_[i + k].cells;
        while (below.size() < j) below.push_back(TCellObj::Placeholder(owner_, 1));
        below.insert(below.begin() + static_cast<std::ptrdiff_t>(j), TCellObj::Placeholder(owner_, 1));
      }
    }
    if (!anyColumn) break;
  }
  for (const TCellList& row : rows_) columns_ = std::max(columns_, static_cast<int>(row.cells.size()));
  for (const TCellList& row : rows_)
    for (const auto& cell : row.cells)
      anyPixelWidth_ |= !cell->IsPlaceholder() && cell->givenWd > 0 && !cell->givenWdPercent;
  if (columns_ > kMaxColumns) throw EProcessError("Table has too many Columns");
}

void ThtmlTable::SpreadSpan(Widths& w, int first, int span, int cellMin, int cellMax, int cellPercent,
                            bool percentAware) {
  const auto f = static_cast<std::size_t>(first), n = static_cast<std::size_t>(span);
  const int sumMin = Sum(w.min, f, n), sumMax = Sum(w.max, f, n);
  int sumPercent = 0, withoutPercent = 0;
  for (std::size_t k = f; k < f + n; ++k) {
    sumPercent += w.percent[k];
    withoutPercent += w.percent[k] == 0;
  }
  if (!percentAware || (cellPercent == 0 && sumPercent == 0)) {
    Spread(w.min, f, n, cellMin - sumMin, w.min);
    Spread(w.max, f, n, cellMax - sumMax, w.max);
    return;
  }
  if (withoutPercent == 0) {
    if (sumPercent < cellPercent) Spread(w.percent, f, n, cellPercent - sumPercent, w.percent);
  } else {
    const int share = std::max(0, (cellPercent - sumPercent) / withoutPercent);
    for (std::size_t k = f; k < f + n; ++k)
      if (w.percent[k] == 0) w.percent[k] = share;
  }
  // Missing widths go by percentage when every column has one, else to the columns without.
  std::vector<int> byMax(w.max.size(), 0), equal(w.max.size(), 0);
  for (std::size_t k = f; k < f + n; ++k)
    if (w.percent[k] == 0 || withoutPercent == 0) byMax[k] = w.max[k], equal[k] = 1;
  if (withoutPercent == 0) {
    Spread(w.min, f, n, cellMin - sumMin, w.percent);
    Spread(w.max, f, n, cellMax - sumMax, w.percent);
  } else {
    Spread(w.min, f, n, cellMin - sumMin, Sum(byMax, f, n) > 0 ? byMax : equal);
    Spread(w.max, f, n, cellMax - sumMax, equal);
  }
}

ThtmlTable::Widths ThtmlTable::ColumnWidths(bool percentAware, int knownWidth) {
  Widths w{std::vector<int>(columns_, 0), std::vector<int>(columns_, 0), std::vector<int>(columns_, 0)};
  const int extra = 2 * padding_ + spacing_;
  int maxSpan = 1;
  for (int span = 1; span <= maxSpan; ++span) {
    for (TCellList& row : rows_) {
      for (std::size_t j = 0; j < row.cells.size(); ++j) {
        TCellObj& cell = *row.cells[j];
        if (cell.IsPlaceholder()) continue;
        maxSpan = std::max(maxSpan, cell.colSpan);
        if (cell.colSpan != span) continue;
        int contentMin = 0, contentMax = 0;
        cell.cell.WidthRange(contentMin, contentMax);
        int cellMin = contentMin + extra, cellMax = contentMax + extra;
        int percent = 0;
        if (cell.givenWd > 0) {
          if (cell.givenWdPercent)
            percent = cell.givenWd;
          else if (percentAware && knownWidth > 0)
            percent = std::min(1000, cell.givenWd * 1000 / knownWidth);
          else if (!percentAware)
            cellMin = cellMax = std::max(contentMin, cell.givenWd) + extra;
        }
        if (!percentAware) percent = 0;
        const int columnsLeft = columns_ - static_cast<int>(j);
        if (span == 1) {
          w.min[j] = std::max(w.min[j], cellMin);
          w.max[j] = std::max(w.max[j], cellMax);
          w.percent[j] = std::max(w.percent[j], percent);
        } else {
          SpreadSpan(w, static_cast<int>(j), std::min(span, columnsLeft), cellMin, cellMax, percent, percentAware);
        }
      }
    }
  }
  return w;
}

// The percentage distribution of a table with a WIDTH, when its minimums fit in usable.
void ThtmlTable::DistributePercentages(const Widths& w, int usable, std::vector<int>& widths) const {
  const std::size_t n = widths.size();
  std::vector<bool> pinned(n, false);
  bool anyWithout = false;
  for (std::size_t k = 0; k < n; ++k) {
    if (w.percent[k] == 0) {
      widths[k] = w.min[k];
      anyWithout = true;
    } else {
      const int share = MulDivRound(usable, w.percent[k], 1000);
      pinned[k] = share <= w.min[k];
      widths[k] = pinned[k] ? w.min[k] : share;
    }
  }
  int total = Sum(widths, 0, n);
  if (total < usable) {
    std::vector<int> weights(n, 0);
    bool equalMinMax = true;
    for (std::size_t k = 0; k < n; ++k)
      if (w.percent[k] == 0) equalMinMax &= w.max[k] == w.min[k];
    for (std::size_t k = 0; k < n; ++k) {
      if (!anyWithout)
        weights[k] = pinned[k] ? 0 : w.percent[k];
      else if (w.percent[k] == 0)
        weights[k] = equalMinMax ? 1 : w.max[k] - w.min[k];
    }
    Spread(widths, 0, n, usable - total, weights);
  } else if (total > usable) {
    for (int round = 0; round < 4 && total > usable; ++round) {
      std::vector<int> weights(n, 0);
      for (std::size_t k = 0; k < n; ++k) weights[k] = pinned[k] || w.percent[k] == 0 ? 0 : w.percent[k];
      const int weightSum = Sum(weights, 0, n);
      if (weightSum == 0) break;
      const int excess = total - usable;
      for (std::size_t k = 0; k < n; ++k) {
        if (weights[k] == 0) continue;
        const int take = MulDivRound(excess, weights[k], weightSum);
        if (widths[k] - take < w.min[k]) {
          widths[k] = w.min[k];
          pinned[k] = true;
        } else {
          widths[k] -= take;
        }
      }
      total = Sum(widths, 0, n);
    }
  }
  total = Sum(widths, 0, n);
  if (total < usable && n > 0) {
    widths[0] += usable - total;
  } else if (total > usable) {
    for (std::size_t k = 0; k < n; ++k)
      if (!pinned[k] && widths[k] - (total - usable) >= 0) {
        widths[k] -= total - usable;
        break;
      }
  }
}

std::vector<int> ThtmlTable::FitColumns(int usable) {
  const bool percentAware = !anyPixelWidth_ || givenWidth_ > 0;
  Widths w = ColumnWidths(percentAware, usable);
  const std::size_t n = static_cast<std::size_t>(columns_);
  std::vector<int> widths(n, 0);
  const int totalMin = w.TotalMin();
  if (totalMin >= usable) return w.min;
  const auto between = [&w, &widths, n, usable] {
    const int lo = w.TotalMin(), hi = w.TotalMax();
    for (std::size_t k = 0; k < n; ++k)
      widths[k] =
          usable < hi && hi != lo ? w.min[k] + MulDivRound(w.max[k] - w.min[k], usable - lo, hi - lo) : w.max[k];
  };
  if (!percentAware) {
    between();
    return widths;
  }
  if (givenWidth_ > 0) {
    DistributePercentages(w, usable, widths);
    return widths;
  }
  const int sumPercent = Sum(w.percent, 0, n);
  if (sumPercent >= 1 && sumPercent <= 1000) {
    int otherMax = 0;
    for (std::size_t k = 0; k < n; ++k)
      if (w.percent[k] == 0) otherMax += w.max[k];
    int ideal = 0;
    for (std::size_t k = 0; k < n; ++k)
      if (w.percent[k] > 0) ideal = std::max(ideal, MulDivRound(w.max[k], 1000, w.percent[k]));
    if (sumPercent < 1000)
      ideal = std::max(ideal, MulDivRound(otherMax, 1000, 1000 - sumPercent));
    else if (otherMax > 0)
      ideal = 30000;
    if (usable >= ideal) {
      const int rest = MulDivRound(ideal, 1000 - sumPercent, 1000);
      std::vector<int> weights(n, 0), others(n, 0);
      bool anyMax = false;
      for (std::size_t k = 0; k < n; ++k) {
        if (w.percent[k] > 0) widths[k] = MulDivRound(ideal, w.percent[k], 1000);
        anyMax |= w.percent[k] == 0 && w.max[k] > 0;
      }
      for (std::size_t k = 0; k < n; ++k)
        if (w.percent[k] == 0) weights[k] = anyMax ? w.max[k] : 1;
      if (Sum(weights, 0, n) > 0) {
        Spread(others, 0, n, rest, weights);
        for (std::size_t k = 0; k < n; ++k)
          if (w.percent[k] == 0) widths[k] = others[k];
      }
      return widths;
    }
    // Too narrow for every percentage: drop those whose share is below their minimum, then scale the rest.
    for (int guard = 0; guard < 64; ++guard) {
      bool dropped = false;
      for (std::size_t k = 0; k < n; ++k)
        if (w.percent[k] > 0 && usable * w.percent[k] / 1000 - 1 < w.min[k]) {
          w.percent[k] = 0;
          dropped = true;
        }
      int othersMin = 0, shares = 0;
      for (std::size_t k = 0; k < n; ++k) {
        if (w.percent[k] == 0)
          othersMin += w.min[k];
        else
          shares += usable * w.percent[k] / 1000;
      }
      if (shares == 0 || othersMin + shares <= usable) break;
      if (!dropped)
        for (std::size_t k = 0; k < n; ++k)
          if (w.percent[k] > 0) w.percent[k] = w.percent[k] * (usable - othersMin) / shares;
    }
    for (std::size_t k = 0; k < n; ++k)
      if (w.percent[k] > 0) w.min[k] = w.max[k] = usable * w.percent[k] / 1000;
  }
  between();
  return widths;
}

int ThtmlTable::ColumnLeft(std::size_t column) const { return Sum(widths_, 0, std::min(column, widths_.size())); }

platform::Point ThtmlTable::ContentOrigin(std::size_t row, std::size_t column) const {
  const TCellObj& cell = *rows_[row].cells[column];
  const int rowTop = (captionTop_ ? captionHeight_ : 0) + Sum(rowHeights_, 0, row);
  return {spacing_ + padding_ + ColumnLeft(column), rowTop + spacing_ + padding_ + cell.yIndent};
}

int ThtmlTable::Layout(int y, int& position, int& maxWidth, IndentManager& indents) {
  yValue_ = y;
  startPosition_ = position;
  indents.SetLevel(level_, y);
  Initialize();
  const int left = indents.LeftIndent(y), avail = indents.RightSide(y) - left;
  const int target = givenWidth_ == 0     ? avail
                     : givenWidthPercent_ ? MulDivRound(avail, givenWidth_, 1000)
                                          : givenWidth_;
  widths_ = FitColumns(std::max(target - spacing_, 20));
  tableWidth_ = spacing_ + Sum(widths_, 0, widths_.size());
  int captionMin = 0, captionMax = 0;
  if (caption_) caption_->cell.WidthRange(captionMin, captionMax);
  outerWidth_ = std::max(tableWidth_, captionMin);

  // Row heights, by increasing row span.
  rowHeights_.assign(rows_.size(), 0);
  int maxRowSpan = 1;
  for (int span = 1; span <= maxRowSpan; ++span) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      for (std::size_t j = 0; j < rows_[i].cells.size(); ++j) {
        TCellObj& cell = *rows_[i].cells[j];
        if (cell.IsPlaceholder()) continue;
        maxRowSpan = std::max(maxRowSpan, cell.rowSpan);
        if (cell.rowSpan != span) continue;
        cell.wd = Sum(widths_, j, std::min<std::size_t>(cell.colSpan, widths_.size() - j));
        int scratchPosition = 0, scratchWidth = 0;
        cell.vSize = cell.cell.Layout(0, scratchPosition, scratchWidth, CellContentWidth(cell));
        const int height = std::max(cell.vSize, cell.givenHt - 2 * padding_) + 2 * padding_ + spacing_;
        if (span == 1) {
          rowHeights_[i] = std::max(rowHeights_[i], height);
        } else if (const int spanned = Sum(rowHeights_, i, span); spanned < height) {
          const int more = height - spanned;
          for (int k = 0; k < span; ++k) rowHeights_[i + k] += more / span;
          rowHeights_[i + span - 1] += more % span;
        }
      }
    }
  }
  rowsHeight_ = Sum(rowHeights_, 0, rowHeights_.size());

  // Final places: caption on top, the rows, a caption below.
  int unused = 0;
  captionHeight_ = 0;
  if (caption_ && captionTop_) captionHeight_ = caption_->cell.Layout(0, position, unused, outerWidth_);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    for (std::size_t j = 0; j < rows_[i].cells.size(); ++j) {
      TCellObj& cell = *rows_[i].cells[j];
      if (cell.IsPlaceholder()) continue;
      cell.ht = Sum(rowHeights_, i, cell.rowSpan);
      const int free = cell.ht - cell.vSize - spacing_ - 2 * padding_;
      cell.yIndent = cell.vAlign == VAlign::Top ? 0 : cell.vAlign == VAlign::Middle ? free / 2 : free;
      // The cell was laid out for this width when its row's height was found (its text numbered from 0);
      // laying it out again would cost twice per level of nesting, so its text is only renumbered.
      cell.cell.ShiftPositions(position);
      position += cell.cell.CharCount();
    }
  }
  height_ = (captionTop_ ? captionHeight_ : 0) + rowsHeight_ + spacing_;
  if (caption_ && !captionTop_) {
    captionHeight_ = caption_->cell.Layout(0, position, unused, outerWidth_);
    height_ += captionHeight_;
  }

  indent_ = 0;
  if (outerWidth_ < avail) indent_ = align_ == 2 ? (avail - outerWidth_) / 2 : align_ == 3 ? avail - outerWidth_ : 0;
  indent_ += left;
  tableLeft_ = indent_ + (outerWidth_ - tableWidth_) / 2;
  maxWidth = std::max(maxWidth, indent_ + outerWidth_);
  drawHeight_ = height_;
  if (floating_) {
    if (align_ == 1)
      indents.AddLeftFloat(outerWidth_ + hspace_ + 1, y, y + height_ - 1);
    else
      indents.AddRightFloat(outerWidth_ + hspace_ + 1, y, y + height_ - 1);
    height_ = 0;
  }
  return height_;
}

void ThtmlTable::WidthRange(int& min, int& max) {
  Initialize();
  const bool percentAware = !anyPixelWidth_ || givenWidth_ > 0;
  const Widths w = ColumnWidths(percentAware, givenWidthPercent_ ? 0 : givenWidth_);
  min = w.TotalMin() + spacing_;
  max = w.TotalMax() + spacing_;
  if (givenWidth_ > 0 && !givenWidthPercent_) {
    min = std::max(min, givenWidth_);
    max = std::max(max, givenWidth_);
  }
  if (caption_) {
    int captionMin = 0, captionMax = 0;
    caption_->cell.WidthRange(captionMin, captionMax);
    min = std::max(min, captionMin);
    max = std::max(max, captionMin);
  }
}

template <typename F>
bool ThtmlTable::AnyCell(F f) const {
  const int top = yValue_;
  if (caption_ && captionTop_ && f(caption_->cell, platform::Point{indent_, top})) return true;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    for (std::size_t j = 0; j < rows_[i].cells.size(); ++j) {
      const TCellObj& cell = *rows_[i].cells[j];
      if (cell.IsPlaceholder()) continue;
      const platform::Point origin = ContentOrigin(i, j);
      if (f(cell.cell, platform::Point{tableLeft_ + origin.x, top + origin.y})) return true;
    }
  if (caption_ && !captionTop_ && f(caption_->cell, platform::Point{indent_, top + height_ - captionHeight_}))
    return true;
  return false;
}

void ThtmlTable::Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) {
  const int top = yValue_ + offset.y;
  if (top > clip.bottom || top + drawHeight_ < clip.top) return;
  const int partTop = top + (captionTop_ ? captionHeight_ : 0);
  const int partLeft = tableLeft_ + offset.x;
  if (caption_ && captionTop_) caption_->cell.Draw(canvas, clip, {indent_ + offset.x, top});
  const platform::Rect part{partLeft, partTop, partLeft + tableWidth_, partTop + rowsHeight_ + spacing_};
  std::vector<platform::Rect> gaps{part};
  const bool whitePage = platform::ClassicRgb(owner_->Background()) == platform::Rgb(255, 255, 255);
  const platform::Color light = whitePage ? platform::kColorSilver : platform::kColorButtonHighlight;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const int rowTop = partTop + Sum(rowHeights_, 0, i);
    for (std::size_t j = 0; j < rows_[i].cells.size(); ++j) {
      TCellObj& cell = *rows_[i].cells[j];
      if (cell.IsPlaceholder() || !cell.cell.HasContent()) continue;
      const int x = partLeft + ColumnLeft(j) + spacing_, y = rowTop + spacing_;
      const platform::Rect box{x, y, x + cell.wd - spacing_, y + cell.ht - spacing_};
      if (cell.cell.background) canvas.FillRect(box, *cell.cell.background);
      cell.cell.Draw(canvas, clip, {x + padding_, y + padding_ + cell.yIndent});
      if (border_)
        Frame3D(canvas, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}, platform::kColorButtonShadow,
                light);
      if (borderColor_)
        Subtract(gaps, border_ ? platform::Rect{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1} : box);
    }
  }
  if (borderColor_)
    for (const platform::Rect& gap : gaps) canvas.FillRect(gap, *borderColor_);
  if (border_) Frame3D(canvas, part, light, platform::kColorButtonShadow);
  if (caption_ && !captionTop_) caption_->cell.Draw(canvas, clip, {indent_ + offset.x, part.bottom});
}

std::optional<TUrlTarget> ThtmlTable::UrlAt(int x, int y) const {
  std::optional<TUrlTarget> link;
  AnyCell([&](const TCell& cell, platform::Point o) { return (link = cell.UrlAt(x - o.x, y - o.y)).has_value(); });
  return link;
}

TImageObj* ThtmlTable::ImageAtPoint(int x, int y, platform::Point& inside) const {
  TImageObj* image = nullptr;
  AnyCell([&](const TCell& cell, platform::Point o) {
    return (image = cell.ImageAtPoint(x - o.x, y - o.y, inside)) != nullptr;
  });
  return image;
}

bool ThtmlTable::OverText(int x, int y) const {
  return AnyCell([&](const TCell& cell, platform::Point o) { return cell.OverText(x - o.x, y - o.y); });
}

int ThtmlTable::CursorAt(int x, int y) const {
  int position = -1;
  AnyCell([&](const TCell& cell, platform::Point o) { return (position = cell.CursorAt(x - o.x, y - o.y)) >= 0; });
  return position;
}

int ThtmlTable::FindText(int from, std::string_view text, bool matchCase) const {
  int position = -1;
  AnyCell([&](const TCell& cell, platform::Point) { return (position = cell.FindText(from, text, matchCase)) >= 0; });
  return position;
}

bool ThtmlTable::PositionToXY(int position, int& x, int& y) const {
  return AnyCell([&](const TCell& cell, platform::Point o) {
    if (!cell.PositionToXY(position, x, y)) return false;
    x += o.x;
    y += o.y;
    return true;
  });
}

bool ThtmlTable::CharAt(int position, char& ch) const {
  return AnyCell([&](const TCell& cell, platform::Point) { return cell.CharAt(position, ch); });
}

bool ThtmlTable::WordAt(int position, int& start, int& end) const {
  return AnyCell([&](const TCell& cell, platform::Point) { return cell.WordAt(position, start, end); });
}

void ThtmlTable::CopyToBuffer(std::string& buffer) const {
  AnyCell([&](const TCell& cell, platform::Point) {
    cell.CopyToBuffer(buffer);
    return false;
  });
}

void ThtmlTable::CollectImages(std::vector<TImageObj*>& images) const {
  AnyCell([&](const TCell& cell, platform::Point) {
    cell.CollectImages(images);
    return false;
  });
}

void ThtmlTable::ShiftPositions(int delta) {
  TSectionBase::ShiftPositions(delta);
  if (caption_) caption_->cell.ShiftPositions(delta);
  for (TCellList& row : rows_)
    for (auto& cell : row.cells) cell->cell.ShiftPositions(delta);
}

void ThtmlTable::RefreshFonts() {
  if (caption_) caption_->cell.RefreshFonts();
  for (TCellList& row : rows_)
    for (auto& cell : row.cells) cell->cell.RefreshFonts();
}

}  // namespace preview
