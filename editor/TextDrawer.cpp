// Font variants and grid text.
#include "editor/TextDrawer.h"

#include <algorithm>
#include <cstdlib>

namespace editor {

TFontStock::TFontStock(platform::FontEngine& fonts, const platform::FontDesc& base) : fonts_(fonts), base_(base) {
  if (base.family.empty()) throw EFontStockError("SetBaseFont: 'Value' must be specified.");
  const platform::FontMetrics m = fonts_.Metrics(Font(0));
  cellWidth_ = m.cellWidth;
  cellHeight_ = std::abs(m.cellHeight);
}

platform::FontHandle TFontStock::Font(platform::FontStyle style) {
  auto& variant = variants_[style & 15];
  if (!variant) {
    platform::FontDesc desc = base_;
    desc.style = style & 15;
    variant = fonts_.CreateFont(desc);
  }
  return *variant;
}

void TTextDrawer::SetBaseFont(const platform::FontDesc& font) {
  if (font.family.empty()) throw ETextDrawerError("SetBaseFont: 'Value' must be specified.");
  stock_.emplace(fonts_, font);
  style_ = font.style;
}

void TTextDrawer::StartDrawing(platform::Canvas& canvas) {
  if (drawingNest_ > 0 && canvas_ != &canvas) throw ETextDrawerError("TTextDrawer: already drawing on another canvas");
  canvas_ = &canvas;
  ++drawingNest_;
}

void TTextDrawer::FinishDrawing() {
  if (drawingNest_ > 0 && --drawingNest_ == 0) canvas_ = nullptr;
}

void TTextDrawer::DrawText(int x, int y, bool opaque, const platform::Rect& clip, std::string_view text,
                           platform::TextEncoding encoding) {
  if (!canvas_ || !stock_) return;
  if (opaque) canvas_->FillRect(clip, background_);
  if (!text.empty()) canvas_->DrawText({x, y}, stock_->Font(style_), foreground_, text, CellWidth(), encoding);
}

void TTextDrawer::DrawWave(int left, int right, int bottom, platform::Color color) {
  if (!canvas_ || right <= left) return;
  // Two pixels up, two down: the wave stays inside the row's last three pixels.
  for (int x = left; x < right - 1; x += 2) {
    const bool rising = ((x - left) / 2) % 2 == 0;
    const int next = std::min(x + 2, right - 1);
    canvas_->DrawLine({x, rising ? bottom : bottom - 2}, {next, rising ? bottom - 2 : bottom}, color);
  }
}

}  // namespace editor
