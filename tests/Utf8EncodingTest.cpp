// The two readings of a document's bytes: UTF-8 sequences and their widths, detection on load, columns on
// the grid, and the editor, clipboard and painting in a UTF-8 document.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/LineColumns.h"
#include "editor/TextUtil.h"
#include "platform/TextEncoding.h"
#include "testsupport/RecordingCanvas.h"

using platform::TextEncoding;

namespace {

constexpr TextEncoding kUtf8 = TextEncoding::Utf8;
constexpr TextEncoding kCp1252 = TextEncoding::Cp1252;

}  // namespace

TEST(Utf8Sequences, ValidSequencesAndEveryKindOfInvalidByte) {
  EXPECT_EQ(platform::Utf8SequenceLength("a", 0), 1);
  EXPECT_EQ(platform::Utf8SequenceLength("\xC3\xA9", 0), 2);
  EXPECT_EQ(platform::Utf8SequenceLength("\xE6\x97\xA5", 0), 3);
  EXPECT_EQ(platform::Utf8SequenceLength("\xF0\x9F\x98\x80", 0), 4);
  for (std::string_view invalid : {"\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF0\x80\x80\xAF",
                                   "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xC3", "\xE6\x97", "\xC3\x41", "\x80"})
    EXPECT_EQ(platform::Utf8SequenceLength(invalid, 0), 1) << "overlong, surrogate, too high, cut short or stray";
  EXPECT_EQ(platform::DecodeUtf8At("\xF0\x9F\x98\x80", 0), U'\U0001F600');
  EXPECT_EQ(platform::DecodeUtf8At("\xFF", 0), platform::kReplacementCharacter);

  const std::string_view text = "a\xC3\xA9\xA9\xE6\x97\xA5";
  EXPECT_EQ(platform::Utf8CharacterStart(text, 2), 1u) << "inside é";
  EXPECT_EQ(platform::Utf8CharacterStart(text, 3), 3u) << "a stray continuation is a character of its own";
  EXPECT_EQ(platform::Utf8CharacterStart(text, 6), 4u);

  std::string round;
  for (char32_t c : {U'a', U'\u00E9', U'\u65E5', U'\U0001F600'}) platform::AppendUtf8(round, c);
  EXPECT_EQ(round, "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80");
  EXPECT_EQ(platform::DecodeText("a\xFF\xC3", kUtf8), U"a\uFFFD\uFFFD") << "one mark a byte";
  EXPECT_EQ(platform::EncodeText(U"caf\u00E9 \u20AC \u03B1", kCp1252), "caf\xE9 \x80 ?");
  EXPECT_EQ(platform::Transcode("\x80\xE9", kCp1252, kUtf8), "\xE2\x82\xAC\xC3\xA9");
  EXPECT_TRUE(platform::IsWideCharacter(U'\u65E5'));
  EXPECT_TRUE(platform::IsWideCharacter(U'\uFF21'));
  EXPECT_FALSE(platform::IsWideCharacter(U'\u00E9'));
  EXPECT_FALSE(platform::IsWideCharacter(U'\u0416'));
  EXPECT_EQ(platform::GridCells("a\xE6\x97\xA5\xC3\xA9\xFF", kUtf8), 5);
}

