// The form controls: sizes from the controls' font, values, reset, submission and clicks.
#include "preview/FormControls.h"

#include <algorithm>

#include "preview/Images.h"
#include "preview/SectionList.h"

namespace preview {
namespace {

constexpr int kControlPoints = 10;

std::string TextOf(const TAttributeList& attributes, Attr kind) {
  const TAttribute* a = attributes.Find(kind);
  return a ? a->text : std::string();
}

class TEditFormControlObj : public TFormControlObj {
 public:
  TEditFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a, bool password)
      : TFormControlObj(owner, form, pos, a), password_(password) {
    // SIZE "20,1" or "20 1" counts its first number.
    if (const TAttribute* size = a.Find(Attr::Size)) {
      const std::string first = size->text.substr(0, size->text.find_first_of(", "));
      size_ = std::max(1, std::atoi(first.c_str()));
    }
    if (const TAttribute* max = a.Find(Attr::MaxLength)) maxLength_ = std::max(0, max->value);
    platform::ControlLook look = Look(password ? platform::ControlKind::Password : platform::ControlKind::Edit);
    look.maxLength = maxLength_;
    MakeWindow(look);
    if (window)
      window->onEnter = [this] {
        if (this->form->VisibleControls() == 1) this->form->SubmitForm("");
      };
  }
  std::string KindName() const override { return password_ ? "INPUT PASSWORD" : "INPUT TEXT"; }
  void ResetValue() override {
    if (window) window->SetText(value);
  }
  bool SubmissionText(int index, std::string& text) const override {
    if (index > 0) return false;
    text = name + "=" + (window ? window->Text() : value);
    return true;
  }
  void SizeControl() override {
    width = CharWidth() * size_ + 5;
    height = TextHeight() + 8;
  }

 private:
  bool password_;
  int size_ = 20;
  int maxLength_ = 0;
};

class TButtonFormControlObj : public TFormControlObj {
 public:
  enum class Role { Submit, Reset, Button };
  TButtonFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a, Role role)
      : TFormControlObj(owner, form, pos, a), role_(role) {
    caption_ = !value.empty() ? value : role == Role::Submit ? "Submit" : role == Role::Reset ? "Reset" : "Button";
    platform::ControlLook look = Look(platform::ControlKind::Button);
    look.caption = caption_;
    MakeWindow(look);
    if (window)
      window->onClick = [this] {
        Clicked();
        if (role_ == Role::Reset) this->form->ResetForm();
        if (role_ == Role::Submit) this->form->SubmitForm(name.empty() ? "" : name + "=" + value);
      };
  }
  std::string KindName() const override {
    return role_ == Role::Submit ? "INPUT SUBMIT" : role_ == Role::Reset ? "INPUT RESET" : "INPUT BUTTON";
  }
  void SizeControl() override {
    platform::FontEngine& fonts = owner_->Fonts();
    const platform::FontHandle font = fonts.CreateFont(ControlFont());
    width = fonts.TextWidth(font, caption_, owner_->encoding) + 20;
    height = TextHeight() + 8;
  }

 private:
  Role role_;
  std::string caption_;
};

// A check box or a radio button: checked as the page says on reset, and sending NAME=value when checked.
class TCheckedFormControlObj : public TFormControlObj {
 public:
  TCheckedFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a)
      : TFormControlObj(owner, form, pos, a), checked_(a.Find(Attr::Checked) != nullptr) {}
  bool OnBaseline() const override { return true; }
  void ResetValue() override {
    if (window) window->SetChecked(checked_);
  }
  bool SubmissionText(int index, std::string& text) const override {
    if (index > 0) return false;
    text = (window ? window->Checked() : checked_) ? name + "=" + value : "";
    return true;
  }

 private:
  bool checked_;
};

class TCheckBoxFormControlObj : public TCheckedFormControlObj {
 public:
  TCheckBoxFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a)
      : TCheckedFormControlObj(owner, form, pos, a) {
    if (value.empty()) value = "On";
    width = height = 13;
    MakeWindow(Look(platform::ControlKind::CheckBox));
    if (window) window->onClick = [this] { Clicked(); };
  }
  std::string KindName() const override { return "INPUT CHECKBOX"; }
};

