// Tables: rows of cells (each a TCell of ordinary blocks), spans, an optional caption, padding and
// spacing, fixed and percentage widths (percentages in tenths), backgrounds, borders and floating.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "preview/PreviewBlocks.h"

namespace preview {

enum class VAlign { Top, Middle, Bottom };

class TCellObj {
 public:
  // A placeholder (column span 0) stands in a grid slot that a spanning cell covers.
  static std::unique_ptr<TCellObj> Placeholder(TSectionList* owner, int rowSpan);
  TCellObj(TSectionList* owner, const TAttributeList& attributes, VAlign rowVAlign);

  bool IsPlaceholder() const { return colSpan == 0; }

  int colSpan = 1;
  int rowSpan = 1;
  int wd = 0;  // the spanned width and the allowed height, from the last layout
  int ht = 0;
  int vSize = 0;  // content height
  int givenHt = 0;
  int yIndent = 0;  // vertical offset of the content
  VAlign vAlign = VAlign::Middle;
  int givenWd = 0;  // pixels, or tenths of a percent when givenWdPercent
  bool givenWdPercent = false;
  TCell cell;

 private:
  explicit TCellObj(TSectionList* owner) : cell(owner) {}
};

struct TCellList {
  std::vector<std::unique_ptr<TCellObj>> cells;
  std::optional<platform::Color> background;
};

class ThtmlTable : public TSectionBase {
 public:
  static constexpr int kMaxColumns = 30;

  ThtmlTable(TSectionList* owner, const TAttributeList& attributes, int level, int align, const TCell* container);

  BlockKind Kind() const override { return BlockKind::Table; }
  void AddRow(TCellList row) { rows_.push_back(std::move(row)); }
  void SetCaption(std::unique_ptr<TCellObj> caption, bool atTop) {
    caption_ = std::move(caption);
    captionTop_ = atTop;
  }

  int Layout(int y, int& position, int& maxWidth, IndentManager& indents) override;
  void Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) override;
  void WidthRange(int& min, int& max) override;
  std::optional<TUrlTarget> UrlAt(int x, int y) const override;
  TImageObj* ImageAtPoint(int x, int y, platform::Point& inside) const override;
  bool OverText(int x, int y) const override;
  int CursorAt(int x, int y) const override;
  int FindText(int from, std::string_view text, bool matchCase) const override;
  bool PositionToXY(int position, int& x, int& y) const override;
  bool CharAt(int position, char& ch) const override;
  bool WordAt(int position, int& start, int& end) const override;
  void CopyToBuffer(std::string& buffer) const override;
  void RefreshFonts() override;
  void ShiftPositions(int delta) override;
  void CollectImages(std::vector<TImageObj*>& images) const override;

  // For the layout dump.
  int OuterWidth() const { return outerWidth_; }
  const TCellObj* Caption() const { return caption_.get(); }
  const std::vector<TCellList>& Rows() const { return rows_; }
  // Where a cell's content starts, relative to the table's top and its part's left (R and C 0-based).
  platform::Point ContentOrigin(std::size_t row, std::size_t column) const;

 private:
  struct Widths {
    std::vector<int> min, max, percent;
    int TotalMin() const;
    int TotalMax() const;
  };
  void Initialize();
  Widths ColumnWidths(bool percentAware, int knownWidth);
  void SpreadSpan(Widths& w, int first, int span, int cellMin, int cellMax, int cellPercent, bool percentAware);
  std::vector<int> FitColumns(int usable);
  void DistributePercentages(const Widths& w, int usable, std::vector<int>& widths) const;
  int CellContentWidth(const TCellObj& cell) const { return cell.wd - 2 * padding_ - spacing_; }
  int ColumnLeft(std::size_t column) const;
  // Calls f(cell, content origin in cell coordinates' document place) for the caption and every cell.
  template <typename F>
  bool AnyCell(F f) const;

  std::vector<TCellList> rows_;
  std::unique_ptr<TCellObj> caption_;
  bool captionTop_ = true;
  int columns_ = 0;
  int givenWidth_ = 0;  // pixels, or tenths of a percent when givenWidthPercent_
  bool givenWidthPercent_ = false;
  bool border_ = false;
  int padding_ = 1;
  int spacing_ = 2;
  int align_;  // 1 left, 2 centre, 3 right
  bool floating_ = false;
  int hspace_ = 5;
  int level_;
  std::optional<platform::Color> background_;
  std::optional<platform::Color> borderColor_;
  const TCell* container_;
  bool initialized_ = false;
  bool anyPixelWidth_ = false;

  std::vector<int> widths_;
  std::vector<int> rowHeights_;
  int tableWidth_ = 0;
  int outerWidth_ = 0;
  int captionHeight_ = 0;
  int rowsHeight_ = 0;
  int indent_ = 0;     // left of the outer width
  int tableLeft_ = 0;  // left of the table part
};

}  // namespace preview
