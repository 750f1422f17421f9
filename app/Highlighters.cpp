// Highlighter colours of the main window.
#include "app/Highlighters.h"

namespace app {
namespace {

void Set(highlighters::TqeHighLightAttributes& a, platform::Color background, platform::Color foreground,
         platform::FontStyle style) {
  a.SetBackground(background);
  a.SetForeground(foreground);
  a.SetStyle(style);
}

}  // namespace

void ConfigureTypeHTML(highlighters::TzrHTMLSyn& html) {
  using namespace platform;
  const Color window = kColorWindow, text = kColorWindowText;
  Set(*html.ASPAttri, Rgb(255, 255, 0), Rgb(0, 0, 0), 0);
  Set(*html.CommentAttri, window, Rgb(128, 128, 128), kItalic);
  Set(*html.IdentifierAttri, window, Rgb(128, 0, 0), 0);
  Set(*html.KeyAttri, window, Rgb(0, 0, 255), kBold);
  Set(*html.SpaceAttri, window, text, 0);
  Set(*html.SymbolAttri, window, text, 0);
  Set(*html.TextAttri, window, text, 0);
  Set(*html.UndefKeyAttri, window, Rgb(255, 0, 0), kBold);
  Set(*html.ValueAttri, window, 0xFF8000, 0);
  Set(*html.AndAttri, window, Rgb(0, 255, 0), kBold);
  html.SetDefaultFilter(highlighters::TzrHTMLSyn::kDefaultFilter);
}

}  // namespace app
