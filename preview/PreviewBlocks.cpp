// The blocks of fixed height (paragraph and heading spaces, rules) and the cell that stacks blocks.
#include "preview/PreviewBlocks.h"

#include <algorithm>

#include "preview/Section.h"
#include "preview/SectionList.h"

namespace preview {
namespace {

constexpr const char* kLineBreak = "\r\n";

}  // namespace

void TSectionBase::CopyToBuffer(std::string&) const {}

int TSectionBase::Layout(int y, int& position, int&, IndentManager& indents) {
  yValue_ = y;
  startPosition_ = position;
  drawHeight_ = height_;
  // A space between blocks has no list level of its own; its background spans the room outside lists.
  if (Background()) indents.SetLevel(0, y);
  PlaceBackground(y, indents);
  return height_;
}

void TSectionBase::FitBox(const Box& box, int& left, int& right) {
  if (box.width > 0 && right - left > box.width) {
    left += (right - left - box.width) / 2;
    right = left + box.width;
  }
  left = std::min(left + box.left, right - 1);
  right = std::max(right - box.right, left + 1);
}

void TSectionBase::PlaceBackground(int y, const IndentManager& indents) {
  if (!background_) return;
  backLeft_ = indents.LeftIndent(y);
  backRight_ = indents.RightSide(y);
  FitBox(backBox_, backLeft_, backRight_);
}

void TSectionBase::DrawBackground(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) const {
  if (!background_) return;
  const platform::Rect area{backLeft_ + offset.x, yValue_ + offset.y, backRight_ + offset.x,
                            yValue_ + height_ + offset.y};
  const platform::Rect visible{std::max(area.left, clip.left), std::max(area.top, clip.top),
                               std::min(area.right, clip.right), std::min(area.bottom, clip.bottom)};
  if (visible.left < visible.right && visible.top < visible.bottom) canvas.FillRect(visible, *background_);
}

void TSectionBase::Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) {
  DrawBackground(canvas, clip, offset);
}
std::optional<TUrlTarget> TSectionBase::UrlAt(int, int) const { return std::nullopt; }
int TSectionBase::CursorAt(int, int) const { return -1; }
int TSectionBase::FindText(int, std::string_view, bool) const { return -1; }
bool TSectionBase::PositionToXY(int, int&, int&) const { return false; }
bool TSectionBase::CharAt(int, char&) const { return false; }

void TSectionBase::WidthRange(int& min, int& max) { min = max = 0; }

bool TSectionBase::SelectionSpansStart() const {
  return owner_->SelStart() < startPosition_ && owner_->SelEnd() > startPosition_;
}

void TParagraphSpace::CopyToBuffer(std::string& buffer) const {
  if (SelectionSpansStart()) buffer += kLineBreak;
}

void TParagraphSpace::UpdateSpacing() { height_ = MulDivRound(14, owner_->Settings().defFontSize, 12); }

void THeadingSpace::CopyToBuffer(std::string& buffer) const {
  if (SelectionSpansStart()) buffer += kLineBreak;
}

void THeadingSpace::UpdateSpacing() {
  static constexpr int kBase[] = {8, 16, 12, 10, 8, 6, 4};  // level 0 first
  height_ = MulDivRound(kBase[level_ >= 1 && level_ <= 6 ? level_ : 0], owner_->Settings().defFontSize, 12);
}

THorzLine::THorzLine(TSectionList* owner, const TAttributeList& attributes) : TSectionBase(owner) {
  if (const TAttribute* size = attributes.Find(Attr::Size); size && size->value > 0)
    thickness_ = std::min(size->value, 20);
  if (const TAttribute* width = attributes.Find(Attr::Width); width && width->value > 0) {
    percent_ = width->text.find('%') != std::string::npos;
    width_ = percent_ ? std::min(width->value, 100) : width->value;
  }
  if (const TAttribute* align = attributes.Find(Attr::Align)) {
    if (SameText(align->text, "left")) align_ = Align::Left;
    if (SameText(align->text, "right")) align_ = Align::Right;
  }
  if (const TAttribute* color = attributes.Find(Attr::Color)) color_ = ParseColor(color->text);
  noShade_ = attributes.Find(Attr::NoShade) != nullptr;
}

void THorzLine::CopyToBuffer(std::string& buffer) const {
  if (SelectionSpansStart()) buffer += kLineBreak;
}

void THorzLine::UpdateSpacing() { height_ = MulDivRound(20, owner_->Settings().defFontSize, 12) + thickness_ - 2; }

int THorzLine::Layout(int y, int& position, int& maxWidth, IndentManager& indents) {
  left_ = indents.LeftIndent(y);
  right_ = indents.RightSide(y);
  if (width_ > 0 && !percent_) maxWidth = std::max(maxWidth, left_ + width_);
  return TSectionBase::Layout(y, position, maxWidth, indents);
}

