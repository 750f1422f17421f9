// The page scanner and the new scanners beyond what token dumps show: the states it keeps in the line's
// slot, colour changes of the scanners it reads with, heredocs past the identifier table, and the window's
// modes of files.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "EditorFixture.h"
#include "app/Highlighters.h"
#include "highlighters/PhpHighlighter.h"
#include "highlighters/WebPageHighlighter.h"
#include "platform/MemoryRegistry.h"

namespace {

// "TEXT:LANGUAGE.ATTRIBUTE" for each token of each line, scanned from the reset state.
std::vector<std::string> Scan(highlighters::TqeCustomHighLighter& scanner, const std::vector<std::string>& lines,
                              std::vector<highlighters::RangeValue>* ends = nullptr) {
  std::vector<std::string> tokens;
  scanner.ResetRangeState();
  for (const std::string& line : lines) {
    scanner.StartLine(line, 0);
    for (; !scanner.AtLineEnd(); scanner.NextToken())
      tokens.push_back(std::string(scanner.TokenText()) + ":" + std::string(scanner.TokenLanguage()) + "." +
                       scanner.TokenAttribute()->Name());
    if (ends) ends->push_back(scanner.RangeState());
  }
  return tokens;
}

}  // namespace

TEST(PageScanner, TheSlotHoldsEveryRegionsStateAndNeverTheUnscannedMark) {
  highlighters::TWebPageSyn page;
  std::vector<highlighters::RangeValue> ends;
  Scan(page,
       {"<style>a { color: red; /* open", "<?php $x = 'str", "ing'; ?> */ }", "</style><script>let t = `a ${", "b + {",
        "} }`;<% If x", "Then %></script>"},
       &ends);
  std::set<highlighters::RangeValue> distinct(ends.begin(), ends.end());
  EXPECT_EQ(distinct.size(), ends.size()) << "each line ends in another state, all held by the slot";
  for (highlighters::RangeValue end : ends) EXPECT_LE(end, 0xFFFFFFFEu);

  // Scanning a line from the stored state of the line before gives what one pass gives.
  page.SetRangeState(ends[1]);
  page.StartLine("ing'; ?> */ }", 0);
  EXPECT_EQ(page.TokenText(), "ing'");
  EXPECT_EQ(page.TokenLanguage(), "php");

  page.SetRangeState(0xFFFFFFFFu);  // what no scan writes: read as a state of the page anyway
  page.StartLine("<p>x</p>", 0);
  while (!page.AtLineEnd()) page.NextToken();
  EXPECT_LT(page.RangeState(), 0xFFFFFFFFu);
}

TEST_F(EditorTest, AColourChangeOfAnEmbeddedLanguageRepaintsThePage) {
  platform::MemoryRegistry settings;
  auto languages = std::make_unique<app::MainHighlighters>(settings);
  SetLines({"<style>p { color: red }</style>"});
  editor.SetHighLighter(languages->ForLanguage("HTML"));
  EXPECT_EQ(editor.HighLighter(), &languages->TypePage);
  window.ClearLog();
  languages->TypeCSS.PropertyAttri->SetForeground(platform::Rgb(1, 2, 3));
  EXPECT_FALSE(window.invalidated.empty());
  window.ClearLog();
  languages->TypePHP.TagAttri->SetForeground(platform::Rgb(1, 2, 3));
  EXPECT_TRUE(window.invalidated.empty()) << "the page shows PHP's tags, but it is not bound to TypePHP";
  languages.reset();
  EXPECT_EQ(editor.HighLighter(), nullptr);

  // A page scanner with scanners of its own outlives nothing it reads with.
  auto own = std::make_unique<highlighters::TWebPageSyn>();
  editor.SetHighLighter(own.get());
  own.reset();
  EXPECT_EQ(editor.HighLighter(), nullptr);
}

TEST(PhpScanner, HeredocsPastTheIdentifierTableCloseAtAnyIdentifierAlone) {
  highlighters::TPhpSyn php;
  std::vector<std::string> lines = {"<?php"};
  for (int i = 0; i < 130; ++i) {
    lines.push_back("$a = <<<ID" + std::to_string(i));
    lines.push_back("  ID" + std::to_string(i) + ";");
  }
  lines.push_back("$b = <<<LAST");
  lines.push_back("  OTHER");
  lines.push_back("$c;");
  const auto tokens = Scan(php, lines);
  // The 127 identifiers the table holds close only at their own line; the later ones at any identifier.
  EXPECT_NE(std::find(tokens.begin(), tokens.end(), "  ID126:.Heredoc"), tokens.end());
  EXPECT_NE(std::find(tokens.begin(), tokens.end(), "  OTHER:.Heredoc"), tokens.end());
  EXPECT_NE(std::find(tokens.begin(), tokens.end(), "$c:.Variable"), tokens.end());
}

TEST(WindowLanguages, FilesTakeTheModeOfTheirExtension) {
  platform::MemoryRegistry settings;
  app::MainHighlighters languages(settings);
  EXPECT_EQ(languages.ForFile("/site/main.CSS"), &languages.TypeCSS);
  EXPECT_EQ(languages.ForFile("app.mjs"), &languages.TypeJavaScript);
  EXPECT_EQ(languages.ForFile("index.phtml"), &languages.TypePHP);
  for (const char* page : {"a.htm", "a.HTML", "b.asp", "c.shtml"})
    EXPECT_EQ(languages.ForFile(page), &languages.TypePage);
  EXPECT_EQ(languages.ForFile("notes.txt"), nullptr);
  EXPECT_EQ(languages.ForFile("dir.css/readme"), nullptr) << "a dot in a folder's name is no extension";
  EXPECT_EQ(languages.ForLanguage("HTML"), &languages.TypePage);
  EXPECT_EQ(languages.LanguageOf(&languages.TypePHP), "PHP");
}
