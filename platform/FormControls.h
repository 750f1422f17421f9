// Window controls that a previewed page's forms put on the preview's panel: edits, buttons, check boxes,
// radio buttons, list boxes, drop-down lists and multi-line edits. The core decides their sizes and
// places; the host makes them real.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/TextEncoding.h"

namespace platform {

enum class ControlKind { Edit, Password, Button, CheckBox, Radio, ListBox, ComboBox, Memo };

struct ControlLook {
  ControlKind kind = ControlKind::Edit;
  FontDesc font;
  std::string caption;  // a button's
  int maxLength = 0;    // an edit's, 0 for none
  bool multiSelect = false;
  bool wordWrap = false;                         // a multi-line edit's
  Color panel = 0;                               // behind a radio button
  TextEncoding encoding = TextEncoding::Cp1252;  // the page's: captions, items and texts are its bytes
};

class FormControl {
 public:
  virtual ~FormControl() = default;
  virtual void SetBounds(const Rect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool HasFocus() const = 0;
  // Edits: the text; multi-line edits: the lines joined by CR LF.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  // The selected rows of a list (the current one of a single-selection list or drop-down).
  virtual std::vector<int> Selected() const = 0;
  virtual void Select(const std::vector<int>& rows) = 0;

  // Set by the core: a click on a button, check box or radio button; Enter in a one-line edit; the
  // keyboard focus coming (true) or going (false).
  std::function<void()> onClick;
  std::function<void()> onEnter;
  std::function<void(bool focused)> onFocusChanged;
};

class FormControlHost {
 public:
  virtual ~FormControlHost() = default;
  virtual std::unique_ptr<FormControl> CreateControl(const ControlLook& look) = 0;
};

}  // namespace platform
