// Shortcuts, their names, and the default key map.
#include "editor/KeyStrokes.h"

#include <cctype>
#include <cstdlib>

namespace editor {
namespace {

struct KeyName {
  std::uint16_t key;
  const char* name;
};

constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

// Longer spellings a script may use for the same keys.
constexpr KeyName kKeyAliases[] = {
    {VK_BACK, "Backspace"}, {VK_RETURN, "Return"}, {VK_ESCAPE, "Escape"}, {VK_PRIOR, "PageUp"},
    {VK_NEXT, "PageDown"},  {VK_INSERT, "Insert"}, {VK_DELETE, "Delete"},
};

std::string KeyToText(std::uint16_t key) {
  for (const auto& k : kKeyNames)
    if (k.key == key) return k.name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key < VK_F1 + 24) return "F" + std::to_string(key - VK_F1 + 1);
  return "#" + std::to_string(key);
}

std::uint16_t TextToKey(const std::string& text) {
  for (const auto& k : kKeyNames)
    if (text == k.name) return k.key;
  for (const auto& k : kKeyAliases)
    if (text == k.name) return k.key;
  if (text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0])))
    return static_cast<std::uint16_t>(std::toupper(static_cast<unsigned char>(text[0])));
  if (text.size() >= 2 && text[0] == 'F') {
    const int n = std::atoi(text.c_str() + 1);
    if (n >= 1 && n <= 24) return static_cast<std::uint16_t>(VK_F1 + n - 1);
  }
  return 0;
}

}  // namespace

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
  int value = key & 0x1FFF;
  if (shift & ssShift) value += 8192;
  if (shift & ssCtrl) value += 16384;
  if (shift & ssAlt) value += 32768;
  return static_cast<TShortCut>(value);
}

std::string ShortCutToText(TShortCut shortcut) {
  if (shortcut == 0) return {};
  std::string text;
  if (shortcut & 8192) text += "Shift+";
  if (shortcut & 16384) text += "Ctrl+";
  if (shortcut & 32768) text += "Alt+";
  return text + KeyToText(shortcut & 0x1FFF);
}

TShortCut TextToShortCut(const std::string& text) {
  TShiftState shift = 0;
  std::string rest = text;
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    const std::string modifier = rest.substr(0, plus);
    if (modifier == "Shift")
      shift |= ssShift;
    else if (modifier == "Ctrl")
      shift |= ssCtrl;
    else if (modifier == "Alt")
      shift |= ssAlt;
    else
      return 0;
    rest = rest.substr(plus + 1);
  }
  const std::uint16_t key = TextToKey(rest);
  return key ? ShortCut(key, shift) : 0;
}

void TqeKeyStroke::SetShortCut(TShortCut shortcut) {
  if (shortcut != 0 && owner_) {
    for (const TqeKeyStroke& other : owner_->items_)
      if (&other != this && other.GetShortCut() == shortcut) throw EqeKeyError("Shortcut already exists");
  }
  Key = shortcut & 0x1FFF;
  Shift = 0;
  if (shortcut & 8192) Shift |= ssShift;
  if (shortcut & 16384) Shift |= ssCtrl;
  if (shortcut & 32768) Shift |= ssAlt;
}

std::string TqeKeyStroke::DisplayName() const {
  return ShortCutToText(GetShortCut()) + " - " + EditorCommandToText(Command);
}

TqeKeyStroke& TqeKeyStrokes::Add() {
  items_.emplace_back();
  for (auto& item : items_) item.owner_ = this;  // the vector may have moved them
  return items_.back();
}

TqeKeyStroke& TqeKeyStrokes::operator[](int i) {
  TqeKeyStroke& item = items_.at(i);
  item.owner_ = this;
  return item;
}

void TqeKeyStrokes::Assign(const TqeKeyStrokes& other) {
  if (&other == this) return;
  items_ = other.items_;
  for (auto& item : items_) item.owner_ = this;
}

int TqeKeyStrokes::FindKeyBinding(std::uint16_t key, TShiftState shift) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].Key == key && items_[i].Shift == shift) return i;
  return -1;
}

void TqeKeyStrokes::SetDefaultBindings() {
  Clear();
  auto bind = [this](std::uint16_t key, TShiftState shift, TqeEditorCommand command) {
    TqeKeyStroke& k = Add();
    k.Key = key;
    k.Shift = shift;
    k.Command = command;
  };
  const TShiftState none = 0, shift = ssShift, ctrl = ssCtrl, ctrlShift = ssCtrl | ssShift;
  struct Move {
    std::uint16_t key;
    TqeEditorCommand plain, ctrlCommand;
    bool ctrlShift;
  };
  // Each move key: plain, Shift (the selecting twin), Ctrl, Ctrl+Shift (the selecting twin of Ctrl's).
  const Move moves[] = {{VK_UP, ecUp, ecScrollUp, false},          {VK_DOWN, ecDown, ecScrollDown, false},
                        {VK_LEFT, ecLeft, ecWordLeft, true},       {VK_RIGHT, ecRight, ecWordRight, true},
                        {VK_NEXT, ecPageDown, ecPageBottom, true}, {VK_PRIOR, ecPageUp, ecPageTop, true},
                        {VK_HOME, ecLineStart, ecEditorTop, true}, {VK_END, ecLineEnd, ecEditorBottom, true}};
  for (const Move& m : moves) {
    bind(m.key, none, m.plain);
    bind(m.key, shift, static_cast<TqeEditorCommand>(m.plain + ecSelection));
    bind(m.key, ctrl, m.ctrlCommand);
    if (m.ctrlShift) bind(m.key, ctrlShift, static_cast<TqeEditorCommand>(m.ctrlCommand + ecSelection));
  }
  bind(VK_INSERT, none, ecToggleMode);
  bind(VK_INSERT, ctrl, ecCopy);
  bind(VK_INSERT, shift, ecPaste);
  bind(VK_DELETE, none, ecDeleteChar);
  bind(VK_DELETE, shift, ecCut);
  bind(VK_BACK, none, ecDeleteLastChar);
  bind(VK_BACK, ctrl, ecDeleteLastWord);
  bind(VK_BACK, ssAlt, ecUndo);
  bind(VK_BACK, ssShift | ssAlt, ecRedo);
  bind(VK_RETURN, none, ecLineBreak);
  bind('A', ctrl, ecSelectAll);
  bind('C', ctrl, ecCopy);
  bind('I', ctrlShift, ecBlockIndent);
  bind('M', ctrl, ecLineBreak);
  bind('N', ctrl, ecInsertLine);
  bind('T', ctrl, ecDeleteWord);
  bind('U', ctrlShift, ecBlockUnindent);
  bind('V', ctrl, ecPaste);
  bind('X', ctrl, ecCut);
  bind('Y', ctrl, ecDeleteLine);
  bind('Y', ctrlShift, ecDeleteEOL);
  bind('Z', ctrl, ecUndo);
  bind('Z', ctrlShift, ecRedo);
  for (int n = 0; n < 10; ++n)
    bind(static_cast<std::uint16_t>('0' + n), ctrl, static_cast<TqeEditorCommand>(ecGotoMarker0 + n));
  for (int n = 0; n < 10; ++n)
    bind(static_cast<std::uint16_t>('0' + n), ctrlShift, static_cast<TqeEditorCommand>(ecSetMarker0 + n));
  bind('N', ctrlShift, ecNormalSelect);
  bind('C', ctrlShift, ecColumnSelect);
  bind('L', ctrlShift, ecLineSelect);
}

}  // namespace editor