class TRadioButtonFormControlObj : public TCheckedFormControlObj {
 public:
  TRadioButtonFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a,
                             platform::Color panel)
      : TCheckedFormControlObj(owner, form, pos, a) {
    width = 13;
    height = 14;
    platform::ControlLook look = Look(platform::ControlKind::Radio);
    look.panel = panel;
    MakeWindow(look);
    if (window)
      window->onClick = [this] {
        this->form->UncheckSiblings(*this);
        Clicked();
      };
  }
  std::string KindName() const override { return "INPUT RADIO"; }
};

class THiddenFormControlObj : public TFormControlObj {
 public:
  using TFormControlObj::TFormControlObj;
  std::string KindName() const override { return "INPUT HIDDEN"; }
  bool Hidden() const override { return true; }
  bool SubmissionText(int index, std::string& text) const override {
    if (index > 0) return false;
    text = name + "=" + value;
    return true;
  }
};

// An image that submits its form with the point clicked.
class TImageFormControlObj : public TFormControlObj {
 public:
  TImageFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a, TImageObj* image)
      : TFormControlObj(owner, form, pos, a) {
    if (image)
      image->onClick = [this](int x, int y) {
        click_ = {x, y};
        clicked_ = true;
        this->form->SubmitForm("");
        clicked_ = false;
      };
  }
  std::string KindName() const override { return "INPUT IMAGE"; }
  bool HasMark() const override { return false; }
  bool SubmissionText(int index, std::string& text) const override {
    if (!clicked_ || index > 1) return false;
    const std::string prefix = name.empty() ? "" : name + ".";
    text = prefix + (index == 0 ? "x=" + std::to_string(click_.x) : "y=" + std::to_string(click_.y));
    return true;
  }

 private:
  platform::Point click_;
  bool clicked_ = false;
};

// The options of a list box or drop-down list, and the rows to select on reset.
class TOptionListControl : public TFormControlObj {
 public:
  TOptionListControl(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a,
                     std::vector<TOptionObj> options)
      : TFormControlObj(owner, form, pos, a), options_(std::move(options)) {}
  bool SubmissionText(int index, std::string& text) const override {
    const std::vector<int> rows = window ? window->Selected() : InitialRows();
    if (index >= static_cast<int>(rows.size())) return false;
    const int row = rows[index];
    if (row < 0 || row >= static_cast<int>(options_.size())) return false;
    const TOptionObj& option = options_[row];
    text = name + "=" + (option.value.empty() ? option.text : option.value);
    return true;
  }
  void ResetValue() override {
    if (!window) return;
    std::vector<std::string> texts;
    for (const TOptionObj& option : options_) texts.push_back(option.text);
    window->SetItems(texts);
    window->Select(InitialRows());
  }

 protected:
  // All marked rows of a multiple selection; otherwise the last marked, or the first.
  std::vector<int> InitialRows() const {
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(options_.size()); ++i)
      if (options_[i].selected) rows.push_back(i);
    if (!multiple_ && rows.size() > 1) rows = {rows.back()};
    if (rows.empty() && !options_.empty()) rows = {0};
    return rows;
  }
  int LongestOption() const {
    std::size_t longest = 3;
    for (const TOptionObj& option : options_) longest = std::max(longest, option.text.size());
    return static_cast<int>(longest);
  }

  std::vector<TOptionObj> options_;
  bool multiple_ = false;
};

class TListBoxFormControlObj : public TOptionListControl {
 public:
  TListBoxFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a,
                         std::vector<TOptionObj> options)
      : TOptionListControl(owner, form, pos, a, std::move(options)) {
    multiple_ = a.Find(Attr::Multiple) != nullptr;
    const TAttribute* size = a.Find(Attr::Size);
    rows_ = size && size->value > 1 ? size->value : std::clamp(static_cast<int>(options_.size()), 1, 8);
    platform::ControlLook look = Look(platform::ControlKind::ListBox);
    look.multiSelect = multiple_;
    MakeWindow(look);
  }
  std::string KindName() const override { return "SELECT"; }
  void SizeControl() override {
    width = CharWidth() * LongestOption() + 15 + 4;
    height = TextHeight() * rows_ + 4;
  }

 private:
  int rows_;
};

