// Spelling: which words of a line are asked for, which lines are asked again after an edit, the
// background pass, the underlines and the word under the pointer, and the dictionary with its personal
// list and ignored words.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "EditorFixture.h"
#include "TestFiles.h"
#include "app/Spelling.h"
#include "highlighters/PerlHighlighter.h"
#include "highlighters/WebPageHighlighter.h"
#include "platform/FileIO.h"
#include "testsupport/RecordingCanvas.h"

namespace {

namespace fs = std::filesystem;
using editor::SpellableWords;
using editor::WordSpan;
using Words = std::vector<std::string>;

Words WordsOf(std::string_view text, platform::TextEncoding encoding = platform::TextEncoding::Utf8) {
  Words out;
  for (const WordSpan& word : SpellableWords(text, encoding))
    out.emplace_back(text.substr(word.from, word.to - word.from));
  return out;
}

TEST(SpellableWords, LettersWithInnerApostrophesAndNothingThatIsNoWord) {
  EXPECT_EQ(WordsOf("Hello, world! It's 'quoted' and don't-stop."),
            (Words{"Hello", "world", "It's", "quoted", "and", "don't", "stop"}));
  // Digits, underscores and capitals only; a single capital is a word.
  EXPECT_EQ(WordsOf("HTML5 x86 3rd my_name NASA OK A I go"), (Words{"A", "I", "go"}));
  // Addresses and paths are skipped whole, with what is glued to them.
  EXPECT_EQ(WordsOf("see http://exmaple.com/pth, mail me@hoem.org or www.sitte.net /usr/bin/perl and/or"),
            (Words{"see", "mail", "or", "and", "or"}));
  // A backslash takes its letter: "\n" in a string is no word.
  EXPECT_EQ(WordsOf("line\\nbreak"), (Words{"line", "break"}));
}

TEST(SpellableWords, EncodingsDecideWhatALetterIs) {
  // UTF-8: accents and other scripts are letters, typographic quotes and dashes are not, the curly
  // apostrophe joins.
  EXPECT_EQ(WordsOf("“café”—naïve it’s Ελληνικά"), (Words{"café", "naïve", "it’s", "Ελληνικά"}));
  EXPECT_EQ(WordsOf("ÉTÉ Été"), (Words{"Été"})) << "accented capitals count as capitals";
  // Windows-1252: é is one byte; 0x92 is the curly apostrophe, 0xA0 a blank.
  const std::string cp1252 = "caf\xE9 it\x92s a\xA0word";
  EXPECT_EQ(WordsOf(cp1252, platform::TextEncoding::Cp1252), (Words{"caf\xE9", "it\x92s", "a", "word"}));
}

// A document with a check that knows a few wrong words and counts what it is asked.
class SpellingLinesTest : public EditorTest {
 protected:
  void StartChecking() {
    editor.Document().SetSpellCheck([this](std::string_view word) {
      ++asked[std::string(word)];
      return wrong.count(std::string(word)) == 0;
    });
  }
  Words Misspelt(int line) {
    Words out;
    const std::string_view text = editor.Lines().Get(line - 1);
    for (const WordSpan& word : editor.Document().Spelling().Misspelt(line - 1))
      out.emplace_back(text.substr(word.from, word.to - word.from));
    return out;
  }
  std::set<std::string> wrong{"wrnog", "txet", "tpyo", "strng", "coment", "Ttile", "atlt", "valeu", "nmae"};
  std::map<std::string, int> asked;
};

TEST_F(SpellingLinesTest, APageIsCheckedInItsTextTitleAndProseAttributesOnly) {
  highlighters::TWebPageSyn page;
  editor.SetHighLighter(&page);
  SetLines({"<title>wrnog txet</title><style>p.wrnog { color: red }</style>",
            "<p class=\"wrnog\" title=\"Ttile\" data-x=\"valeu\">tpyo &amp; caf&eacute;txet</p>",
            "<img alt=\"atlt\" src=\"wrnog.png\"><input placeholder=\"nmae\"><!-- coment -->",
            "<script>var wrnog = \"strng\"; // coment</script><%= wrnog %> <?php echo \"strng\"; ?> txet"});
  StartChecking();
  EXPECT_EQ(Misspelt(1), (Words{"wrnog", "txet"}));
  EXPECT_EQ(Misspelt(2), (Words{"Ttile", "tpyo"})) << "attribute names, other values and entity words are no prose";
  EXPECT_EQ(Misspelt(3), (Words{"atlt", "nmae"}));
  EXPECT_EQ(Misspelt(4), (Words{"txet"})) << "scripts and server blocks are not checked";
  editor.SetHighLighter(nullptr);
}

TEST_F(SpellingLinesTest, AScriptIsCheckedInItsCommentsAndStringsAndPlainTextEverywhere) {
  highlighters::TUloPerlSyn perl;
  editor.SetHighLighter(&perl);
  SetLines({"my $nmae = \"a strng\"; # a coment on wrnog"});
  StartChecking();
  EXPECT_EQ(Misspelt(1), (Words{"strng", "coment", "wrnog"}));
  editor.SetHighLighter(nullptr);
  EXPECT_EQ(Misspelt(1), (Words{"nmae", "strng", "coment", "wrnog"})) << "without a highlighter every word counts";
}

TEST_F(SpellingLinesTest, OnlyChangedLinesAreAskedAgainAndTheBackgroundPassFinishes) {
  std::vector<std::string> text(300, "some txet here");
  SetLines(text);
  int workAdded = 0;
  editor.Document().Spelling().OnWorkAdded = [&] { ++workAdded; };
  StartChecking();
  EXPECT_EQ(workAdded, 1);
  // Slices until done: every line is checked once.
  while (editor.Document().Spelling().CheckSome(std::chrono::microseconds(0))) {
  }
  EXPECT_EQ(asked["txet"], 300);
  EXPECT_EQ(Misspelt(150), (Words{"txet"}));
  EXPECT_EQ(asked["txet"], 300) << "a checked line is not asked again";

  // Typing on one line asks for that line alone.
  editor.SetCaretXY({1, 150});
  Type("tpyo ");
  EXPECT_EQ(workAdded, 2);
  EXPECT_EQ(Misspelt(150), (Words{"tpyo", "txet"}));
  EXPECT_EQ(asked["txet"], 301);
  EXPECT_FALSE(editor.Document().Spelling().CheckSome(std::chrono::milliseconds(50)));
  EXPECT_EQ(asked["txet"], 301);

  // Lines that come and go keep the others' results in their places.
  editor.SetCaretXY({1, 10});
  editor.ExecuteCommand(editor::ecLineBreak, 0);
  EXPECT_EQ(Misspelt(151), (Words{"tpyo", "txet"}));
  editor.Document().SetSpellCheck({});
  EXPECT_TRUE(Misspelt(151).empty()) << "no check: nothing underlined";
}

TEST_F(SpellingLinesTest, MisspeltWordsAreUnderlinedAndFoundUnderThePointer) {
  SetLines({"one wrnog word", "fine"});
  StartChecking();
  platform::fakes::RecordingCanvas canvas;
  editor.Paint(canvas, {0, 0, 800, 600});
  // The wave under "wrnog" (columns 5 to 9): short red strokes along the row's foot.
  const int left = editor.TextLeft() + 4 * 8;
  int strokes = 0;
  for (const std::string& call : canvas.Calls())
    if (call.starts_with("line ") && call.ends_with("#000000E0")) {
      ++strokes;
      int x1, y1, x2, y2;
      ASSERT_EQ(std::sscanf(call.c_str(), "line %d %d %d %d", &x1, &y1, &x2, &y2), 4);
      EXPECT_GE(x1, left);
      EXPECT_LE(x2, left + 5 * 8);
      EXPECT_GE(std::min(y1, y2), editor.RowHeight() - 4);
      EXPECT_LT(std::max(y1, y2), editor.RowHeight());
    }
  EXPECT_GT(strokes, 5);

  const int y = editor.RowHeight() / 2;
  const auto word = editor.MisspeltWordAt(left + 3, y);
  ASSERT_TRUE(word);
  EXPECT_EQ(*word, (editor::TextSpan{1, 5, 10}));
  EXPECT_FALSE(editor.MisspeltWordAt(editor.TextLeft() + 3, y)) << "\"one\" is spelt right";
  EXPECT_FALSE(editor.MisspeltWordAt(left + 3, y + editor.RowHeight()));
  EXPECT_FALSE(editor.MisspeltWordAt(2, y)) << "the gutter holds no words";
}

TEST_F(SpellingLinesTest, TheGutterMarksNotedLinesAndTellsTheirMessages) {
  SetLines({"a", "b", "c"});
  editor.Document().SetLineNotes({{1, false, "a warning"}, {3, true, "an error\nand a warning"}});
  platform::fakes::RecordingCanvas canvas;
  editor.Paint(canvas, {0, 0, 800, 600});
  Words dots;
  for (const std::string& call : canvas.Calls())
    if (call.starts_with("ellipse ")) dots.push_back(call.substr(call.rfind(' ') + 1));
  EXPECT_EQ(dots, (Words{"#0000A0F0", "#002020E0"})) << "orange for a warning, red for an error";
  const int row = editor.RowHeight();
  ASSERT_TRUE(editor.GutterNoteAt(4, 2 * row + 3));
  EXPECT_EQ(editor.GutterNoteAt(4, 2 * row + 3)->message, "an error\nand a warning");
  EXPECT_FALSE(editor.GutterNoteAt(4, row + 3));
  EXPECT_FALSE(editor.GutterNoteAt(editor.TextLeft() + 4, 3)) << "only over the gutter";
}

// The real dictionary, as installed by the project's scripts.
class SpellingService : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!app::SpellDictionary::Open("en_US")) GTEST_SKIP() << "hunspell-en-us is not installed";
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  // One folder a test: CTest runs them side by side.
  fs::path folder = fs::path(testing::TempDir()) /
                    ("spelling-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
};

