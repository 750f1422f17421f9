// The key map: bindings of a virtual-key code and a shift set to an editor command.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditorCommands.h"

namespace editor {

// Virtual-key codes the editor binds.
enum VirtualKey : std::uint16_t {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_F1 = 112,
};

// Shift, Alt and Ctrl, as a set.
enum ShiftBit : std::uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = std::uint8_t;

// The shortcut encoding: the key code plus 8192 for Shift, 16384 for Ctrl, 32768 for Alt.
using TShortCut = std::uint16_t;
TShortCut ShortCut(std::uint16_t key, TShiftState shift);
// "Shift+Ctrl+Alt+Key" with the key's name ("Up", "PgDn", "BkSp", "A", "3", ...); empty for 0.
std::string ShortCutToText(TShortCut shortcut);
// The reverse of ShortCutToText, also taking modifiers in any order ("Ctrl+Shift+Z"); 0 when unknown.
TShortCut TextToShortCut(const std::string& text);

class EqeKeyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TqeKeyStrokes;

class TqeKeyStroke {
 public:
  std::uint16_t Key = 0;
  TShiftState Shift = 0;
  TqeEditorCommand Command = ecNone;

  TShortCut GetShortCut() const { return ShortCut(Key, Shift); }
  // Raises "Shortcut already exists" when another binding of the same map has the shortcut (0 is always
  // allowed); the binding then keeps its old key.
  void SetShortCut(TShortCut shortcut);
  // The shortcut's text, " - ", and the command's name.
  std::string DisplayName() const;

 private:
  friend class TqeKeyStrokes;
  const TqeKeyStrokes* owner_ = nullptr;
};

class TqeKeyStrokes {
 public:
  TqeKeyStrokes() = default;
  TqeKeyStrokes(const TqeKeyStrokes& other) { Assign(other); }
  TqeKeyStrokes& operator=(const TqeKeyStrokes& other) {
    Assign(other);
    return *this;
  }

  // Appends an empty binding.
  TqeKeyStroke& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TqeKeyStroke& operator[](int i);
  const TqeKeyStroke& operator[](int i) const { return items_.at(i); }
  void Clear() { items_.clear(); }
  // Copies every binding in order, without the duplicate test.
  void Assign(const TqeKeyStrokes& other);
  // The first binding with this key and shift set, or -1.
  int FindKeyBinding(std::uint16_t key, TShiftState shift) const;
  // The 76 default bindings.
  void SetDefaultBindings();

 private:
  friend class TqeKeyStroke;
  std::vector<TqeKeyStroke> items_;
};

}  // namespace editor
