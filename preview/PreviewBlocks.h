// The blocks a previewed page is made of, and the cell that stacks them. Every block is laid out at a
// y in its cell's coordinates and drawn at an offset from them; character positions number the text
// of the whole document, for selection, search and copying.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "preview/HtmlTokenizer.h"
#include "preview/IndentManager.h"
#include "preview/PreviewFonts.h"

namespace preview {

class TSectionList;
class TImageObj;

// A block that cannot be laid out ("Table has too many Columns"): the block is dropped and the message shown.
class EProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class BlockKind {
  Section,
  PreFormated,
  OListItem,
  UListItem,
  DListItem,
  ParagraphSpace,
  HeadingSpace,
  HorzLine,
  Table
};

class TSectionBase {
 public:
  explicit TSectionBase(TSectionList* owner) : owner_(owner) {}
  virtual ~TSectionBase() = default;
  TSectionBase(const TSectionBase&) = delete;
  TSectionBase& operator=(const TSectionBase&) = delete;

  virtual BlockKind Kind() const = 0;
  // Appends the block's part of the owner's selection.
  virtual void CopyToBuffer(std::string& buffer) const;
  // Lays the block out with its top at y; position is the document position of its first character and
  // moves past its text; maxWidth grows to the widest thing laid out. Answers the height.
  virtual int Layout(int y, int& position, int& maxWidth, IndentManager& indents);
  virtual void Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset);
  // The link at a point of the cell, if any.
  virtual std::optional<TUrlTarget> UrlAt(int x, int y) const;
  // The image whose picture holds a point of the cell, and where in the picture the point is.
  virtual TImageObj* ImageAtPoint(int /*x*/, int /*y*/, platform::Point& /*inside*/) const { return nullptr; }
  // Whether a point of the cell is over a character of text.
  virtual bool OverText(int /*x*/, int /*y*/) const { return false; }
  virtual int CursorAt(int x, int y) const;
  virtual int FindText(int from, std::string_view text, bool matchCase) const;
  virtual bool PositionToXY(int position, int& x, int& y) const;
  virtual bool CharAt(int position, char& ch) const;
  // The run of word characters around position, within the block's own text.
  virtual bool WordAt(int /*position*/, int& /*start*/, int& /*end*/) const { return false; }
  virtual void RefreshFonts() { UpdateSpacing(); }
  virtual void UpdateSpacing() {}
  virtual void WidthRange(int& min, int& max);
  // Moves the block's place in the document's character numbering (a table cell's text is numbered
  // from 0 when its size is found, and moved where it belongs afterwards).
  virtual void ShiftPositions(int delta) { startPosition_ += delta; }
  // Adds the block's images (and those of the cells it holds) to images.
  virtual void CollectImages(std::vector<TImageObj*>& /*images*/) const {}

  TSectionList* Owner() const { return owner_; }
  // A colour the page's CSS gives the block (drawn across the room it is laid out in), or nothing.
  const std::optional<platform::Color>& Background() const { return background_; }
  void SetBackground(std::optional<platform::Color> color) { background_ = color; }
  // The horizontal box the page's CSS puts the block in: a width it is centred at (0 for the whole room),
  // then insets on the left and right (margins, borders and padding of the blocks around it).
  struct Box {
    std::int16_t width = 0;
    std::int16_t left = 0;
    std::int16_t right = 0;
  };
  // The box of the text, and the box of the background (that of the block the colour belongs to).
  void SetBox(Box text, Box background) {
    box_ = text;
    backBox_ = background;
  }
  // Narrows the room from left to right to a box: first centred at its width, then inset.
  static void FitBox(const Box& box, int& left, int& right);
  int Height() const { return height_; }
  int DrawHeight() const { return drawHeight_; }
  int Top() const { return yValue_; }
  int StartPosition() const { return startPosition_; }

 protected:
  // True when the owner's selection runs across this block's start.
  bool SelectionSpansStart() const;
  const Box& TextBox() const { return box_; }
  // Keeps the room the block's background fills, from the indents at its top.
  void PlaceBackground(int y, const IndentManager& indents);
  void DrawBackground(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) const;

  TSectionList* owner_;
  int height_ = 0;
  int drawHeight_ = 0;
  int yValue_ = 0;
  int startPosition_ = 0;

 private:
  std::optional<platform::Color> background_;
  Box box_;
  Box backBox_;
  int backLeft_ = 0;
  int backRight_ = 0;
};

// The space a P leaves.
class TParagraphSpace : public TSectionBase {
 public:
  using TSectionBase::TSectionBase;
  BlockKind Kind() const override { return BlockKind::ParagraphSpace; }
  void CopyToBuffer(std::string& buffer) const override;
  void UpdateSpacing() override;
};

// The space above and below a heading, by its level.
class THeadingSpace : public TSectionBase {
 public:
  THeadingSpace(TSectionList* owner, int level) : TSectionBase(owner), level_(level) {}
  BlockKind Kind() const override { return BlockKind::HeadingSpace; }
  void CopyToBuffer(std::string& buffer) const override;
  void UpdateSpacing() override;

 private:
  int level_;
};

// A rule (HR).
class THorzLine : public TSectionBase {
 public:
  THorzLine(TSectionList* owner, const TAttributeList& attributes);
  BlockKind Kind() const override { return BlockKind::HorzLine; }
  void CopyToBuffer(std::string& buffer) const override;
  int Layout(int y, int& position, int& maxWidth, IndentManager& indents) override;
  void Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) override;
  void UpdateSpacing() override;

 private:
  enum class Align { Left, Center, Right };
  int thickness_ = 2;
  int width_ = 0;  // 0: the full width
  bool percent_ = false;
  Align align_ = Align::Center;
  std::optional<platform::Color> color_;
  bool noShade_ = false;
  int left_ = 0;  // the indents at the last layout
  int right_ = 0;
};

// A list of blocks laid out one below the other: the document, and every table cell.
class TCell {
 public:
  explicit TCell(TSectionList* owner) : owner_(owner) {}
  virtual ~TCell() = default;

  // Takes the block; an empty one is ignored.
  void Add(std::unique_ptr<TSectionBase> block);
  const std::vector<std::unique_ptr<TSectionBase>>& Blocks() const { return blocks_; }
  bool Empty() const { return blocks_.empty(); }
  // False when the cell holds nothing but empty sections: such a table cell draws no background or border.
  bool HasContent() const;
  void Clear() { blocks_.clear(); }

  // Lays the blocks out for width from y; a block whose layout fails is reported and removed.
  int Layout(int y, int& position, int& maxWidth, int width);
  void WidthRange(int& min, int& max);
  void Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset);
  std::optional<TUrlTarget> UrlAt(int x, int y) const;
  TImageObj* ImageAtPoint(int x, int y, platform::Point& inside) const;
  bool OverText(int x, int y) const;
  int CursorAt(int x, int y) const;
  int FindText(int from, std::string_view text, bool matchCase) const;
  bool PositionToXY(int position, int& x, int& y) const;
  bool CharAt(int position, char& ch) const;
  bool WordAt(int position, int& start, int& end) const;
  void CopyToBuffer(std::string& buffer) const;
  void RefreshFonts();
  void CollectImages(std::vector<TImageObj*>& images) const;
  void ShiftPositions(int delta);
  int CharCount() const { return charCount_; }
  // The cell's own background (a table cell's BGCOLOR), drawn by the table that holds it.
  std::optional<platform::Color> background;

 private:
  TSectionList* owner_;
  std::vector<std::unique_ptr<TSectionBase>> blocks_;
  int charCount_ = 0;
};

}  // namespace preview