TEST_F(SpellingService, SuggestsIgnoresAndAddsWordsThatStayAdded) {
  const auto installed = app::InstalledDictionaries();
  EXPECT_NE(std::find(installed.begin(), installed.end(), "en_US"), installed.end());
  const fs::path personal = folder / "personal-words.txt";
  const auto utf8 = platform::TextEncoding::Utf8;
  {
    app::Spelling spelling(nullptr, personal);
    EXPECT_FALSE(spelling.SetLanguage("xx_NOWHERE"));
    EXPECT_EQ(spelling.Language(), "");
    EXPECT_TRUE(spelling.Correct("tomatos", utf8)) << "no dictionary: nothing is wrong";
    ASSERT_TRUE(spelling.SetLanguage("en_US"));
    EXPECT_TRUE(spelling.Correct("tomatoes", utf8));
    EXPECT_TRUE(spelling.Correct("it’s", utf8)) << "the curly apostrophe is the dictionary's own";
    EXPECT_FALSE(spelling.Correct("tomatos", utf8));
    const auto suggestions = spelling.Suggestions("tomatos", utf8);
    EXPECT_LE(suggestions.size(), 8u);
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "tomatoes"), suggestions.end());
    // A Windows-1252 word is read in its own bytes; its suggestions come back in them.
    EXPECT_FALSE(spelling.Correct("r\xE9sum\xE9x", platform::TextEncoding::Cp1252));

    spelling.Ignore("Quillmark", utf8);
    EXPECT_TRUE(spelling.Correct("Quillmark", utf8));
    ASSERT_TRUE(spelling.AddToDictionary("Tarnwell", utf8));
    EXPECT_TRUE(spelling.Correct("Tarnwell", utf8));
  }
  EXPECT_EQ(platform::ReadFileBytes(personal), "Tarnwell\r\n");
  app::Spelling again(nullptr, personal);
  ASSERT_TRUE(again.SetLanguage("en_US"));
  EXPECT_TRUE(again.Correct("Tarnwell", utf8)) << "the personal list is read with the dictionary";
  EXPECT_FALSE(again.Correct("Quillmark", utf8)) << "ignored words last a session";
}

TEST_F(SpellingService, WatchedDocumentsAreCheckedAndRecheckedWhenWordsAreAccepted) {
  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  editor::TqeCustomEdit view(fonts, clipboard);
  view.Lines().SetTextStr("Fresh tomatos and basil\r\n");
  app::Spelling spelling(nullptr, folder / "personal-words.txt");
  ASSERT_TRUE(spelling.SetLanguage("en_US"));
  spelling.Watch(view.Document());
  ASSERT_EQ(view.Document().Spelling().Misspelt(0), (std::vector<WordSpan>{{6, 13}}));
  spelling.Ignore("tomatos", platform::TextEncoding::Cp1252);
  EXPECT_TRUE(view.Document().Spelling().Misspelt(0).empty());
  ASSERT_TRUE(spelling.SetLanguage(""));
  EXPECT_FALSE(view.Document().Spelling().Enabled());
  spelling.Unwatch(view.Document());
}

}  // namespace
