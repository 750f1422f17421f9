// TqeHighLightAttributes: the colours and font style of one kind of token.
#pragma once

#include <functional>
#include <string>

#include "platform/Color.h"
#include "platform/Font.h"

namespace highlighters {

class TqeHighLightAttributes {
 public:
  explicit TqeHighLightAttributes(std::string name) : name_(std::move(name)) {}

  platform::Color Background() const { return background_; }
  platform::Color Foreground() const { return foreground_; }
  platform::FontStyle Style() const { return style_; }
  const std::string& Name() const { return name_; }
  // A changed value is stored and then reported through OnChange; the same value again reports nothing.
  void SetBackground(platform::Color color);
  void SetForeground(platform::Color color);
  void SetStyle(platform::FontStyle style);
  // The style as an integer 0..15. Writing sets bold alone first, then adds italic, underline and strike-out
  // one at a time, each as a change of its own.
  int IntegerStyle() const { return style_; }
  void SetIntegerStyle(int value);
  // Copies colours, style and name without reporting a change.
  void Assign(const TqeHighLightAttributes& other);

  std::function<void(TqeHighLightAttributes&)> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(*this);
  }
  platform::Color background_ = platform::kColorWindow;
  platform::Color foreground_ = platform::kColorWindowText;
  platform::FontStyle style_ = 0;
  std::string name_;
};

}  // namespace highlighters
