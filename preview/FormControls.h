// Forms of a previewed page and their controls: what each INPUT, SELECT and TEXTAREA becomes, its size,
// its value, reset, and what it sends when its form is submitted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FormControls.h"
#include "preview/HtmlTokenizer.h"

namespace preview {

class TSectionList;
class TFormControlObj;
class TImageObj;

class ThtmlForm {
 public:
  ThtmlForm(TSectionList* owner, const TAttributeList& attributes);

  void AddControl(TFormControlObj* control);
  void ResetForm();
  // Asks every control for its entries, adds the button's own one last, and hands them to the document's
  // submit listener.
  void SubmitForm(const std::string& buttonSubmission);
  // Clears the other radio buttons of the form with the same name (compared without case).
  void UncheckSiblings(const TFormControlObj& radio);
  int VisibleControls() const { return visible_; }

  std::string method = "Get";
  std::string action;
  std::string target;
  std::string encType;

 private:
  TSectionList* owner_;
  std::vector<TFormControlObj*> controls_;
  int visible_ = 0;
};

struct TOptionObj {
  std::string text;
  std::string value;
  bool selected = false;
};

class TFormControlObj {
 public:
  TFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& attributes);
  virtual ~TFormControlObj() = default;
  TFormControlObj(const TFormControlObj&) = delete;
  TFormControlObj& operator=(const TFormControlObj&) = delete;

  // The tag and type, as the layout dump names them ("INPUT TEXT", "SELECT", "TEXTAREA").
  virtual std::string KindName() const = 0;
  virtual void ResetValue() {}
  // The entry for index (name "=" value); false when there are no more.
  virtual bool SubmissionText(int /*index*/, std::string& /*text*/) const { return false; }
  virtual void SizeControl() {}
  // Check boxes and radio buttons stand on the baseline; the others on the bottom of the line.
  virtual bool OnBaseline() const { return false; }
  virtual bool Hidden() const { return false; }
  // Whether a mark stands for it in the text (hidden fields and image inputs have none).
  virtual bool HasMark() const { return !Hidden(); }
  // Puts the control at x and its line's baseline or bottom (coordinates of the paint in progress) and
  // shows it.
  void Place(int x, int baseline, int bottom);
  void Hide();

  int pos;
  std::string value;
  std::string name;
  std::string onClick;
  ThtmlForm* form;
  int width = 0;
  int height = 0;
  bool drawn = false;
  // Where it was last placed, in document coordinates; empty until it is drawn after a layout.
  platform::Rect placed;
  std::unique_ptr<platform::FormControl> window;

 protected:
  void MakeWindow(platform::ControlLook look);
  platform::FontDesc ControlFont() const;
  platform::ControlLook Look(platform::ControlKind kind) const;
  // The width of "A" and the height of a line in the controls' font.
  int CharWidth() const;
  int TextHeight() const;
  // Clicks reach the viewer's object-click listener.
  void Clicked() const;

  TSectionList* owner_;
};

// Makes the control for an INPUT (by its TYPE), SELECT (with its options) or TEXTAREA (with its lines);
// image inputs are linked to image, which the caller has added to the section.
std::unique_ptr<TFormControlObj> MakeFormControl(TSectionList* owner, ThtmlForm* form, Tag tag, int pos,
                                                 const TAttributeList& attributes, std::vector<TOptionObj> options = {},
                                                 std::vector<std::string> lines = {}, TImageObj* image = nullptr);
// The lower-cased TYPE of an INPUT (at most 20 characters).
std::string InputType(const TAttributeList& attributes);

}  // namespace preview
