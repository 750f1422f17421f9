// The colour schemes: the colours of the editor's own parts, of every language's tokens and of the
// preview's page. "Classic" is the colours the program has always had (the desktop's window colours and
// each highlighter's own); "Light", "Dark" and "High contrast" are worked out from them, so every language
// and attribute has its colours in each; "Custom" is the scheme the person started from with the
// attributes they changed.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/Highlighters.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Registry.h"

namespace editor {
class TqeCustomEdit;
}

namespace app {

inline constexpr std::array<std::string_view, 5> kSchemeNames = {"Classic", "Light", "Dark", "High contrast", "Custom"};
// Where each language's saved colour schemes are: "Highlighters\LANGUAGE\SCHEME" below it, an attribute a
// subkey. The Custom colours are the scheme "Custom", so SQL lists them among its own saved schemes.
inline constexpr const char* kHighlighterColoursRoot = "HKEY_CURRENT_USER\\Software\\qeEdit team";

// The editor's own parts and the preview's page under a scheme.
struct SchemeColours {
  platform::Color background, text;
  platform::Color gutter, gutterEdgeLight, gutterEdgeShadow;
  platform::Color selectionBackground, selectionText;
  platform::Color caretLine, rightEdge;
  platform::Color previewBackground, previewText, previewLink;
};

// A scheme's colours; an unknown name has Classic's.
SchemeColours ColoursOf(std::string_view scheme);
// The scheme that shows: the chosen one, else Dark on a dark desktop, else Classic.
std::string_view SchemeInEffect(std::string_view chosen, bool desktopDark);

// The luminance of a colour as contrast is measured (0 black, 1 white), and the contrast of two colours
// from 1 (the same) to 21 (black on white).
double RelativeLuminance(platform::Color color);
double ContrastRatio(platform::Color a, platform::Color b);

// One token's look.
struct TokenLook {
  platform::Color foreground, background;
  platform::FontStyle style;
  bool operator==(const TokenLook&) const = default;
};
TokenLook LookOf(const highlighters::TqeHighLightAttributes& attribute);
void SetLook(highlighters::TqeHighLightAttributes& attribute, const TokenLook& look);
// A token's look under a scheme, worked out from its Classic look: on a dark page each colour keeps its
// hue with its lightness turned over, so navy becomes light blue and yellow marking a dark olive. Every
// worked-out token reads at a contrast of 4.5 or more on its background.
TokenLook SchemeLook(std::string_view scheme, const TokenLook& classic);

// Every highlighter's attributes under one scheme. It keeps their Classic looks (as they are when it is
// made), so switching schemes back and forth never drifts, and the Custom looks: those saved in the
// settings store over the scheme they were made from, until they are changed here.
class HighlighterSchemes {
 public:
  explicit HighlighterSchemes(MainHighlighters& highlighters);
  // Custom stands on base; the saved looks are read the first time Custom is applied.
  void Apply(std::string_view scheme, std::string_view base, platform::Registry& settings);
  // Makes what shows now the Custom looks.
  void MakeCustom();
  // Changes one Custom look, and the attribute with it.
  void SetCustomLook(highlighters::TqeCustomHighLighter& highlighter, int attribute, const TokenLook& look);
  // Stores the Custom looks (which show while Custom is in effect), as each highlighter saves its
  // attributes.
  void SaveCustom(platform::Registry& settings);
  // Drops unsaved Custom looks: the next Apply reads the saved ones again.
  void ForgetCustom() { custom_.clear(); }

 private:
  struct Kept {
    std::string language;
    highlighters::TqeCustomHighLighter* highlighter;
    std::vector<TokenLook> classic;  // one per attribute
  };
  void Show(const std::vector<std::vector<TokenLook>>& looks);
  std::vector<std::vector<TokenLook>> Looks() const;
  std::vector<Kept> kept_;
  std::vector<std::vector<TokenLook>> custom_;  // empty until read or made
};

// The scheme's colours on a view: its text, gutter, selection, caret line and right edge.
void ApplyToView(const SchemeColours& colours, editor::TqeCustomEdit& view);

}  // namespace app