TEST(Utf8Detection, ByteOrderMarkValidMultiByteOrADeclarationInTheFirst4K) {
  EXPECT_EQ(platform::DetectEncoding("\xEF\xBB\xBFplain"), kUtf8);
  EXPECT_EQ(platform::DetectEncoding("caf\xC3\xA9"), kUtf8);
  EXPECT_EQ(platform::DetectEncoding("caf\xE9"), kCp1252) << "not valid UTF-8";
  EXPECT_EQ(platform::DetectEncoding("only ascii"), kCp1252);
  EXPECT_EQ(platform::DetectEncoding("caf\xC3\xA9 and caf\xE9"), kCp1252) << "one invalid byte is enough";
  EXPECT_EQ(platform::DetectEncoding("<META CHARSET=\"UTF-8\">caf\xE9"), kUtf8) << "declared, invalid bytes and all";
  EXPECT_EQ(platform::DetectEncoding("<meta http-equiv=Content-Type content='text/html; charset = utf8'>"), kUtf8);
  EXPECT_EQ(platform::DetectEncoding("<meta charset=iso-8859-1>"), kCp1252);
  EXPECT_EQ(platform::DetectEncoding("<p>charset=utf-8</p>"), kCp1252) << "only a meta tag declares";
  EXPECT_EQ(platform::DetectEncoding(std::string(4096, ' ') + "<meta charset=utf-8>"), kCp1252) << "too late";

  EXPECT_EQ(platform::CheckUtf8(std::string(100, 'a') + "\xC3\xA9" + std::string(100, 'b')),
            platform::Utf8Kind::MultiByte);
  EXPECT_EQ(platform::CheckUtf8(std::string(100, 'a') + "\xC3"), platform::Utf8Kind::Invalid) << "cut at the end";
}

TEST(Utf8Columns, ShownAndByteColumnsWithTabsAndWideCharacters) {
  const std::string_view line = "\xC3\xA9\t\xE6\x97\xA5x";  // é, a tab to cell 8, 日 (two cells), x
  EXPECT_EQ(editor::ShownColumn(line, 1, 8, kUtf8), 1);
  EXPECT_EQ(editor::ShownColumn(line, 2, 8, kUtf8), 1) << "inside é: where it starts";
  EXPECT_EQ(editor::ShownColumn(line, 3, 8, kUtf8), 2);
  EXPECT_EQ(editor::ShownColumn(line, 4, 8, kUtf8), 9) << "the tab counts cells, not bytes";
  EXPECT_EQ(editor::ShownColumn(line, 7, 8, kUtf8), 11) << "after the wide character";
  EXPECT_EQ(editor::ShownColumn(line, 10, 8, kUtf8), 14) << "past the end, the distance stays";
  EXPECT_EQ(editor::ShownColumn(line, 4, 8, kCp1252), 9) << "Windows-1252: é is two characters";

  EXPECT_EQ(editor::ByteColumn(line, 9, 8, kUtf8), 4);
  EXPECT_EQ(editor::ByteColumn(line, 10, 8, kUtf8), 7) << "the right half of 日 goes to its far edge";
  EXPECT_EQ(editor::ByteColumn(line, 12, 8, kUtf8), 8);
  EXPECT_EQ(editor::ByteColumn(line, 15, 8, kUtf8), 11);
  for (int column = 1; column <= 9; ++column) {
    const int start = editor::CharacterStart(line, column, kUtf8);
    EXPECT_EQ(editor::ByteColumn(line, editor::ShownColumn(line, start, 8, kUtf8), 8, kUtf8), start) << column;
  }

  const editor::LaidOutLine laid = editor::LayOutLine(line, 8, kUtf8);
  EXPECT_EQ(laid.text, "\xC3\xA9       \xE6\x97\xA5x");
  EXPECT_EQ(laid.Cell(0), 0);
  EXPECT_EQ(laid.Cell(1), 0) << "é's second byte";
  EXPECT_EQ(laid.Cell(9), 8);
  EXPECT_EQ(laid.Cell(12), 10);
  EXPECT_EQ(laid.IndexAtCell(9), 12) << "a cell inside 日 maps to the next character";
  EXPECT_EQ(laid.IndexAtCell(12), 14) << "past the end";
  EXPECT_TRUE(editor::LayOutLine("caf\xC3\xA9", 8, kCp1252).cells.empty()) << "one byte, one cell";
}

