// The document: defaults, layout for a width, the selection.
#include "preview/SectionList.h"

#include <algorithm>

#include "preview/PageStyles.h"
#include "preview/Section.h"
#include "preview/Tables.h"

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
  backgroundPicture_.reset();
  maps.clear();
  delayedImages.clear();
  controls.clear();
  forms.clear();
  animated_.clear();
  styles.reset();
  widest_ = height_ = 0;
}

void TSectionList::SetBackgroundImage(std::string name) {
  backgroundImage_ = std::move(name);
  TAttributeList attributes;
  attributes.Add({Attr::Src, 0, backgroundImage_});
  backgroundPicture_ = std::make_unique<TImageObj>(this, 0, attributes, false);
}

const imaging::Bitmap* TSectionList::BackgroundBitmap() {
  if (!backgroundPicture_ || !viewImages) return nullptr;
  backgroundPicture_->Size(0);
  return backgroundPicture_->StillPicture();
}

std::string TSectionList::ExpandSource(const std::string& src) const {
  std::string path = src;
  if (path.rfind("file://", 0) == 0)
    path.erase(0, 7);
  else if (path.rfind("file:", 0) == 0)
    path.erase(0, 5);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || path.front() == '/' || imageFolder.empty()) return path;
  return imageFolder + (imageFolder.back() == '/' ? "" : "/") + path;
}

const TMapItem* TSectionList::FindMap(const std::string& name) const {
  for (const TMapItem& map : maps)
    if (map.name == name) return &map;
  return nullptr;
}

void TSectionList::Paint(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset,
                         const platform::Rect& visible) {
  paintOrigin_ = offset;
  paintVisible_ = visible;
  for (auto& control : controls) control->drawn = false;
  Draw(canvas, clip, offset);
  HideControlsOutOfSight();
}

// Hiding a control repaints what was under it; hiding controls a paint merely did not reach (a blinking
// caret repaints a strip) would start a paint that shows them again, and so on without end.
void TSectionList::HideControlsOutOfSight() {
  for (auto& control : controls)
    if (!control->drawn &&
        control->placed.Translated(paintOrigin_.x, paintOrigin_.y).Intersected(paintVisible_).IsEmpty())
      control->Hide();
}

void TSectionList::ControlFocusChanged(const TFormControlObj& control, bool focused) {
  if (focused && onControlFocus) onControlFocus(control);
  // A control kept out of sight while it had the focus goes once it loses it.
  if (!focused) HideControlsOutOfSight();
}

int TSectionList::DoLayout(int width) {
  for (auto& control : controls) {
    control->SizeControl();
    control->placed = {};  // until drawn where this layout puts it
  }
  int position = 0;
  widest_ = 0;
  height_ = Layout(0, position, widest_, width);
  std::vector<TImageObj*> images;
  CollectImages(images);
  animated_.clear();
  for (TImageObj* image : images) {
    image->ResetAnimation();
    if (image->Animated()) animated_.push_back(image);
  }
  return height_;
}

std::vector<platform::Rect> TSectionList::TickAnimations(int elapsedMs) {
  std::vector<platform::Rect> changed;
  for (TImageObj* image : animated_)
    if (image->AdvanceDrawn(elapsedMs)) changed.push_back(image->DrawnBox());
  return changed;
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
