// The insertion commands on a headless editor: modes, composed texts, the instant table and the line
// status buttons.
#include <unistd.h>

#include <filesystem>

#include "app/InsertCommands.h"
#include "app/InstantTable.h"
#include "app/LineStatusButtons.h"
#include "editor/MarkGlyphs.h"
#include "tests/EditorFixture.h"
#include "testsupport/FakeDialogs.h"

namespace fs = std::filesystem;

namespace {

class InsertTest : public EditorTest {
 protected:
  InsertTest() { SetLines({"one", "two", "three"}); }
  void CaretAt(int column, int line) { editor.SetCaretXY({column, line}); }

  app::InsertCommands inserts{editor};
};

}  // namespace

TEST_F(InsertTest, EachModePutsTheTextInItsPlaceWithoutMovingTheCaret) {
  CaretAt(2, 1);
  inserts.Insert(app::InsertMode::AtCaretLine, "<HR>");
  EXPECT_EQ(Lines(), (::Lines{"<HR>", "one", "two", "three"})) << "the old first line becomes line 2";
  inserts.Insert(app::InsertMode::BelowCaretLine, "below");
  EXPECT_EQ(Lines(), (::Lines{"<HR>", "below", "one", "two", "three"}));
  inserts.Insert(app::InsertMode::Appended, "end");
  EXPECT_EQ(Lines().back(), "end");
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{2, 1}));

  CaretAt(6, 6);  // on the last line: below it means a new last line
  inserts.Insert(app::InsertMode::BelowCaretLine, "last");
  EXPECT_EQ(Lines(), (::Lines{"<HR>", "below", "one", "two", "three", "end", "last"}));
}

TEST_F(InsertTest, WrappingSurroundsTheSelectionOrLeavesTheBarePairAtTheCaret) {
  CaretAt(3, 2);
  inserts.Run(*app::FindTagCommand("ToolbarButton9727Click"));  // Bold
  EXPECT_EQ(Lines()[1], "tw<b></b>o");
  Select(1, 3, 6, 3);
  inserts.Run(*app::FindTagCommand("ToolbarButton9728Click"));  // Header 1
  EXPECT_EQ(Lines()[2], "<h1>three</h1>");
}

TEST_F(InsertTest, EveryFixedCommandInsertsItsTextInItsMode) {
  for (const app::TagCommand& command : app::FixedTagCommands()) {
    SetLines({"one", "two", "three"});
    CaretAt(1, 2);
    inserts.Run(command);
    const ::Lines lines = Lines();
    if (command.mode == app::InsertMode::WrapSelection) {
      EXPECT_EQ(lines[1], std::string(command.text) + command.closing + "two") << command.handler;
    } else if (std::string(command.handler) == "ToolbarButton973Click") {
      EXPECT_EQ(lines, (::Lines{"one", "<tr>", "", "</tr>", "two", "three"}))
          << "Add Rows: three lines at the caret line";
    } else {
      EXPECT_EQ(lines, (::Lines{"one", command.text, "two", "three"})) << command.handler;
    }
  }
  EXPECT_EQ(app::FindTagCommand("nothing"), nullptr);
}

TEST_F(InsertTest, AnInsertionIsOneUndoStepAndEarlierStepsStayInPlace) {
  CaretAt(4, 2);
  Type("X");
  inserts.Insert(app::InsertMode::AtCaretLine, "<tr>\r\n\r\n</tr>");
  EXPECT_EQ(Lines(), (::Lines{"one", "<tr>", "", "</tr>", "twoX", "three"}));
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"one", "twoX", "three"}));
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"one", "two", "three"})) << "the typed character is taken from its own line";
}

TEST_F(InsertTest, TimestampFontAndAspVariable) {
  CaretAt(1, 1);
  inserts.Timestamp("08/12/2026", "14:05:09");
  EXPECT_EQ(Lines().back(), "Page was last updated on: 08/12/2026 at: 14:05:09");

  platform::fakes::FakeDialogs dialogs;
  const ::Lines before = Lines();
  inserts.ChangeFont(dialogs);
  EXPECT_EQ(Lines(), before) << "a cancelled font dialog changes nothing";
  dialogs.font = platform::FontChoice{"Liberation Serif", 14};
  Select(1, 2, 4, 2);
  inserts.ChangeFont(dialogs);
  EXPECT_EQ(Lines()[1], "<FONT FACE=\"Liberation Serif\" SIZE=\"14\"> two</FONT>");

  CaretAt(1, 1);
  inserts.AspVariable(app::kAspVariablesPrompt);
  EXPECT_EQ(Lines()[0], "<%= Request.ServerVariables(\"Click for ASP Variables\") %>");
  EXPECT_EQ(app::AspVariableNames().size(), 20u);
}

