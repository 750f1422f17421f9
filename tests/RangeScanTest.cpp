// Per-line range slots through the editor: the invariant after every kind of change, the early stop, and
// the invalidated rows.
#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"
#include "TestScanner.h"
#include "editor/RangeScan.h"

namespace {

// The slots a fresh pass from the top gives.
std::vector<editor::RangeSlot> FreshSlots(editor::TqeEditList& lines) {
  CommentScanner scanner;
  std::vector<editor::RangeSlot> slots;
  scanner.ResetRangeState();
  for (int i = 0; i < lines.Count(); ++i) {
    slots.push_back(static_cast<editor::RangeSlot>(scanner.RangeState()));
    scanner.StartLine(lines.Get(i), i);
    scanner.ScanToLineEnd();
  }
  return slots;
}

std::vector<editor::RangeSlot> StoredSlots(const editor::TqeEditList& lines) {
  std::vector<editor::RangeSlot> slots;
  for (int i = 0; i < lines.Count(); ++i) slots.push_back(lines.Slot(i));
  return slots;
}

class RangeSlotTest : public EditorTest {
 protected:
  RangeSlotTest() {
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i)
      lines.push_back(i == 500 ? "/* open" : i == 520 ? "close */" : "line " + std::to_string(i));
    SetLines(lines);
    editor.SetHighLighter(&scanner);
    scanner.linesScanned = 0;
    window.ClearLog();
  }
  CommentScanner scanner;
};

}  // namespace

TEST_F(RangeSlotTest, BindingFillsEverySlot) {
  EXPECT_EQ(StoredSlots(editor.Lines()), FreshSlots(editor.Lines()));
  EXPECT_EQ(editor.Lines().Slot(501), 1u);
  EXPECT_EQ(editor.Lines().Slot(521), 0u);
}

TEST_F(RangeSlotTest, EditKeepingTheEndStateRescansOneLineAndOneRow) {
  editor.SetCaretXY({3, 10});
  Type("x");
  EXPECT_EQ(editor.Lines().Get(9), "lixne 9");
  EXPECT_EQ(scanner.linesScanned, 1);
  ASSERT_EQ(window.invalidated.size(), 1u);
  const int rowTop = 9 * 16;
  EXPECT_EQ(window.invalidated[0], (platform::Rect{editor.GutterPixels(), rowTop, 800, rowTop + 16}));
}

TEST_F(RangeSlotTest, OpeningACommentRescansUntilTheStatesMeetAgainAndClosingItRescansThemBack) {
  editor.Lines().Put(0, "/*line 0");
  EXPECT_EQ(scanner.linesScanned, 501) << "lines 501 on already started inside the comment line 500 opened";
  EXPECT_EQ(StoredSlots(editor.Lines()), FreshSlots(editor.Lines()));

  scanner.linesScanned = 0;
  editor.Lines().Put(0, "line 0");
  EXPECT_EQ(scanner.linesScanned, 501);
  EXPECT_EQ(StoredSlots(editor.Lines()), FreshSlots(editor.Lines()));
}

TEST_F(RangeSlotTest, RandomEditsKeepTheSlotsEqualToAFreshPass) {
  std::mt19937 random(7);
  const char* texts[] = {"plain", "/*", "*/", "a /* b */ c", "", "x*/y/*"};
  for (int step = 0; step < 300; ++step) {
    auto& lines = editor.Lines();
    const int at = static_cast<int>(random() % lines.Count());
    const char* text = texts[random() % std::size(texts)];
    switch (random() % 4) {
      case 0:
        lines.Put(at, text);
        break;
      case 1:
        lines.Insert(at, text);
        break;
      case 2:
        if (lines.Count() > 1) lines.Delete(at);
        break;
      case 3:
        lines.Add(text);
        break;
    }
    ASSERT_EQ(StoredSlots(lines), FreshSlots(lines)) << "after step " << step;
  }
}

TEST_F(RangeSlotTest, EditsThroughTheSelectionKeepTheSlotsTrue) {
  Select(1, 499, 1, 503);
  editor.SetSelectedText("a\r\n/* b\r\nc\r\n");
  EXPECT_EQ(StoredSlots(editor.Lines()), FreshSlots(editor.Lines()));
  editor.SetSelectionMode(editor::smLine);
  Select(1, 1, 1, 700);
  editor.SetSelectedText({});
  EXPECT_EQ(StoredSlots(editor.Lines()), FreshSlots(editor.Lines()));
}

TEST_F(RangeSlotTest, LoadingRefillsTheSlots) {
  editor.Lines().SetTextStr("/*\r\na\r\n*/\r\nb\r\n");
  EXPECT_EQ(StoredSlots(editor.Lines()), (std::vector<editor::RangeSlot>{0, 1, 1, 0}));
}

TEST_F(RangeSlotTest, AnInsertedLineIsAlwaysScannedEvenWhenItsStartStateMatches) {
  editor.Lines().Insert(10, "/* opened by a new line");
  EXPECT_EQ(editor.Lines().Slot(11), 1u);
  EXPECT_EQ(StoredSlots(editor.Lines()), FreshSlots(editor.Lines()));
}

TEST_F(RangeSlotTest, ATextThatEndsInsideACommentRescansToTheEnd) {
  editor.Lines().Put(520, "still open");
  EXPECT_EQ(scanner.linesScanned, 1000 - 520);
  EXPECT_EQ(editor.Lines().Slot(999), 1u);
}

TEST(RescanFrom, StopsAtTheFirstMatchingSlotAndReportsTheLastLineScanned) {
  editor::TqeEditList lines;
  lines.SetTextStr("a\nb\nc\nd\n");
  CommentScanner scanner;
  editor::RescanAll(lines, scanner);
  scanner.SetRangeState(lines.Slot(1));
  EXPECT_EQ(editor::RescanFrom(lines, scanner, 1), 1);
  EXPECT_EQ(editor::RescanFrom(lines, scanner, 3), 3) << "the last line has no follower to update";

  lines.Put(1, "/*");
  scanner.SetRangeState(lines.Slot(1));
  EXPECT_EQ(editor::RescanFrom(lines, scanner, 1), 3);
  EXPECT_EQ(lines.Slot(2), 1u);
  EXPECT_EQ(lines.Slot(3), 1u);
}
