// The skip-table matcher on its own, SearchReplace with an OnReplaceText handler answering for each match, and
// the main window's Replace and Replace All.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "app/SearchCommands.h"
#include "editor/EditSearch.h"

using editor::TqeEditSearch;

namespace {

std::vector<int> All(TqeEditSearch& search, std::string_view text) {
  search.FindAllMatches(text);
  std::vector<int> positions;
  for (int i = 0; i < search.MatchCount(); ++i) positions.push_back(search.MatchAt(i));
  return positions;
}

}  // namespace

TEST(EditSearch, SkipTableMatchesWithoutOverlapAndFoldsTheCodePage) {
  TqeEditSearch search;
  EXPECT_THROW(search.SetPattern(""), editor::EqeEditError);
  search.SetPattern("aa");
  EXPECT_EQ(All(search, "aaaaa"), (std::vector<int>{1, 3})) << "matches never overlap";
  search.SetPattern("abcab");
  EXPECT_EQ(All(search, "abcabcabab abcab"), (std::vector<int>{1, 12})) << "a failed compare keeps later matches";
  EXPECT_EQ(All(search, "abca"), std::vector<int>{}) << "a text shorter than the pattern";
  EXPECT_EQ(search.MatchAt(5), 0);

  search.SetPattern("\xC9t\xC9");  // ÉtÉ
  EXPECT_EQ(All(search, "l'\xE9t\xE9 \xC9T\xC9"), (std::vector<int>{3, 7})) << "accented capitals fold";
  search.SetCaseSensitive(true);
  EXPECT_EQ(All(search, "l'\xE9t\xE9 \xC9T\xC9 \xC9t\xC9"), std::vector<int>{11});

  search.SetCaseSensitive(false);
  search.SetWholeWord(true);
  search.SetPattern("caf");
  EXPECT_EQ(All(search, "caf caf\xE9 caf, (caf"), (std::vector<int>{1, 10, 16})) << "\xE9 is a letter";
  EXPECT_EQ(search.Count(), 3);

  search.SetPattern("ab");
  search.SetWholeWord(false);
  All(search, "ab ab ab");
  search.ShiftMatches(1, -3);
  EXPECT_EQ(All(search, "ab ab ab").size(), 3u);
  search.ShiftMatches(1, -3);
  EXPECT_EQ(search.MatchAt(0), 1) << "a match at the changed position stays";
  EXPECT_EQ(search.MatchAt(1), 7);
  EXPECT_EQ(search.MatchAt(2), 10);
}

TEST_F(EditorTest, AReplaceHandlerSkipsReplacesAndCancels) {
  SetLines({"x x x", "x"});
  std::vector<editor::TqeReplaceAction> answers = {editor::ReplaceSkip, editor::ReplaceOne, editor::ReplaceCancel};
  std::vector<std::string> asked;
  editor.OnReplaceText = [&](std::string_view search, std::string_view with, int line, int column,
                             editor::TqeReplaceAction& action) {
    EXPECT_EQ(action, editor::ReplaceCancel) << "the answer starts as cancel";
    asked.push_back(std::string(search) + ">" + std::string(with) + "@" + std::to_string(line) + "," +
                    std::to_string(column));
    action = answers[asked.size() - 1];
  };
  EXPECT_EQ(editor.SearchReplace("x", "yy", editor::soReplace | editor::soEntireScope), 3);
  EXPECT_EQ(asked, (std::vector<std::string>{"x>yy@1,1", "x>yy@1,3", "x>yy@1,6"}))
      << "the match after the replacement moved by its growth";
  EXPECT_EQ(Lines(), (::Lines{"x yy x", "x"}));
  EXPECT_EQ(editor.SelectedText(), "x") << "the match the handler cancelled at stays selected";
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{7, 1}));

  asked.clear();
  answers = {editor::ReplaceOne, editor::ReplaceAll};
  EXPECT_EQ(editor.SearchReplace("x", "z", editor::soReplace | editor::soEntireScope), 3);
  EXPECT_EQ(Lines(), (::Lines{"z yy z", "z"}));
  EXPECT_EQ(asked.size(), 2u) << "once replace-all is in force nobody is asked";
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"z yy x", "x"})) << "the replace-all part is one step";
  editor.Undo();
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"x yy x", "x"})) << "a single replacement is written text: its deletion and insertion";
}

TEST_F(EditorTest, ReplaceAllOfAMillionLinesIsOneUndoStep) {
  std::vector<std::string> lines(20000, "alpha beta alpha");
  SetLines(lines);
  editor.SetMaxUndo(30);
  EXPECT_EQ(editor.SearchReplace("alpha", "a", editor::soReplaceAll | editor::soEntireScope | editor::soMatchCase),
            40000);
  EXPECT_EQ(editor.Lines().Get(19999), "a beta a");
  EXPECT_EQ(editor.UndoList().RecordCount(), 2) << "one replaced stretch and its insertion";
  editor.Undo();
  EXPECT_EQ(Lines(), lines);
  editor.Redo();
  EXPECT_EQ(editor.Lines().Get(0), "a beta a");
}

TEST_F(EditorTest, TheWindowsReplaceAllTakesASelectedMatchInEitherDirection) {
  const editor::TSearchOptions up = editor::soBackwards | editor::soMatchCase;
  struct Case {
    const char* why;
    int c1, l1, c2, l2;  // the selection
    editor::TSearchOptions options;
    int replaced;
    ::Lines after;
  };
  const Case cases[] = {
      {"down from a selected match", 5, 1, 8, 1, editor::soMatchCase, 2, {"cat dog", "dog"}},
      {"up from a match inside its line", 1, 1, 4, 1, up, 1, {"dog cat", "cat"}},
      {"up from a match at its line's end", 5, 1, 8, 1, up, 2, {"dog dog", "cat"}},
      {"up from the match at the end of the text", 1, 2, 4, 2, up, 3, {"dog dog", "dog"}},
  };
  for (const Case& c : cases) {
    SetLines({"cat cat", "cat"});
    Select(c.c1, c.l1, c.c2, c.l2);
    EXPECT_EQ(app::ReplaceEvery(editor, "cat", "dog", c.options), c.replaced) << c.why;
    EXPECT_EQ(Lines(), c.after) << c.why;
  }

  SetLines({"cat cot"});
  Select(5, 1, 8, 1);
  EXPECT_EQ(app::ReplaceEvery(editor, "c.t", "[$0]", editor::soRegularExpression), 1) << "a selected pattern match";
  EXPECT_EQ(Lines(), (::Lines{"cat [cot]"}));
}

TEST_F(EditorTest, TheWindowsReplaceTakesTheSelectedMatchOrFindsOne) {
  SetLines({"cat cot cut"});
  Select(5, 1, 8, 1);
  EXPECT_TRUE(app::ReplaceOne(editor, "c(.)t", "<$1>", editor::soRegularExpression));
  EXPECT_EQ(Lines(), (::Lines{"cat <o> cut"})) << "the selected match, its group filled in";
  EXPECT_TRUE(app::ReplaceOne(editor, "c(.)t", "<$1>", editor::soRegularExpression));
  EXPECT_EQ(Lines(), (::Lines{"cat <o> <u>"})) << "no match selected: the next one from the caret";
  EXPECT_FALSE(app::ReplaceOne(editor, "c(.)t", "<$1>", editor::soRegularExpression)) << "none left after the caret";
  Select(1, 1, 4, 1);
  EXPECT_FALSE(app::ReplaceOne(editor, "CAT", "dog", editor::soMatchCase))
      << "a selection differing in case is no match";
}
