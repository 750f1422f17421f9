// Form controls without a window: they keep what a real control would show, and record their bounds.
#pragma once

#include <vector>

#include "platform/FormControls.h"

namespace platform::headless {

class MemoryFormControl : public FormControl {
 public:
  explicit MemoryFormControl(ControlLook look) : look(std::move(look)) {}
  void SetBounds(const Rect& r) override { bounds = r; }
  void SetVisible(bool v) override { visible = v; }
  bool HasFocus() const override { return focused; }
  std::string Text() const override { return text; }
  void SetText(const std::string& t) override { text = t; }
  bool Checked() const override { return checked; }
  void SetChecked(bool c) override { checked = c; }
  void SetItems(const std::vector<std::string>& i) override { items = i; }
  std::vector<int> Selected() const override { return selected; }
  void Select(const std::vector<int>& rows) override { selected = rows; }

  ControlLook look;
  Rect bounds;
  bool visible = true;
  bool focused = false;
  std::string text;
  bool checked = false;
  std::vector<std::string> items;
  std::vector<int> selected;
};

class MemoryFormControlHost : public FormControlHost {
 public:
  std::unique_ptr<FormControl> CreateControl(const ControlLook& look) override {
    auto control = std::make_unique<MemoryFormControl>(look);
    made.push_back(control.get());
    return control;
  }
  std::vector<MemoryFormControl*> made;  // in the order made; owned by the document
};

}  // namespace platform::headless