class TComboFormControlObj : public TOptionListControl {
 public:
  TComboFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a,
                       std::vector<TOptionObj> options)
      : TOptionListControl(owner, form, pos, a, std::move(options)) {
    MakeWindow(Look(platform::ControlKind::ComboBox));
  }
  std::string KindName() const override { return "SELECT"; }
  void SizeControl() override {
    width = CharWidth() * LongestOption() + 30 + 4;
    height = TextHeight() + 8;
  }
};

class TTextAreaFormControlObj : public TFormControlObj {
 public:
  TTextAreaFormControlObj(TSectionList* owner, ThtmlForm* form, int pos, const TAttributeList& a,
                          std::vector<std::string> lines)
      : TFormControlObj(owner, form, pos, a), lines_(std::move(lines)) {
    if (const TAttribute* rows = a.Find(Attr::Rows); rows && rows->value > 0) rows_ = rows->value;
    if (const TAttribute* cols = a.Find(Attr::Cols); cols && cols->value > 0) cols_ = cols->value;
    platform::ControlLook look = Look(platform::ControlKind::Memo);
    const std::string wrap = TextOf(a, Attr::Wrap);
    look.wordWrap = SameText(wrap, "soft") || SameText(wrap, "hard");
    MakeWindow(look);
  }
  std::string KindName() const override { return "TEXTAREA"; }
  void ResetValue() override {
    if (!window) return;
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) text += (i ? "\r\n" : "") + lines_[i];
    window->SetText(text);
  }
  bool SubmissionText(int index, std::string& text) const override {
    const std::vector<std::string> lines = window ? SplitLines(window->Text()) : lines_;
    if (index >= static_cast<int>(lines.size())) return false;
    text = name + "=" + lines[index];
    return true;
  }
  void SizeControl() override {
    width = CharWidth() * cols_ + 5 + 4;
    height = TextHeight() * rows_ + 5 + 4;
  }

 private:
  static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      start = end + 1;
    }
    return lines;
  }

  std::vector<std::string> lines_;
  int rows_ = 5;
  int cols_ = 30;
};

}  // namespace

ThtmlForm::ThtmlForm(TSectionList* owner, const TAttributeList& attributes) : owner_(owner) {
  if (const TAttribute* m = attributes.Find(Attr::Method)) method = m->text.substr(0, 4);
  action = TextOf(attributes, Attr::Action);
  target = TextOf(attributes, Attr::Target);
  encType = TextOf(attributes, Attr::EncType);
}

void ThtmlForm::AddControl(TFormControlObj* control) {
  controls_.push_back(control);
  if (!control->Hidden()) ++visible_;
}

void ThtmlForm::ResetForm() {
  for (TFormControlObj* control : controls_) control->ResetValue();
}

void ThtmlForm::SubmitForm(const std::string& buttonSubmission) {
  if (!owner_->onFormSubmit) return;
  std::vector<std::string> results;
  for (const TFormControlObj* control : controls_) {
    std::string text;
    for (int index = 0; control->SubmissionText(index, text); ++index)
      if (!text.empty()) results.push_back(text);
  }
  if (!buttonSubmission.empty()) results.push_back(buttonSubmission);
  owner_->onFormSubmit(action, target, encType, method, results);
}

void ThtmlForm::UncheckSiblings(const TFormControlObj& radio) {
  for (TFormControlObj* control : controls_)
    if (control != &radio && control->window && control->KindName() == "INPUT RADIO" &&
        SameText(control->name, radio.name))
      control->window->SetChecked(false);
}

TFormControlObj::TFormControlObj(TSectionList* owner, ThtmlForm* f, int position, const TAttributeList& attributes)
    : pos(position), form(f), owner_(owner) {
  value = TextOf(attributes, Attr::Value);
  name = TextOf(attributes, Attr::Name);
  onClick = TextOf(attributes, Attr::OnClick);
}

