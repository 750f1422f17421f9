// TFontStock and TTextDrawer: every character on the grid. The stock keeps one font per combination of the
// four style bits, made on first use from the base font; the drawer paints text with each character in a
// cell of exactly the cell width, so bold and italic text never leave the grid.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Font.h"

namespace editor {

class EFontStockError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class ETextDrawerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFontStock {
 public:
  // A base font without a family raises EFontStockError.
  TFontStock(platform::FontEngine& fonts, const platform::FontDesc& base);
  platform::FontHandle Font(platform::FontStyle style);
  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }

 private:
  platform::FontEngine& fonts_;
  platform::FontDesc base_;
  std::array<std::optional<platform::FontHandle>, 16> variants_;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
};

class TTextDrawer {
 public:
  explicit TTextDrawer(platform::FontEngine& fonts) : fonts_(fonts) {}

  // Rebuilds the stock for font and selects the font's own style. A font without a family raises
  // ETextDrawerError "SetBaseFont: 'Value' must be specified.".
  void SetBaseFont(const platform::FontDesc& font);
  void ApplyStyle(platform::FontStyle style) { style_ = style; }
  void SetForegroundColour(platform::Color color) { foreground_ = color; }
  void SetBackgroundColour(platform::Color color) { background_ = color; }
  void SetExtraSpacing(int pixels) { extraSpacing_ = pixels; }
  int CellWidth() const { return stock_ ? stock_->CellWidth() + extraSpacing_ : 0; }
  int CellHeight() const { return stock_ ? stock_->CellHeight() : 0; }
  // The base font's variant for style, made once and kept by the stock.
  platform::FontHandle Font(platform::FontStyle style) { return stock_ ? stock_->Font(style) : platform::FontHandle{}; }

  // Drawing happens between the outermost StartDrawing and FinishDrawing on one canvas; nesting counts.
  void StartDrawing(platform::Canvas& canvas);
  void FinishDrawing();
  // Draws text with its first cell at x; opaque fills clip with the background colour first.
  void DrawText(int x, int y, bool opaque, const platform::Rect& clip, std::string_view text,
                platform::TextEncoding encoding = platform::TextEncoding::Cp1252);
  // A wavy line from left to right (exclusive) whose troughs touch bottom: a misspelt word's underline.
  void DrawWave(int left, int right, int bottom, platform::Color color);

 private:
  platform::FontEngine& fonts_;
  std::optional<TFontStock> stock_;
  platform::FontStyle style_ = 0;
  platform::Color foreground_ = platform::kColorWindowText;
  platform::Color background_ = platform::kColorWindow;
  int extraSpacing_ = 0;
  platform::Canvas* canvas_ = nullptr;
  int drawingNest_ = 0;
};

}  // namespace editor
