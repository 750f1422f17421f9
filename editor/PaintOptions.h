// The editor's painting properties: the gutter, the selection colours and the bookmark options.
#pragma once

#include <algorithm>
#include <functional>

#include "platform/Color.h"

namespace editor {

// TqeGutter: the strip at the left. Setters clamp as the control always has and report every change.
class TqeGutter {
 public:
  platform::Color Color() const { return color_; }
  // The two lines at its right edge: a lit one and its shadow, as a raised frame's.
  platform::Color EdgeLight() const { return edgeLight_; }
  platform::Color EdgeShadow() const { return edgeShadow_; }
  int Width() const { return width_; }
  bool ShowLineNumbers() const { return showLineNumbers_; }
  int DigitCount() const { return digitCount_; }
  bool LeadingZeros() const { return leadingZeros_; }
  bool ZeroStart() const { return zeroStart_; }
  int LeftOffset() const { return leftOffset_; }
  int RightOffset() const { return rightOffset_; }

  void SetColor(platform::Color c) { Set(color_, c); }
  void SetEdgeColors(platform::Color light, platform::Color shadow) {
    edgeLight_ = light;
    Set(edgeShadow_, shadow);
  }
  void SetWidth(int w) { Set(width_, std::max(0, w)); }
  void SetShowLineNumbers(bool on) { Set(showLineNumbers_, on); }
  void SetDigitCount(int n) { Set(digitCount_, std::clamp(n, 2, 12)); }
  void SetLeadingZeros(bool on) { Set(leadingZeros_, on); }
  void SetZeroStart(bool on) { Set(zeroStart_, on); }
  void SetLeftOffset(int x) { Set(leftOffset_, std::max(0, x)); }
  void SetRightOffset(int x) { Set(rightOffset_, std::max(0, x)); }

  std::function<void()> OnChange;

 private:
  template <typename T>
  void Set(T& field, T value) {
    field = value;
    if (OnChange) OnChange();
  }
  platform::Color color_ = platform::kColorButtonFace;
  platform::Color edgeLight_ = platform::kColorButtonHighlight;
  platform::Color edgeShadow_ = platform::kColorButtonShadow;
  int width_ = 30;
  bool showLineNumbers_ = false;
  int digitCount_ = 4;
  bool leadingZeros_ = false;
  bool zeroStart_ = false;
  int leftOffset_ = 16;
  int rightOffset_ = 2;
};

struct TqeSelectedColor {
  platform::Color Background = platform::kColorHighlight;
  platform::Color Foreground = platform::kColorHighlightText;
};

struct TqeBookMarkOpt {
  bool EnableKeys = true;
  bool GlyphsVisible = true;
  int LeftMargin = 2;
  int Xoffset = 12;
};

}  // namespace editor
