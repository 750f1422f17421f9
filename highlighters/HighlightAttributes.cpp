// Attribute changes and their notifications.
#include "highlighters/HighlightAttributes.h"

namespace highlighters {

void TqeHighLightAttributes::SetBackground(platform::Color color) {
  if (color == background_) return;
  background_ = color;
  Changed();
}

void TqeHighLightAttributes::SetForeground(platform::Color color) {
  if (color == foreground_) return;
  foreground_ = color;
  Changed();
}

void TqeHighLightAttributes::SetStyle(platform::FontStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TqeHighLightAttributes::SetIntegerStyle(int value) {
  SetStyle(static_cast<platform::FontStyle>(value & platform::kBold));
  for (platform::FontStyle bit : {platform::kItalic, platform::kUnderline, platform::kStrikeOut})
    if (value & bit) SetStyle(static_cast<platform::FontStyle>(style_ | bit));
}

void TqeHighLightAttributes::Assign(const TqeHighLightAttributes& other) {
  background_ = other.background_;
  foreground_ = other.foreground_;
  style_ = other.style_;
  name_ = other.name_;
}

}  // namespace highlighters