// The checkpoints of a long line answer as measuring from the line's start does, for every column asked in
// any order, and after edits anywhere that forget only what lies behind them.
TEST(Utf8Columns, CheckpointsOfLongLinesAnswerAsMeasuringFromTheStart) {
  const char* pieces[] = {"a", "\t", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "\xFF", "\xE2\x82", " "};
  unsigned seed = 12345;
  const auto next = [&seed](unsigned n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
  std::string line;
  while (line.size() < 3000) line += pieces[next(8)];
  editor::LineColumns columns;
  for (int round = 0; round < 40; ++round) {
    for (TextEncoding encoding : {kUtf8, kCp1252}) {
      for (int k = 0; k < 30; ++k) {
        const int column = 1 + static_cast<int>(next(static_cast<unsigned>(line.size()) + 20));
        ASSERT_EQ(columns.ShownColumn(1, line, column, 8, encoding), editor::ShownColumn(line, column, 8, encoding))
            << round << " " << column;
        ASSERT_EQ(columns.ByteColumn(1, line, column, 8, encoding), editor::ByteColumn(line, column, 8, encoding))
            << round << " " << column;
      }
    }
    // An edit somewhere: what lies before it is kept.
    const int at = static_cast<int>(next(static_cast<unsigned>(line.size())));
    line.replace(static_cast<std::size_t>(at), next(6), pieces[next(8)]);
    columns.ForgetFrom(1, at);
  }
  const std::string ascii(5000, 'x');
  EXPECT_EQ(columns.CharacterColumn(2, ascii, 4001, 8, kUtf8), 4001);
  EXPECT_EQ(columns.CharacterColumn(1, line, static_cast<int>(line.size()) + 3, 8, kCp1252),
            static_cast<int>(line.size()) + 3);
}

TEST_F(EditorTest, LoadingDetectsTheEncodingAndReinterpretingChangesNoByte) {
  SetLines({"<p>caf\xC3\xA9</p>"});
  EXPECT_EQ(editor.Encoding(), kUtf8);
  SetLines({"<p>caf\xE9</p>"});
  EXPECT_EQ(editor.Encoding(), kCp1252);
  SetLines({"<head><meta charset=utf-8></head>", "plain"});
  EXPECT_EQ(editor.Encoding(), kUtf8);

  SetLines({"a\xC3\xA9", "\xE6\x97\xA5"});
  editor.SetEncoding(kCp1252);
  editor.SetCaretXY({3, 1});
  Select(3, 1, 2, 2);
  int selectionChanges = 0;
  editor.OnSelectionChange = [&] { ++selectionChanges; };
  editor::TqeCustomEdit second(fonts, clipboard, editor.Document());
  second.SetCaretXY({3, 2});
  window.ClearLog();
  editor.SetEncoding(kUtf8);
  EXPECT_EQ(second.Encoding(), kUtf8) << "the encoding is the document's";
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{2, 1})) << "the caret moved to the start of é";
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{2, 1}));
  EXPECT_EQ(editor.SelectionEnd(), (editor::TextPoint{1, 2}));
  EXPECT_EQ(second.CaretXY(), (editor::TextPoint{1, 2})) << "every view of the document";
  EXPECT_GT(selectionChanges, 0) << "the status bar hears of it";
  EXPECT_FALSE(window.invalidated.empty()) << "repainted";
  EXPECT_EQ(Lines(), (::Lines{"a\xC3\xA9", "\xE6\x97\xA5"}));
  EXPECT_EQ(editor.UndoList().RecordCount(), 0) << "nothing to undo: no byte changed";
}

TEST_F(EditorTest, StatusColumnCountsCharactersInUtf8) {
  SetLines({"\xD0\x96\xD1\x83\xD0\xBA ok"});
  editor.SetCaretXY({8, 1});
  EXPECT_EQ(editor.CaretCharacterColumn(), 5) << "after Жук and the blank";
  editor.SetCaretXY({20, 1});
  EXPECT_EQ(editor.CaretCharacterColumn(), 17) << "past the end, one a column";
  editor.SetEncoding(kCp1252);
  EXPECT_EQ(editor.CaretCharacterColumn(), 20);
}