void TFormControlObj::MakeWindow(platform::ControlLook look) {
  if (!owner_->controlHost) return;
  window = owner_->controlHost->CreateControl(look);
  // Made out of sight; drawing moves it into place.
  window->SetBounds({0, -400, width, -400 + height});
  window->onFocusChanged = [this](bool focused) { owner_->ControlFocusChanged(*this, focused); };
}

platform::ControlLook TFormControlObj::Look(platform::ControlKind kind) const {
  platform::ControlLook look;
  look.kind = kind;
  look.font = ControlFont();
  look.encoding = owner_->encoding;
  return look;
}

platform::FontDesc TFormControlObj::ControlFont() const {
  return {owner_->Settings().defPreFontName, kControlPoints, 0, 0, owner_->Settings().charSet};
}

int TFormControlObj::CharWidth() const {
  platform::FontEngine& fonts = owner_->Fonts();
  return fonts.TextWidth(fonts.CreateFont(ControlFont()), "A");
}

int TFormControlObj::TextHeight() const {
  platform::FontEngine& fonts = owner_->Fonts();
  return fonts.Metrics(fonts.CreateFont(ControlFont())).cellHeight;
}

void TFormControlObj::Clicked() const {
  if (owner_->onObjectClick) owner_->onObjectClick(name, onClick);
}

void TFormControlObj::Place(int x, int baseline, int bottom) {
  const int top = (OnBaseline() ? baseline : bottom) - height;
  const platform::Rect bounds{x, top, x + width, top + height};
  if (window) {
    window->SetBounds(bounds);
    window->SetVisible(true);
  }
  placed = bounds.Translated(-owner_->PaintOrigin().x, -owner_->PaintOrigin().y);
  drawn = true;
}

void TFormControlObj::Hide() {
  if (!window) return;
  // A control with the focus keeps it, out of sight to the left.
  if (window->HasFocus())
    window->SetBounds({-4000, 0, -4000 + width, height});
  else
    window->SetVisible(false);
}

std::string InputType(const TAttributeList& attributes) {
  std::string type = TextOf(attributes, Attr::Type).substr(0, 20);
  for (char& c : type)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return type;
}

std::unique_ptr<TFormControlObj> MakeFormControl(TSectionList* owner, ThtmlForm* form, Tag tag, int pos,
                                                 const TAttributeList& attributes, std::vector<TOptionObj> options,
                                                 std::vector<std::string> lines, TImageObj* image) {
  std::unique_ptr<TFormControlObj> control;
  if (tag == Tag::Select) {
    const TAttribute* size = attributes.Find(Attr::Size);
    if (attributes.Find(Attr::Multiple) || (size && size->value > 1))
      control = std::make_unique<TListBoxFormControlObj>(owner, form, pos, attributes, std::move(options));
    else
      control = std::make_unique<TComboFormControlObj>(owner, form, pos, attributes, std::move(options));
  } else if (tag == Tag::Textarea) {
    control = std::make_unique<TTextAreaFormControlObj>(owner, form, pos, attributes, std::move(lines));
  } else {
    using Role = TButtonFormControlObj::Role;
    const std::string type = InputType(attributes);
    if (type == "submit" || type == "reset" || type == "button")
      control = std::make_unique<TButtonFormControlObj>(owner, form, pos, attributes,
                                                        type == "submit"  ? Role::Submit
                                                        : type == "reset" ? Role::Reset
                                                                          : Role::Button);
    else if (type == "checkbox")
      control = std::make_unique<TCheckBoxFormControlObj>(owner, form, pos, attributes);
    else if (type == "radio")
      control = std::make_unique<TRadioButtonFormControlObj>(owner, form, pos, attributes, owner->Background());
    else if (type == "hidden")
      control = std::make_unique<THiddenFormControlObj>(owner, form, pos, attributes);
    else if (type == "image")
      control = std::make_unique<TImageFormControlObj>(owner, form, pos, attributes, image);
    else
      control = std::make_unique<TEditFormControlObj>(owner, form, pos, attributes, type == "password");
  }
  control->SizeControl();
  control->ResetValue();
  form->AddControl(control.get());
  return control;
}

}  // namespace preview