TEST_F(InsertTest, DialogTextsAndTheirEmptyBoxes) {
  CaretAt(1, 1);
  inserts.InsertImg("");
  inserts.InsertImgX("", "10", "20");
  inserts.InsertHyp("", "c");
  inserts.AddJava("", "200", "200", {"x"});
  EXPECT_EQ(Lines(), (::Lines{"one", "two", "three"})) << "an empty address or source inserts nothing";

  inserts.InsertImgX("file:///a.gif", "50", "");
  EXPECT_EQ(Lines()[1], "<img src=\"file:///a.gif\" height=\"50\" width=\"\">") << "below the caret line";
  inserts.InsertImg("b.gif");
  EXPECT_EQ(Lines()[1], "<img src=\"b.gif\">");
  inserts.InsertHyp("page.htm", "");
  EXPECT_EQ(Lines()[0], "<a href=\"page.htm\" class=\"\">page.htm</a>");
  inserts.InsertOpenHyperlink("x.htm");
  EXPECT_EQ(Lines()[0], "<a href=\"x.htm\">x.htm</a>");
  inserts.InsertStyleSheet("");
  EXPECT_EQ(Lines()[0], "<LINK REL=\"stylesheet\" TITLE=\"Default\" HREF=\"\" TYPE=\"text/css\">");

  SetLines({"one", "two"});
  CaretAt(1, 2);
  inserts.AddJava("jads.class", "200", "100", {"<param a>", "<param b>"});
  EXPECT_EQ(
      Lines(),
      (::Lines{"one", "<APPLET CODE=\"jads.class\" CODEBASE=\"./\" ALIGN=\"BASELINE\" Height=\"200\" Width=\"100\">",
               "<param a>", "<param b>", "", "</APPLET>", "two"}))
      << "the memo's text ends in a line break, which reads back as an empty line";

  SetLines({"one"});
  CaretAt(1, 1);
  inserts.InsertJCS(app::ScriptSource::FromFile, "", {"ignored"});
  EXPECT_EQ(Lines(), (::Lines{"one", "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"\">", "</SCRIPT>"}));
  inserts.InsertJCS(app::ScriptSource::AsBelow, "a.js", {});
  EXPECT_EQ(Lines(), (::Lines{"one", "<SCRIPT LANGUAGE=\"JavaScript\">", "", "</SCRIPT>",
                              "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"\">", "</SCRIPT>"}));
}

TEST_F(InsertTest, InstantTableCountsAndBlock) {
  app::TInstantTable table;
  table.Edit2Change("1");
  table.Edit3Change("3");
  ::Lines expected = {"<!--INSERTHTML-->", "<table border=1>", "<tr>"};
  for (int i = 0; i < 3; ++i) expected.push_back("<th nowrap><br></th>");
  expected.insert(expected.end(), {"</tr>", "</table><p>", "<p>", "<!--ENDINSERT-->"});
  EXPECT_EQ(table.TableLines(), expected) << "Rows 1, Columns 3: a header row and no body row";

  table.Edit2Change("3");
  table.Edit3Change("2");
  const ::Lines lines = table.TableLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "<td nowrap><br></td>"), 4);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "<th nowrap><br></th>"), 2);

  try {
    table.Edit2Change("3x");
    FAIL() << "no conversion error";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "'3x' is not a valid integer value");
  }
  EXPECT_THROW(table.Edit3Change(""), std::invalid_argument);
  EXPECT_EQ(table.RowCount(), 3);
  table.Edit2Change("0");
  table.Edit3Change("-4");
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.ColCount(), 2) << "a value below 1 counts as 1, plus the unwritten column";
}

TEST_F(InsertTest, InstantTableGoesThroughAPrivateTemporaryFile) {
  const fs::path folder = fs::temp_directory_path() / ("quillmark-table-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  app::TInstantTable table;
  CaretAt(1, 2);
  table.Button1Click(inserts, folder);
  const ::Lines lines = Lines();
  EXPECT_EQ(lines[1], "<!--INSERTHTML-->");
  EXPECT_EQ(lines[7], "<!--ENDINSERT-->");
  EXPECT_EQ(lines[8], "") << "the block's last line break";
  EXPECT_EQ(lines[9], "two");
  EXPECT_TRUE(fs::is_empty(folder)) << "the temporary file is removed";

  const ::Lines before = Lines();
  EXPECT_THROW(table.Button1Click(inserts, folder / "missing"), platform::EFileError);
  EXPECT_EQ(Lines(), before);
  fs::remove_all(folder);
}

TEST_F(InsertTest, LineStatusButtonsReplaceAndRemoveTheLinesMark) {
  editor::LineStatusImages images;
  editor.SetBookmarkImages(&images);
  app::TLineStatusButtons buttons;
  CaretAt(2, 2);
  editor.SetBookmark(1, 1, 2);
  buttons.Click(editor, app::TLineStatusButtons::Unknown);
  buttons.Click(editor, app::TLineStatusButtons::NotReady);
  auto plainMarks = [&] {
    std::vector<int> images;
    for (int i = 0; i < editor.Marks().Count(); ++i)
      if (!editor.Marks()[i].IsBookmark()) images.push_back(editor.Marks()[i].imageIndex);
    return images;
  };
  EXPECT_EQ(plainMarks(), std::vector<int>{4}) << "Not Ready replaced Unknown";
  EXPECT_EQ(buttons.Down(), app::TLineStatusButtons::NotReady);
  EXPECT_FALSE(editor.Marks()[editor.Marks().Count() - 1].internalImage);
  buttons.Click(editor, app::TLineStatusButtons::NotReady);
  EXPECT_TRUE(plainMarks().empty()) << "clicking the down button again releases it and removes the mark";
  EXPECT_EQ(buttons.Down(), -1);
  EXPECT_NE(editor.Bookmark(1), nullptr) << "numbered bookmarks stay";
}