void THorzLine::Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) {
  const int top = yValue_ + offset.y + (height_ - thickness_) / 2;
  if (top > clip.bottom || top + thickness_ < clip.top) return;
  int x1 = left_ + 10, x2 = right_ - 10;
  if (width_ > 0) {
    const int available = right_ - left_;
    const int width = percent_ ? MulDivRound(available, width_, 100) : width_;
    x1 = align_ == Align::Left ? left_ : align_ == Align::Right ? right_ - width : left_ + (available - width) / 2;
    x2 = x1 + width;
  }
  x1 += offset.x;
  x2 += offset.x;
  if (color_) {
    canvas.FillRect({x1, top, x2, top + thickness_}, *color_);
    return;
  }
  const platform::Color background = owner_->Background();
  const bool whitePage = platform::ClassicRgb(background) == platform::Rgb(255, 255, 255);
  const platform::Color dark = noShade_ ? platform::Rgb(0, 0, 0) : platform::kColorButtonShadow;
  const platform::Color light = noShade_    ? platform::Rgb(0, 0, 0)
                                : whitePage ? platform::kColorSilver
                                            : platform::kColorButtonHighlight;
  const int bottom = top + thickness_ - 1;
  canvas.DrawLine({x1, top}, {x2 - 1, top}, dark);
  canvas.DrawLine({x1, top}, {x1, bottom}, dark);
  canvas.DrawLine({x1, bottom}, {x2 - 1, bottom}, light);
  canvas.DrawLine({x2 - 1, top}, {x2 - 1, bottom}, light);
}

void TCell::Add(std::unique_ptr<TSectionBase> block) {
  if (!block) return;
  if (auto* section = dynamic_cast<TSection*>(block.get())) {
    if (section->Vacant()) return;
    if (section->Kind() == BlockKind::PreFormated && section->Text().empty()) section->AppendText(" ");
    section->Compact();
  }
  block->UpdateSpacing();
  blocks_.push_back(std::move(block));
}

bool TCell::HasContent() const {
  return std::any_of(blocks_.begin(), blocks_.end(), [](const auto& block) {
    const auto* section = dynamic_cast<const TSection*>(block.get());
    return !section || !section->Text().empty();
  });
}

int TCell::Layout(int y, int& position, int& maxWidth, int width) {
  // The edges only matter while the cell is laid out, so they live no longer than that.
  IndentManager indents;
  indents.Reset(0, width);
  const int startPosition = position;
  int height = 0;
  for (std::size_t i = 0; i < blocks_.size();) {
    try {
      height += blocks_[i]->Layout(y + height, position, maxWidth, indents);
      ++i;
    } catch (const EProcessError& error) {
      if (owner_->onLayoutError) owner_->onLayoutError(*this, i, error.what());
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  charCount_ = position - startPosition;
  const int floats = std::max(indents.LeftFloatBottom(), indents.RightFloatBottom());
  return std::max(height, floats + 1 - y);
}

void TCell::WidthRange(int& min, int& max) {
  min = max = 0;
  for (auto& block : blocks_) {
    int blockMin = 0, blockMax = 0;
    block->WidthRange(blockMin, blockMax);
    min = std::max(min, blockMin);
    max = std::max(max, blockMax);
  }
}

void TCell::Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) {
  for (auto& block : blocks_) {
    const int top = block->Top() + offset.y;
    if (top >= clip.bottom) break;
    if (top + block->DrawHeight() >= clip.top) block->Draw(canvas, clip, offset);
  }
}

std::optional<TUrlTarget> TCell::UrlAt(int x, int y) const {
  for (const auto& block : blocks_)
    if (auto link = block->UrlAt(x, y)) return link;
  return std::nullopt;
}

TImageObj* TCell::ImageAtPoint(int x, int y, platform::Point& inside) const {
  for (const auto& block : blocks_)
    if (TImageObj* image = block->ImageAtPoint(x, y, inside)) return image;
  return nullptr;
}

bool TCell::OverText(int x, int y) const {
  return std::any_of(blocks_.begin(), blocks_.end(), [&](const auto& block) { return block->OverText(x, y); });
}

int TCell::CursorAt(int x, int y) const {
  for (const auto& block : blocks_)
    if (const int position = block->CursorAt(x, y); position >= 0) return position;
  return -1;
}

int TCell::FindText(int from, std::string_view text, bool matchCase) const {
  for (const auto& block : blocks_)
    if (const int position = block->FindText(from, text, matchCase); position >= 0) return position;
  return -1;
}

bool TCell::PositionToXY(int position, int& x, int& y) const {
  return std::any_of(blocks_.begin(), blocks_.end(),
                     [&](const auto& block) { return block->PositionToXY(position, x, y); });
}

bool TCell::CharAt(int position, char& ch) const {
  return std::any_of(blocks_.begin(), blocks_.end(), [&](const auto& block) { return block->CharAt(position, ch); });
}

bool TCell::WordAt(int position, int& start, int& end) const {
  return std::any_of(blocks_.begin(), blocks_.end(),
                     [&](const auto& block) { return block->WordAt(position, start, end); });
}

void TCell::CopyToBuffer(std::string& buffer) const {
  for (const auto& block : blocks_) block->CopyToBuffer(buffer);
}

void TCell::ShiftPositions(int delta) {
  for (auto& block : blocks_) block->ShiftPositions(delta);
}

void TCell::CollectImages(std::vector<TImageObj*>& images) const {
  for (const auto& block : blocks_) block->CollectImages(images);
}

void TCell::RefreshFonts() {
  for (auto& block : blocks_) block->RefreshFonts();
}

}  // namespace preview
