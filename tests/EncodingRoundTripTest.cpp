// Whatever the bytes and whichever reading is chosen, loading and saving give the same bytes back, edits
// change only the lines they are made on, the caret never rests inside a UTF-8 character, and undoing
// every edit restores the text byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "EditorFixture.h"
#include "editor/TextUtil.h"

namespace {

using platform::TextEncoding;

// A line of random bytes mixed with valid UTF-8 characters and invalid sequences. No byte at or below the
// blank: an edit that leaves such bytes at a line's end trims them, and undo brings them back as blanks, as
// it always has; that is not what this test is about.
std::string RandomLine(std::mt19937& random) {
  static const char* const kPieces[] = {"\xC3\xA9", "\xCE\xB1", "\xD0\x96",     "\xE6\x97\xA5", "\xF0\x9F\x98\x80",
                                        "\xC3",     "\xA9",     "\xED\xA0\x80", "\xE2\x82"};
  std::string line;
  const int pieces = std::uniform_int_distribution<int>(0, 12)(random);
  for (int i = 0; i < pieces; ++i) {
    if (random() % 3 == 0) {
      line += kPieces[random() % std::size(kPieces)];
    } else {
      line += static_cast<char>(std::uniform_int_distribution<int>(33, 255)(random));
    }
  }
  return line;
}

std::string Saved(const editor::TqeCustomEdit& edit) {
  std::ostringstream out;
  edit.Lines().SaveToStream(out);
  return out.str();
}

}  // namespace

TEST_F(EditorTest, AnyBytesSurviveLoadingReinterpretingEditingAndUndoing) {
  std::mt19937 random(20261208);
  editor.SetMaxUndo(1000);  // every edit of a round stays undoable
  static const char* const kTyped[] = {"a", "\xC3\xBC", "\xCE\xB2", "\xE8\xAA\x9E", "\xF0\x9F\x98\x81", "\xE9"};
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> original;
    const int count = std::uniform_int_distribution<int>(3, 12)(random);
    for (int i = 0; i < count; ++i) original.push_back(RandomLine(random));
    std::string text;
    for (const std::string& line : original) text += line + "\r\n";
    editor.Lines().SetTextStr(text);
    editor.UndoList().ClearRecords();

    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1252, TextEncoding::Utf8}) {
      editor.SetEncoding(encoding);
      ASSERT_EQ(Saved(editor), text) << "round " << round;
    }

    // One line is left alone; every edit stays on its own line elsewhere.
    const int kept = std::uniform_int_distribution<int>(1, count)(random);
    for (int step = 0; step < 40; ++step) {
      if (random() % 8 == 0) editor.SetEncoding(random() % 2 ? TextEncoding::Utf8 : TextEncoding::Cp1252);
      int line = std::uniform_int_distribution<int>(1, count)(random);
      if (line == kept) continue;
      const int length = static_cast<int>(editor.Lines().Get(line - 1).size());
      editor.SetCaretXY({std::uniform_int_distribution<int>(1, length + 1)(random), line});
      editor.SetSelectionStart(editor.CaretXY());
      const int column = editor.CaretColumn();
      switch (random() % 6) {
        case 0:
        case 1: {
          const std::string_view typed = kTyped[random() % std::size(kTyped)];
          if (editor.Encoding() == TextEncoding::Utf8 || typed.size() == 1) editor.KeyPress(typed);
          break;
        }
        case 2:
          if (column <= static_cast<int>(editor.Lines().Get(line - 1).size()))
            editor.ExecuteCommand(editor::ecDeleteChar, 0);
          break;
        case 3:
          if (column > 1 && column <= length + 1) editor.ExecuteCommand(editor::ecDeleteLastChar, 0);
          break;
        case 4:
          editor.ExecuteCommand(random() % 2 ? editor::ecRight : editor::ecWordLeft, 0);
          break;
        default:  // a selection of two characters, replaced by one typed
          editor.ExecuteCommand(editor::ecSelRight, 0);
          editor.ExecuteCommand(editor::ecSelRight, 0);
          editor.KeyPress('b');
          break;
      }
      ASSERT_EQ(editor.Lines().Count(), count) << "round " << round << " step " << step;
      ASSERT_EQ(editor.Lines().Get(kept - 1), original[kept - 1]) << "round " << round << " step " << step;
      if (editor.Encoding() == TextEncoding::Utf8) {
        const std::string_view caretLine = editor.Lines().Get(editor.CaretLine() - 1);
        ASSERT_EQ(editor::CharacterStart(caretLine, editor.CaretColumn(), TextEncoding::Utf8), editor.CaretColumn())
            << "round " << round << " step " << step;
      }
    }

    while (editor.CanUndo()) editor.Undo();
    ASSERT_EQ(Saved(editor), text) << "round " << round;
  }
}
