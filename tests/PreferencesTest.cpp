// Preferences in the settings store (every value kept, a hand-spoilt value falling back to its default),
// their effect on a view, and the colour schemes reaching the highlighters and the view.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "app/ColourSchemes.h"
#include "app/Preferences.h"
#include "platform/MemoryRegistry.h"
#include "testsupport/RecordingCanvas.h"

namespace {

using app::Preferences;
using app::PreferencesPage;

// Every preference away from its default, so a value the store drops or mixes up shows.
Preferences EveryValueChanged() {
  Preferences p;
  p.fontName = "DejaVu Sans Mono";
  p.fontSize = 14;
  p.tabWidth = 2;
  p.tabInsertsBlanks = false;
  p.rightEdge = 0;
  p.lineNumbers = false;
  p.highlightCaretLine = true;
  p.showBlanks = true;
  p.wordWrap = true;
  p.caretBlink = false;
  p.overwriteAtStart = true;
  p.maxUndo = 500;
  p.scheme = "Dark";
  p.customBase = "High contrast";
  p.newDocumentsUtf8 = true;
  p.detectUtf8 = false;
  p.writeLf = true;
  p.trimTrailingBlanks = true;
  p.restoreSessionAtStart = false;
  p.journalDelayMs = 2500;
  p.previewFont = "DejaVu Serif";
  p.previewFixedFont = "DejaVu Sans Mono";
  p.previewFontSize = 16;
  p.livePreviewAtStart = true;
  p.livePreviewDelayMs = 800;
  p.previewImages = false;
  p.autoCloseTags = false;
  p.showMatches = false;
  p.completion = false;
  p.checkWhileTyping = false;
  return p;
}

TEST(Preferences, EveryValueIsStoredAndReadBack) {
  platform::MemoryRegistry registry;
  EXPECT_EQ(app::ReadPreferences(registry), Preferences{}) << "nothing stored: the defaults";
  const Preferences changed = EveryValueChanged();
  ASSERT_NE(changed, Preferences{});
  app::WritePreferences(registry, changed);
  std::vector<std::string> unreadable;
  EXPECT_EQ(app::ReadPreferences(registry, &unreadable), changed);
  EXPECT_TRUE(unreadable.empty());
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "CaretBlink"), std::optional<std::string>("false"));
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "TabWidth"), std::optional<std::string>("2"));
}

TEST(Preferences, AHandSpoiltValueKeepsItsDefaultAndIsNamed) {
  platform::MemoryRegistry registry;
  const char* key = app::kPreferencesKey;
  registry.WriteString(key, "TabWidth", "wide");
  registry.WriteString(key, "FontSize", "200");   // past the largest size
  registry.WriteString(key, "MaxUndo", "12abc");  // a number with something after it
  registry.WriteString(key, "CaretBlink", "maybe");
  registry.WriteString(key, "FontName", "");
  registry.WriteString(key, "RightEdge", "100");
  registry.WriteString(key, "WriteLf", "1");
  registry.WriteString(key, "Scheme", "");  // not chosen yet
  std::vector<std::string> unreadable;
  const Preferences read = app::ReadPreferences(registry, &unreadable);
  EXPECT_EQ(unreadable, (std::vector<std::string>{"FontName", "FontSize", "TabWidth", "CaretBlink", "MaxUndo"}));
  const Preferences defaults;
  EXPECT_EQ(read.tabWidth, defaults.tabWidth);
  EXPECT_EQ(read.fontSize, defaults.fontSize);
  EXPECT_EQ(read.maxUndo, defaults.maxUndo);
  EXPECT_EQ(read.caretBlink, defaults.caretBlink);
  EXPECT_EQ(read.fontName, defaults.fontName);
  EXPECT_EQ(read.rightEdge, 100) << "the readable values around them are taken";
  EXPECT_TRUE(read.writeLf);
  EXPECT_EQ(read.scheme, "");
}

TEST(Preferences, RestoringAPageLeavesTheOtherPages) {
  Preferences p = EveryValueChanged();
  app::RestoreDefaults(p, PreferencesPage::Files);
  const Preferences defaults;
  EXPECT_EQ(p.writeLf, defaults.writeLf);
  EXPECT_EQ(p.journalDelayMs, defaults.journalDelayMs);
  EXPECT_EQ(p.newDocumentsUtf8, defaults.newDocumentsUtf8);
  EXPECT_EQ(p.fontSize, 14);
  EXPECT_EQ(p.scheme, "Dark");
  EXPECT_FALSE(p.previewImages);
  for (auto page :
       {PreferencesPage::Editor, PreferencesPage::Colours, PreferencesPage::Preview, PreferencesPage::WritingAids})
    app::RestoreDefaults(p, page);
  EXPECT_EQ(p, defaults);
}

