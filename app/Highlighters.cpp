// Highlighter colours of the main window.
#include "app/Highlighters.h"

#include <initializer_list>
#include <string>

#include "platform/TextBits.h"

namespace app {
namespace {

using platform::Color;
using platform::FontStyle;
using platform::kBold;
using platform::kItalic;
using platform::Rgb;

constexpr Color kWindow = platform::kColorWindow, kText = platform::kColorWindowText, kGray = Rgb(128, 128, 128),
                kMaroon = Rgb(128, 0, 0), kBlue = Rgb(0, 0, 255), kPurple = Rgb(128, 0, 128);

struct Look {
  const char* attribute;
  Color background, foreground;
  FontStyle style;
};

void Set(highlighters::TqeHighLightAttributes& a, Color background, Color foreground, FontStyle style) {
  a.SetBackground(background);
  a.SetForeground(foreground);
  a.SetStyle(style);
}

// Applies each look to the highlighter's attribute of that name.
void Configure(highlighters::TqeCustomHighLighter& highlighter, std::initializer_list<Look> looks) {
  for (const Look& look : looks)
    for (int i = 0; i < highlighter.AttributeCount(); ++i)
      if (highlighter.AttributeAt(i)->Name() == look.attribute)
        Set(*highlighter.AttributeAt(i), look.background, look.foreground, look.style);
}

}  // namespace

void ConfigureTypeHTML(highlighters::TzrHTMLSyn& html) {
  Set(*html.ASPAttri, Rgb(255, 255, 0), Rgb(0, 0, 0), 0);
  Set(*html.CommentAttri, kWindow, kGray, kItalic);
  Set(*html.IdentifierAttri, kWindow, kMaroon, 0);
  Set(*html.KeyAttri, kWindow, kBlue, kBold);
  Set(*html.SpaceAttri, kWindow, kText, 0);
  Set(*html.SymbolAttri, kWindow, kText, 0);
  Set(*html.TextAttri, kWindow, kText, 0);
  Set(*html.UndefKeyAttri, kWindow, Rgb(255, 0, 0), kBold);
  Set(*html.ValueAttri, kWindow, 0xFF8000, 0);
  Set(*html.AndAttri, kWindow, Rgb(0, 255, 0), kBold);
  html.SetDefaultFilter(highlighters::TzrHTMLSyn::kDefaultFilter);
}

MainHighlighters::MainHighlighters(const platform::Registry& settings)
    : TypeSQL(&settings),
      TypePHP({&TypeHTML, &TypeCSS, &TypeJavaScript, &TypeVBS}),
      TypePage({&TypeHTML, &TypeCSS, &TypeJavaScript, &TypeVBS}, TypePHP) {
  ConfigureTypeHTML(TypeHTML);
  Configure(TypePerl, {{"Comment", kWindow, kGray, kItalic},
                       {"Identifier", kWindow, kMaroon, 0},
                       {"Illegal char", kWindow, Rgb(255, 0, 0), 0},
                       {"Reserved word", kWindow, kBlue, kBold},
                       {"Number", kWindow, kText, 0},
                       {"Operator", kWindow, kText, kBold},
                       {"Pragma", kWindow, kText, kBold},
                       {"Space", kWindow, kWindow, 0},
                       {"String", kWindow, kPurple, 0},
                       {"Symbol", kWindow, kText, 0},
                       {"Variable", kWindow, kText, kBold}});
  Configure(TypeCPP, {{"Assembler", kWindow, kText, 0},
                      {"Comment", kWindow, kText, kItalic},
                      {"Preprocessor", kWindow, kText, 0},
                      {"Identifier", kWindow, kText, 0},
                      {"Illegal char", kWindow, kText, 0},
                      {"Reserved word", kWindow, kText, kBold},
                      {"Number", kWindow, kText, 0},
                      {"Space", kWindow, kWindow, 0},
                      {"String", kWindow, kText, 0},
                      {"Symbol", kWindow, kText, 0}});
  Configure(TypeJava, {{"Comment", kWindow, kGray, kItalic},
                       {"Documentation", kWindow, kText, kItalic},
                       {"Identifier", kWindow, kMaroon, 0},
                       {"Invalid symbol", kWindow, kText, 0},
                       {"Reserved word", kWindow, kBlue, kBold},
                       {"Number", kWindow, kText, 0},
                       {"Space", kWindow, kWindow, 0},
                       {"String", kWindow, kPurple, 0},
                       {"Symbol", kWindow, kText, 0}});
  Configure(TypeVBS, {{"Comment", kWindow, kGray, kItalic},
                      {"Identifier", kWindow, kMaroon, 0},
                      {"Reserved word", kWindow, kBlue, kBold},
                      {"Number", kWindow, kText, 0},
                      {"Space", kWindow, kText, 0},
                      {"String", kWindow, kPurple, 0},
                      {"Symbol", kWindow, kText, 0}});
  Configure(TypeSQL, {{"Comment", kWindow, kGray, kItalic},
                      {"Identifier", kWindow, kMaroon, 0},
                      {"Reserved word", kWindow, kBlue, kBold},
                      {"Number", kWindow, kText, 0},
                      {"String", kWindow, kPurple, 0},
                      {"Symbol", kWindow, kText, 0}});
  Configure(TypePascal, {{"Assembler", kWindow, kText, 0},
                         {"Comment", kWindow, kGray, kItalic},
                         {"Identifier", kWindow, kMaroon, 0},
                         {"Reserved word", kWindow, kBlue, kBold},
                         {"Number", kWindow, kText, 0},
                         {"Space", kWindow, kText, 0},
                         {"String", kWindow, kPurple, 0},
                         {"Symbol", kWindow, kText, 0}});
  Configure(TypeAWK, {{"Comment", kWindow, kGray, kItalic},
                      {"Identifier", kWindow, kMaroon, 0},
                      {"Internal function", kWindow, Rgb(128, 128, 64), kBold},
                      {"Reserved word", kWindow, kBlue, kBold},
                      {"Number", kWindow, kText, 0},
                      {"Space", kWindow, kText, 0},
                      {"Symbol", kWindow, kText, 0},
                      {"System value", kWindow, Rgb(255, 128, 0), kBold},
                      {"String", kWindow, kPurple, 0}});
  // The web languages in the same palette: comments gray italic, words of the language blue bold, names
  // maroon, literals purple; what a style sheet names and sets in colours of their own.
  Configure(TypeCSS, {{"At rule", kWindow, kBlue, kBold},
                      {"Color", kWindow, Rgb(0, 128, 128), 0},
                      {"Comment", kWindow, kGray, kItalic},
                      {"Function", kWindow, Rgb(128, 128, 0), 0},
                      {"Number", kWindow, Rgb(0, 128, 0), 0},
                      {"Property", kWindow, kMaroon, 0},
                      {"Selector", kWindow, kBlue, kBold},
                      {"Space", kWindow, kText, 0},
                      {"String", kWindow, kPurple, 0},
                      {"Symbol", kWindow, kText, 0},
                      {"Value", kWindow, Rgb(0, 0, 160), 0}});
  Configure(TypeJavaScript, {{"Comment", kWindow, kGray, kItalic},
                             {"Identifier", kWindow, kMaroon, 0},
                             {"Number", kWindow, Rgb(0, 128, 0), 0},
                             {"Regexp", kWindow, Rgb(128, 128, 0), 0},
                             {"Reserved word", kWindow, kBlue, kBold},
                             {"Space", kWindow, kText, 0},
                             {"String", kWindow, kPurple, 0},
                             {"Symbol", kWindow, kText, 0},
                             {"Template", kWindow, Rgb(0, 128, 128), 0}});
  Configure(TypePHP, {{"Comment", kWindow, kGray, kItalic},
                      {"Heredoc", kWindow, Rgb(0, 128, 128), 0},
                      {"Identifier", kWindow, kMaroon, 0},
                      {"Number", kWindow, Rgb(0, 128, 0), 0},
                      {"Reserved word", kWindow, kBlue, kBold},
                      {"Space", kWindow, kText, 0},
                      {"String", kWindow, kPurple, 0},
                      {"Symbol", kWindow, kText, 0},
                      {"Tag", Rgb(255, 255, 0), Rgb(0, 0, 0), kBold},
                      {"Variable", kWindow, Rgb(0, 0, 160), 0}});
}

std::vector<std::pair<std::string_view, highlighters::TqeCustomHighLighter*>> MainHighlighters::Languages() {
  return {{"Perl", &TypePerl},     {"HTML", &TypePage},
          {"C++", &TypeCPP},       {"VBScript", &TypeVBS},
          {"SQL", &TypeSQL},       {"Java", &TypeJava},
          {"Pascal", &TypePascal}, {"AWK", &TypeAWK},
          {"CSS", &TypeCSS},       {"JavaScript", &TypeJavaScript},
          {"PHP", &TypePHP}};
}

std::vector<std::pair<std::string_view, highlighters::TqeCustomHighLighter*>> MainHighlighters::Coloured() {
  auto languages = Languages();
  for (auto& [name, highlighter] : languages)
    if (highlighter == &TypePage) highlighter = &TypeHTML;
  return languages;
}

highlighters::TqeCustomHighLighter* MainHighlighters::ForLanguage(std::string_view text) {
  for (const auto& [name, highlighter] : Languages())
    if (name == text) return highlighter;
  return nullptr;
}

std::string_view MainHighlighters::LanguageOf(const highlighters::TqeCustomHighLighter* highlighter) const {
  for (const auto& [name, each] : const_cast<MainHighlighters*>(this)->Languages())
    if (each == highlighter) return name;
  return {};
}

highlighters::TqeCustomHighLighter* MainHighlighters::ForFile(std::string_view path) {
  struct ExtensionLanguage {
    std::string_view extension, language;
  };
  static constexpr ExtensionLanguage kExtensions[] = {{"htm", "HTML"},       {"html", "HTML"}, {"asp", "HTML"},
                                                      {"shtml", "HTML"},     {"css", "CSS"},   {"js", "JavaScript"},
                                                      {"mjs", "JavaScript"}, {"php", "PHP"},   {"phtml", "PHP"}};
  const std::size_t dot = path.find_last_of("./");
  if (dot == std::string_view::npos || path[dot] != '.') return nullptr;
  const std::string extension = platform::AsciiLower(std::string(path.substr(dot + 1)));
  for (const ExtensionLanguage& each : kExtensions)
    if (extension == each.extension) return ForLanguage(each.language);
  return nullptr;
}

}  // namespace app
