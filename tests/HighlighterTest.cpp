// The highlighter framework and the HTML scanner's rules that token dumps do not show.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/RangeScan.h"
#include "highlighters/HtmlHighlighter.h"
#include "platform/MemoryRegistry.h"

using highlighters::TzrHTMLSyn;

namespace {

struct Token {
  int position;
  std::string text;
  int kind;
  friend bool operator==(const Token&, const Token&) = default;
};

std::vector<Token> Tokens(TzrHTMLSyn& html, std::string_view line) {
  std::vector<Token> tokens;
  html.StartLine(line, 0);
  for (; !html.AtLineEnd(); html.NextToken())
    tokens.push_back({html.TokenPosition(), std::string(html.TokenText()), html.TokenKind()});
  return tokens;
}

class RecordingExporter : public highlighters::TokenExporter {
 public:
  void ExportToken(std::string_view text, const highlighters::TqeHighLightAttributes* attribute, bool isSpace,
                   bool escape) override {
    log.push_back(std::string(text) + "|" + (attribute ? attribute->Name() : "-") + "|" + (isSpace ? "space" : "") +
                  "|" + (escape ? "escape" : ""));
  }
  std::vector<std::string> log;
};

}  // namespace

TEST(HighlightAttributes, ChangesAreReportedOnlyWhenValuesChange) {
  highlighters::TqeHighLightAttributes a("Comment");
  int changes = 0;
  a.OnChange = [&](highlighters::TqeHighLightAttributes&) { ++changes; };
  a.SetForeground(platform::kColorWindowText);
  EXPECT_EQ(changes, 0);
  a.SetIntegerStyle(5);
  EXPECT_EQ(a.Style(), platform::kBold | platform::kUnderline);
  EXPECT_EQ(changes, 2) << "bold alone first, then underline added";
  highlighters::TqeHighLightAttributes other("Other");
  other.SetBackground(0x123456);
  a.Assign(other);
  EXPECT_EQ(changes, 2) << "assigning reports nothing";
  EXPECT_EQ(a.Name(), "Other");
  EXPECT_EQ(a.Background(), 0x123456u);
}

TEST(CustomHighlighter, AttributeListIsSortedByName) {
  TzrHTMLSyn html;
  std::vector<std::string> names;
  for (int i = 0; i < html.AttributeCount(); ++i) names.push_back(html.AttributeAt(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Asp", "Comment", "Escape ampersand", "Identifier", "Reserved word",
                                             "Space", "Symbol", "Text", "Unknown word", "Value"}));
  EXPECT_EQ(html.AttributeAt(-1), nullptr);
  EXPECT_EQ(html.AttributeAt(10), nullptr);
  EXPECT_EQ(html.Capabilities(), 7);
  EXPECT_EQ(html.LanguageTitle(), "HTML Document");
  EXPECT_EQ(html.KeyAttri->Foreground(), 0xFF0080u) << "the constructor's own colours";
}

TEST(CustomHighlighter, AttributesRoundTripThroughTheRegistry) {
  platform::MemoryRegistry registry;
  TzrHTMLSyn saved;
  saved.CommentAttri->SetForeground(platform::Rgb(1, 2, 3));
  saved.CommentAttri->SetIntegerStyle(3);
  saved.ASPAttri->SetBackground(platform::kColorWindow);
  EXPECT_TRUE(saved.SaveAttributes(registry, "HKEY_CURRENT_USER", "Software\\Quillmark\\HTML"));
  TzrHTMLSyn loaded;
  EXPECT_FALSE(loaded.LoadAttributes(registry, "HKEY_CURRENT_USER", "Software\\Missing"));
  EXPECT_TRUE(loaded.LoadAttributes(registry, "HKEY_CURRENT_USER", "Software\\Quillmark\\HTML"));
  EXPECT_EQ(loaded.CommentAttri->Foreground(), platform::Rgb(1, 2, 3));
  EXPECT_EQ(loaded.CommentAttri->Style(), platform::kBold | platform::kItalic);
  EXPECT_EQ(loaded.ASPAttri->Background(), platform::kColorWindow) << "system colours keep their high bit";
}