using PreferencesOnAView = EditorTest;

TEST_F(PreferencesOnAView, TheEditorPageAndTheAidsReachTheView) {
  Preferences p = EveryValueChanged();
  app::ApplyToView(p, editor);
  EXPECT_EQ(editor.Font().family, "DejaVu Sans Mono");
  EXPECT_EQ(editor.Font().pixelHeight, 19) << "14 points at 96 dots an inch";
  EXPECT_EQ(editor.TabIndent(), 2);
  EXPECT_EQ(editor.RightEdge(), 0);
  EXPECT_FALSE(editor.Gutter().ShowLineNumbers());
  EXPECT_TRUE(editor.HighlightCaretLine());
  EXPECT_TRUE(editor.ShowBlanks());
  EXPECT_TRUE(editor.WordWrap());
  EXPECT_EQ(editor.MaxUndo(), 500);
  EXPECT_FALSE(editor.AutoCloseTags());
  EXPECT_FALSE(editor.ShowMatches());
  Type("\tx");
  EXPECT_EQ(Lines(), (::Lines{"\tx"})) << "a tab character";
  p.tabInsertsBlanks = true;
  app::ApplyToView(p, editor);
  Type("\ty");
  EXPECT_EQ(Lines(), (::Lines{"\tx  y"})) << "Tab goes to the next stop of the tab width";
  app::ApplyToView(Preferences{}, editor);
  EXPECT_EQ(editor.Font().pixelHeight, 13) << "the default 10 points: the window's 13 pixels";
}

// The fills of one colour a paint makes, by the row they start on.
std::vector<int> RowsFilledWith(const std::vector<std::string>& calls, platform::Color color, int rowHeight) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "#%08X", color);
  std::vector<int> rows;
  for (const std::string& call : calls) {
    int left = 0, top = 0;
    if (call.ends_with(hex) && std::sscanf(call.c_str(), "fill %d %d", &left, &top) == 2) {
      const int row = top / rowHeight;
      if (rows.empty() || rows.back() != row) rows.push_back(row);
    }
  }
  return rows;
}

TEST_F(PreferencesOnAView, TheCaretLineHasItsBackgroundAndBlanksTheirMarks) {
  SetLines({"a b", "\tx", "plain"});
  const platform::Color caretLine = platform::Rgb(1, 2, 3), edge = platform::Rgb(4, 5, 6);
  editor.SetCaretLineColor(caretLine);
  editor.SetRightEdgeColor(edge);
  editor.SetRightEdge(0);
  editor.SetHighlightCaretLine(true);
  const int row = editor.RowHeight();
  platform::fakes::RecordingCanvas canvas;
  editor.Paint(canvas, {0, 0, 400, 3 * row});
  EXPECT_EQ(RowsFilledWith(canvas.Calls(), caretLine, row), (std::vector<int>{0}));

  window.ClearLog();
  editor.SetCaretXY({1, 3});
  ASSERT_EQ(window.invalidated.size(), 2u) << "the line left and the line reached";
  EXPECT_EQ(window.invalidated[0].top, 0);
  EXPECT_EQ(window.invalidated[1].top, 2 * row);
  canvas.Clear();
  editor.Paint(canvas, {0, 0, 400, 3 * row});
  EXPECT_EQ(RowsFilledWith(canvas.Calls(), caretLine, row), (std::vector<int>{2}));
  EXPECT_TRUE(RowsFilledWith(canvas.Calls(), edge, row).empty()) << "blanks are not shown yet";

  editor.SetShowBlanks(true);
  canvas.Clear();
  editor.Paint(canvas, {0, 0, 400, 3 * row});
  EXPECT_EQ(RowsFilledWith(canvas.Calls(), edge, row), (std::vector<int>{0})) << "the blank's dot";
  std::size_t arrowLines = 0;
  for (const std::string& call : canvas.Calls())
    if (call.starts_with("line ") && call.ends_with("#00060504")) ++arrowLines;
  EXPECT_EQ(arrowLines, 3u) << "the tab's arrow: its shaft and two barbs";
}

class SchemesOnHighlighters : public EditorTest {
 protected:
  platform::MemoryRegistry settings;
  app::MainHighlighters highlighters{settings};
  app::HighlighterSchemes schemes{highlighters};

  std::vector<app::TokenLook> Looks() {
    std::vector<app::TokenLook> looks;
    for (const auto& [language, highlighter] : highlighters.Coloured())
      for (int i = 0; i < highlighter->AttributeCount(); ++i)
        looks.push_back(app::LookOf(*highlighter->AttributeAt(i)));
    return looks;
  }
};