TEST_F(EditorTest, KeyboardCharactersAreOneSequenceAndOneUndoStepEach) {
  SetLines({"ab"});
  editor.SetEncoding(kUtf8);
  editor.SetCaretXY({2, 1});
  char heard = 0;
  editor.OnKeyPress = [&](char& c) { heard = c; };
  editor.KeyPress(std::string_view("\xCE\xB1"));
  editor.KeyPress(std::string_view("\xE6\x97\xA5"));
  EXPECT_EQ(Lines(), (::Lines{"a\xCE\xB1\xE6\x97\xA5"
                              "b"}));
  EXPECT_EQ(editor.CaretColumn(), 7);
  EXPECT_EQ(heard, '\xE6') << "OnKeyPress hears the first byte";
  editor.Undo();
  EXPECT_EQ(Lines(), (::Lines{"a\xCE\xB1"
                              "b"}));
  editor.SetReadOnly(true);
  editor.KeyPress(std::string_view("\xCE\xB2"));
  EXPECT_EQ(Lines(), (::Lines{"a\xCE\xB1"
                              "b"}))
      << "read-only";
}

TEST_F(EditorTest, CopyingBetweenEncodingsCarriesCharactersNotBytes) {
  SetLines({"\xCE\xB1 caf\xC3\xA9", "\xE6\x97\xA5 x"});
  ASSERT_EQ(editor.Encoding(), kUtf8);
  Select(1, 1, 4, 2);
  editor.CopySelection();
  EXPECT_EQ(clipboard.Data(platform::kUtf8TextFormat), "\xCE\xB1 caf\xC3\xA9\r\n\xE6\x97\xA5");
  EXPECT_EQ(clipboard.Data(platform::kPlainTextFormat), "? caf\xE9\r\n?") << "other programs read characters";

  platform::headless::RecordingWindow otherWindow{{400, 300}};
  editor::TqeCustomEdit other(fonts, clipboard);
  other.SetWindow(&otherWindow);
  other.Lines().SetTextStr("plain\r\n");
  ASSERT_EQ(other.Encoding(), kCp1252);
  other.SetCaretXY({6, 1});
  other.PasteClipboard();
  EXPECT_EQ(other.Lines().Get(0), "plain? caf\xE9");
  EXPECT_EQ(other.Lines().Get(1), "?");

  // A column block keeps its mode across encodings.
  other.Lines().SetTextStr("caf\xE9\r\nabcd\r\n");
  other.SetSelectionMode(editor::smColumn);
  other.SetSelectionStart({3, 1});
  other.SetSelectionEnd({5, 2});
  other.CopySelection();
  editor.SetSelectionMode(editor::smNormal);
  SetLines({"12", "34"});
  editor.SetEncoding(kUtf8);
  editor.SetCaretXY({2, 1});
  editor.SetSelectionStart({2, 1});
  editor.PasteClipboard();
  EXPECT_EQ(Lines(), (::Lines{"1f\xC3\xA9"
                              "2",
                              "3cd 4"}));
  other.SetWindow(nullptr);
}

TEST_F(EditorTest, Utf8LinesPaintEachCharacterInItsCells) {
  editor.SetFont({"Courier New", 10});
  SetLines({"\xE6\x97\xA5\xC3\xA9x"});  // 日 two cells, é, x
  ASSERT_EQ(editor.Encoding(), kUtf8);
  Select(4, 1, 6, 1);  // é
  editor.SetFocused(true);
  platform::fakes::RecordingCanvas canvas;
  editor.Paint(canvas, {0, 0, 800, 16});
  const int left = editor.GutterPixels() + 2, cell = editor.CellWidth();
  auto drawn = [&](int x, std::string_view bytes) {
    const std::string tail = " utf8 \"" + std::string(bytes) + "\"";
    for (const std::string& call : canvas.Calls())
      if (call.starts_with("text " + std::to_string(x) + " ") && call.ends_with(tail)) return true;
    return false;
  };
  EXPECT_TRUE(drawn(left, "\xE6\x97\xA5")) << "日 from the first cell";
  EXPECT_TRUE(drawn(left + 2 * cell, "\xC3\xA9")) << "é, selected, in the third cell";
  EXPECT_TRUE(drawn(left + 3 * cell, "x"));
}