TEST_F(EditorTest, HighlighterChangesRepaintAndItsDestructionUnbinds) {
  auto html = std::make_unique<TzrHTMLSyn>();
  editor.SetHighLighter(html.get());
  window.ClearLog();
  html->TextAttri->SetForeground(platform::Rgb(9, 9, 9));
  EXPECT_FALSE(window.invalidated.empty());
  html.reset();
  EXPECT_EQ(editor.HighLighter(), nullptr);
}

TEST(HtmlScanner, LineEndsInsideALineAndEmptyLines) {
  TzrHTMLSyn html;
  EXPECT_TRUE(Tokens(html, "").empty());
  html.StartLine("", 0);
  EXPECT_TRUE(html.AtLineEnd());
  EXPECT_EQ(html.TokenText(), "");
  html.SetRangeState(TzrHTMLSyn::rsParam);
  const auto tokens = Tokens(html, "a\r\nb");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1], (Token{1, "\r\n", TzrHTMLSyn::tkSpace}));
}

TEST(HtmlScanner, RangesCarryOpenConstructsAcrossLines) {
  TzrHTMLSyn html;
  html.ResetRangeState();
  Tokens(html, "<a href=");
  EXPECT_EQ(html.RangeState(), TzrHTMLSyn::rsValue);
  Tokens(html, "<td");
  EXPECT_EQ(html.RangeState(), TzrHTMLSyn::rsParam);
  Tokens(html, "x><!-- open");
  EXPECT_EQ(html.RangeState(), TzrHTMLSyn::rsComment);
  Tokens(html, "--> <% x");
  EXPECT_EQ(html.RangeState(), TzrHTMLSyn::rsASP);
  Tokens(html, "%>");
  EXPECT_EQ(html.RangeState(), TzrHTMLSyn::rsText);
}

TEST(HtmlScanner, ExportHandsTokensWithTheirEscapeFlags) {
  TzrHTMLSyn html;
  RecordingExporter exporter;
  html.SetExporter(&exporter);
  html.StartExportLine("<b x=1>&amp; t");
  while (!html.AtLineEnd()) html.ExportNextToken();
  EXPECT_EQ(exporter.log,
            (std::vector<std::string>{"<|Symbol||escape", "b|Reserved word||", " |Space|space|", "x|Identifier||",
                                      "=|Symbol||escape", "1|Value||escape", ">|Symbol||escape", "|Text||escape",
                                      "&amp;|Escape ampersand||", " t|Text||escape", "|-||"}));
}

// Counts the lines the scanner is asked to scan.
class CountingHtml : public TzrHTMLSyn {
 public:
  void StartLine(std::string_view text, int lineNumber) override {
    ++lines;
    TzrHTMLSyn::StartLine(text, lineNumber);
  }
  int lines = 0;
};

TEST_F(EditorTest, TypingInAMillionLinePageRescansOneLineAndRepaintsOneRow) {
  std::string page;
  for (int i = 0; i < 1000000; ++i)
    page += i % 5 == 0 ? "<tr><td class=\"c\">cell &amp; text</td></tr>\r\n" : "plain text line\r\n";
  editor.Lines().SetTextStr(page);
  CountingHtml html;
  editor.SetHighLighter(&html);
  EXPECT_EQ(html.lines, 1000000);
  html.lines = 0;
  editor.SetCaretXY({5, 10});
  window.ClearLog();
  Type("x");
  EXPECT_EQ(html.lines, 1);
  ASSERT_EQ(window.invalidated.size(), 1u);
  EXPECT_EQ(window.invalidated[0].Height(), editor.RowHeight());
  EXPECT_EQ(window.invalidated[0].top, 9 * editor.RowHeight());
}