TEST_F(SchemesOnHighlighters, EveryTokenOfEveryLanguageIsReadableInTheWorkedOutSchemes) {
  const auto classic = Looks();
  for (std::string_view scheme : {"Light", "Dark", "High contrast"}) {
    schemes.Apply(scheme, "Classic", settings);
    const app::SchemeColours page = app::ColoursOf(scheme);
    EXPECT_GE(app::ContrastRatio(page.text, page.background), 7.0) << scheme;
    for (const auto& [language, highlighter] : highlighters.Coloured())
      for (int i = 0; i < highlighter->AttributeCount(); ++i) {
        const auto* a = highlighter->AttributeAt(i);
        EXPECT_GE(app::ContrastRatio(a->Foreground(), a->Background()), 4.5)
            << scheme << " " << language << " " << a->Name();
        EXPECT_FALSE(platform::IsSystemColor(a->Foreground())) << "the desktop's colours do not leak in";
      }
  }
  schemes.Apply("Classic", "Classic", settings);
  EXPECT_EQ(Looks(), classic) << "back to Classic exactly, after three switches";
}

TEST_F(SchemesOnHighlighters, DarkTurnsPageColoursOverAndKeepsTheirHues) {
  schemes.Apply("Dark", "Classic", settings);
  const auto& html = highlighters.TypeHTML;
  // Known tags are blue bold in Classic: still bold, still bluest, now light on the dark page.
  const app::SchemeColours dark = app::ColoursOf("Dark");
  const auto* tag = html.KeyAttri;
  EXPECT_TRUE(tag->Style() & platform::kBold);
  const platform::Color fg = tag->Foreground();
  EXPECT_GT((fg >> 16) & 0xFF, fg & 0xFF) << "blue above red";
  EXPECT_EQ(tag->Background(), dark.background);
  EXPECT_EQ(app::SchemeInEffect("", /*desktopDark=*/true), "Dark");
  EXPECT_EQ(app::SchemeInEffect("", false), "Classic");
  EXPECT_EQ(app::SchemeInEffect("High contrast", true), "High contrast");
  EXPECT_EQ(app::SchemeInEffect("Mauve", false), "Classic") << "an unknown name from a hand-edited file";
}

TEST_F(SchemesOnHighlighters, CustomIsTheSchemeItStandsOnWithWhatWasChangedAndSaved) {
  schemes.Apply("Custom", "Dark", settings);
  schemes.Apply("Dark", "Classic", settings);
  const auto dark = Looks();
  schemes.Apply("Custom", "Dark", settings);
  EXPECT_EQ(Looks(), dark) << "nothing saved: the base scheme";

  auto& sql = highlighters.TypeSQL;
  const app::TokenLook mine{platform::Rgb(1, 2, 3), platform::Rgb(250, 250, 250), platform::kItalic};
  schemes.SetCustomLook(sql, 0, mine);
  schemes.SaveCustom(settings);
  EXPECT_TRUE(settings.KeyExists(std::string(app::kHighlighterColoursRoot) + "\\Highlighters\\SQL\\Custom\\" +
                                 sql.AttributeAt(0)->Name()));
  EXPECT_EQ(sql.ListUserSettings(), (std::vector<std::string>{"Custom"})) << "one of SQL's own saved schemes";
  schemes.Apply("Classic", "Classic", settings);
  schemes.ForgetCustom();
  schemes.Apply("Custom", "Dark", settings);
  auto expected = dark;
  std::size_t index = 0;
  for (const auto& [language, highlighter] : highlighters.Coloured()) {
    if (highlighter == &sql) expected[index] = mine;
    index += static_cast<std::size_t>(highlighter->AttributeCount());
  }
  EXPECT_EQ(Looks(), expected) << "read back from the store over the Dark looks";
}

TEST_F(SchemesOnHighlighters, TheSchemesColoursReachTheViewsParts) {
  app::ApplyToView(app::ColoursOf("Dark"), editor);
  const app::SchemeColours dark = app::ColoursOf("Dark");
  EXPECT_EQ(editor.Color(), dark.background);
  EXPECT_EQ(editor.FontColor(), dark.text);
  EXPECT_EQ(editor.Gutter().Color(), dark.gutter);
  EXPECT_EQ(editor.Gutter().EdgeLight(), dark.gutterEdgeLight);
  EXPECT_EQ(editor.SelectedColor().Background, dark.selectionBackground);
  EXPECT_EQ(editor.RightEdgeColor(), dark.rightEdge);
  EXPECT_EQ(editor.CaretLineColor(), dark.caretLine);
  EXPECT_NE(dark.previewBackground, app::ColoursOf("Classic").previewBackground);
}

}  // namespace
