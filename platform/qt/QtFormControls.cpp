// Each kind of control is the matching Qt widget; text crosses as Windows-1252 bytes, multi-line text
// with CR LF line ends. Radio buttons are not grouped by Qt: the page's forms group them by name.
#include "platform/qt/QtFormControls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/TextBytes.h"

namespace platform::qt {
namespace {

// Tells the core when the widget that takes a control's keyboard focus gains or loses it.
class FocusWatcher : public QObject {
 public:
  FocusWatcher(QWidget* target, FormControl& control) : QObject(target), control_(control) {
    target->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    const bool in = event->type() == QEvent::FocusIn;
    if ((in || event->type() == QEvent::FocusOut) && control_.onFocusChanged) control_.onFocusChanged(in);
    return false;
  }

 private:
  FormControl& control_;
};

class QtFormControl : public FormControl {
 public:
  QtFormControl(QWidget* widget, TextEncoding encoding) : widget_(widget), encoding_(encoding) {}
  ~QtFormControl() override {
    // A focused widget loses its focus as it goes; the core, which may be clearing its controls, must not
    // hear of it.
    onFocusChanged = nullptr;
    delete widget_;
  }

  void SetBounds(const Rect& r) override { widget_->setGeometry(r.left, r.top, r.Width(), r.Height()); }
  void SetVisible(bool visible) override { widget_->setVisible(visible); }
  bool HasFocus() const override { return widget_->hasFocus() || widget_->isAncestorOf(QApplication::focusWidget()); }

  std::string Text() const override {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_)) return BytesFromText(edit->text(), encoding_);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget_))
      return BytesFromText(memo->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")), encoding_);
    return {};
  }
  void SetText(const std::string& text) override {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_)) edit->setText(TextFromBytes(text, encoding_));
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget_)) {
      memo->setPlainText(TextFromBytes(text, encoding_).replace(QLatin1String("\r\n"), QLatin1String("\n")));
      memo->moveCursor(QTextCursor::Start);
    }
  }
  bool Checked() const override { return Button() && Button()->isChecked(); }
  void SetChecked(bool checked) override {
    if (Button()) Button()->setChecked(checked);
  }
  void SetItems(const std::vector<std::string>& items) override {
    QStringList texts;
    for (const std::string& item : items) texts << TextFromBytes(item, encoding_);
    if (auto* list = qobject_cast<QListWidget*>(widget_)) {
      list->clear();
      list->addItems(texts);
      list->scrollToTop();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
      combo->clear();
      combo->addItems(texts);
    }
  }
  std::vector<int> Selected() const override {
    std::vector<int> rows;
    if (auto* list = qobject_cast<QListWidget*>(widget_))
      for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows.push_back(i);
    if (auto* combo = qobject_cast<QComboBox*>(widget_); combo && combo->currentIndex() >= 0)
      rows.push_back(combo->currentIndex());
    return rows;
  }
  void Select(const std::vector<int>& rows) override {
    if (auto* list = qobject_cast<QListWidget*>(widget_)) {
      list->clearSelection();
      for (int row : rows)
        if (QListWidgetItem* item = list->item(row)) item->setSelected(true);
      if (!rows.empty()) list->setCurrentRow(rows.back(), QItemSelectionModel::NoUpdate);
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget_); combo && !rows.empty()) combo->setCurrentIndex(rows.back());
  }

 private:
  QAbstractButton* Button() const {
    if (auto* button = qobject_cast<QAbstractButton*>(widget_)) return button;
    return widget_->findChild<QAbstractButton*>();
  }
  QWidget* widget_;
  TextEncoding encoding_;
};

QWidget* MakeWidget(const ControlLook& look, QWidget* panel) {
  switch (look.kind) {
    case ControlKind::Edit:
    case ControlKind::Password: {
      auto* edit = new QLineEdit(panel);
      if (look.kind == ControlKind::Password) edit->setEchoMode(QLineEdit::Password);
      if (look.maxLength > 0) edit->setMaxLength(look.maxLength);
      return edit;
    }
    case ControlKind::Button:
      return new QPushButton(TextFromBytes(look.caption, look.encoding), panel);
    case ControlKind::CheckBox:
      return new QCheckBox(panel);
    case ControlKind::Radio: {
      // A borderless panel in the page's colour holding the button.
      auto* holder = new QWidget(panel);
      holder->setAutoFillBackground(true);
      QPalette palette = holder->palette();
      palette.setColor(QPalette::Window, ToQColor(look.panel));
      holder->setPalette(palette);
      auto* radio = new QRadioButton(holder);
      radio->setAutoExclusive(false);
      radio->move(0, 0);
      return holder;
    }
    case ControlKind::ListBox: {
      auto* list = new QListWidget(panel);
      list->setSelectionMode(look.multiSelect ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
      return list;
    }
    case ControlKind::ComboBox:
      return new QComboBox(panel);
    case ControlKind::Memo: {
      auto* memo = new QPlainTextEdit(panel);
      memo->setLineWrapMode(look.wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
      memo->setHorizontalScrollBarPolicy(look.wordWrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
      return memo;
    }
  }
  return new QWidget(panel);
}

}  // namespace

std::unique_ptr<FormControl> QtFormControlHost::CreateControl(const ControlLook& look) {
  QWidget* widget = MakeWidget(look, panel_);
  widget->setFont(QFont(QString::fromStdString(look.font.family), look.font.pointSize));
  auto control = std::make_unique<QtFormControl>(widget, look.encoding);
  FormControl* raw = control.get();
  if (auto* edit = qobject_cast<QLineEdit*>(widget))
    QObject::connect(edit, &QLineEdit::returnPressed, [raw] {
      if (raw->onEnter) raw->onEnter();
    });
  QAbstractButton* button = qobject_cast<QAbstractButton*>(widget);
  if (!button) button = widget->findChild<QAbstractButton*>();
  if (button)
    QObject::connect(button, &QAbstractButton::clicked, [raw] {
      if (raw->onClick) raw->onClick();
    });
  // A radio button's panel holds the button that takes the focus.
  new FocusWatcher(look.kind == ControlKind::Radio && button ? button : widget, *raw);
  widget->show();
  return control;
}

}  // namespace platform::qt
