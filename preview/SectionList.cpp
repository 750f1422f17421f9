// The document: defaults, layout for a width, the selection.
#include "preview/SectionList.h"

#include <algorithm>

namespace preview {
namespace {

PreviewSettings Normalized(PreviewSettings settings) {
  if (settings.defFontName.size() > 33) settings.defFontName.resize(33);
  if (settings.defPreFontName.size() > 33) settings.defPreFontName.resize(33);
  settings.defFontSize = std::max(settings.defFontSize, 6);
  return settings;
}

}  // namespace

TSectionList::TSectionList(platform::FontEngine& fonts, PreviewSettings settings)
    : TCell(this), fonts_(fonts), settings_(Normalized(std::move(settings))), background_(settings_.defBackground) {}

void TSectionList::SetSettings(PreviewSettings settings) {
  const bool backgroundWasDefault = background_ == settings_.defBackground;
  settings_ = Normalized(std::move(settings));
  if (backgroundWasDefault) background_ = settings_.defBackground;
  RefreshFonts();
}

void TSectionList::ClearDocument() {
  Clear();
  selStart_ = selEnd_ = 0;
  background_ = settings_.defBackground;
  backgroundImage_.clear();
  widest_ = height_ = 0;
}

int TSectionList::DoLayout(int width) {
  int position = 0;
  widest_ = 0;
  height_ = Layout(0, position, widest_, width);
  return height_;
}

void TSectionList::SetSelection(int start, int end) {
  selStart_ = std::min(start, end);
  selEnd_ = std::max(start, end);
}

std::string TSectionList::SelectedText() const {
  std::string buffer;
  if (selStart_ < selEnd_) CopyToBuffer(buffer);
  return buffer;
}

bool DrawsFilledDiscs(platform::Color background) {
  if (background == platform::kColorButtonFace) return true;
  const platform::Color rgb = platform::ClassicRgb(background);
  return rgb == platform::Rgb(255, 255, 255) || rgb == platform::kColorSilver;
}

}  // namespace preview
