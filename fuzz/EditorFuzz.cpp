// libFuzzer entry point: the editor driven by an arbitrary sequence of commands, keys, typed bytes, mouse
// actions, selection modes and clipboard contents, with the HTML scanner bound. After every step: the
// store is not empty, every slot holds the state the scanner reaches, and the caret and selection corners
// lie inside the text (the column limit, or the end of a longer line). Undoing
// everything at the end must also give the starting text back (lines compared without trailing blanks,
// trailing empty lines ignored: undo restores the text, not the blanks that edits trim or pad).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/CustomEdit.h"
#include "editor/TextUtil.h"
#include "highlighters/HtmlHighlighter.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/ManualEventLoop.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/RecordingWindow.h"
#include "qmtool/TextEscape.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// FUZZ_TRACE=1 prints every step and the text after it, to read a finding.
const bool kTrace = std::getenv("FUZZ_TRACE") != nullptr;

void Trace(const char* what, const editor::TqeCustomEdit& e) {
  if (!kTrace) return;
  std::fprintf(stderr, "%s -> caret %d,%d sel %d,%d-%d,%d mode %d %s\n", what, e.CaretColumn(), e.CaretLine(),
               e.SelectionStart().column, e.SelectionStart().line, e.SelectionEnd().column, e.SelectionEnd().line,
               e.SelectionMode(), platform::EncodingName(e.Encoding()).data());
  for (int i = 0; i < e.Lines().Count(); ++i) std::fprintf(stderr, "  %s\n", qmtool::Quote(e.Lines().Get(i)).c_str());
}

std::vector<std::string> Normalized(const editor::TqeEditList& lines) {
  std::vector<std::string> out;
  for (int i = 0; i < lines.Count(); ++i) {
    // Bytes up to the space are blanks to the editor: it trims them from line ends and pads with spaces.
    std::string line = editor::RightTrim(lines.Get(i));
    for (char& c : line)
      if (static_cast<unsigned char>(c) <= ' ') c = ' ';
    out.push_back(line);
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

void CheckInvariants(editor::TqeCustomEdit& e, highlighters::TzrHTMLSyn& fresh) {
  const auto& lines = e.Lines();
  Check(lines.Count() >= 1);
  fresh.ResetRangeState();
  for (int i = 0; i < lines.Count(); ++i) {
    Check(lines.Slot(i) == fresh.RangeState());
    fresh.StartLine(lines.Get(i), i);
    fresh.ScanToLineEnd();
  }
  for (editor::TextPoint p : {e.CaretXY(), e.SelectionStart(), e.SelectionEnd()}) {
    Check(p.line >= 1 && p.line <= lines.Count());
    const int length = static_cast<int>(lines.Get(p.line - 1).size());
    Check(p.column >= 1 && p.column <= std::max(e.ColumnLimit(), length + 1));
  }
  // In UTF-8 the caret never rests inside a character.
  const std::string_view caretLine = lines.Get(e.CaretLine() - 1);
  Check(editor::CharacterStart(caretLine, e.CaretColumn(), e.Encoding()) == e.CaretColumn());
}

// Texts without control bytes (line ends kept): the editor trims every byte up to the space from line
// ends as blanks, so a control byte that an edit leaves at a line's end is gone for good, by design.
std::string Printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < ' ' && c != '\r' && c != '\n') c = 'a' + (c & 15);
  return text;
}

// The text's lines padded with spaces to the longest, joined with CR LF.
std::string Rectangular(const std::string& text) {
  std::vector<std::string_view> rows = editor::SplitAtLineEnds(text);
  size_t width = 0;
  for (auto row : rows) width = std::max(width, row.size());
  std::string out;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i) out += "\r\n";
    out += rows[i];
    out.append(width - rows[i].size(), ' ');
  }
  return out;
}

// Commands that an undo of the whole run cannot be asked to reverse: undo and redo themselves, and clearing,
// which is never recorded.
bool Unrecorded(editor::TqeEditorCommand c) {
  return c == editor::ecUndo || c == editor::ecRedo || c == editor::ecClearAll;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  platform::headless::RecordingWindow window{{320, 160}};
  platform::headless::ManualEventLoop loop;
  highlighters::TzrHTMLSyn html, fresh;
  editor::TqeCustomEdit e(fonts, clipboard);
  e.SetWindow(&window);
  e.SetEventLoop(&loop);
  e.SetHighLighter(&html);
  e.SetMaxUndo(1 << 20);
  e.Lines().SetTextStr(Printable(in.ConsumeRandomLengthString(200)));
  const std::vector<std::string> start = Normalized(e.Lines());
  Trace("start", e);
  bool undoable = true;
  bool buttonDown = false;

  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    const int x = in.ConsumeIntegralInRange(-20, 360), y = in.ConsumeIntegralInRange(-20, 200);
    const int op = in.ConsumeIntegralInRange(0, 10);
    char what[64];
    std::snprintf(what, sizeof what, "step %d op %d at %d,%d", step, op, x, y);
    switch (op) {
      case 0:
        e.KeyPress(static_cast<char>(in.ConsumeIntegral<std::uint8_t>()));
        break;
      case 1: {
        const auto key = in.ConsumeIntegralInRange<std::uint16_t>(0, 127);
        const auto shift = in.ConsumeIntegralInRange<editor::TShiftState>(0, 7);
        const int binding = e.Keystrokes().FindKeyBinding(key, shift);
        if (binding >= 0 && Unrecorded(e.Keystrokes()[binding].Command)) undoable = false;
        std::snprintf(what, sizeof what, "step %d key %d shift %d", step, key, shift);
        e.KeyDown(key, shift);
        break;
      }
      case 2: {
        const auto command = in.ConsumeIntegralInRange<editor::TqeEditorCommand>(0, 760);
        if (Unrecorded(command)) undoable = false;
        std::snprintf(what, sizeof what, "step %d command %d at %d,%d", step, command, x, y);
        const editor::TextPoint target{x / 8, y / 8};
        e.ExecuteCommand(command, static_cast<char>(in.ConsumeIntegral<std::uint8_t>()),
                         command == editor::ecGotoXY || command == editor::ecSelGotoXY ? editor::TCommandData(target)
                                                                                       : editor::TCommandData());
        break;
      }
      case 3:
        e.SetSelectionMode(static_cast<editor::TSelectionMode>(in.ConsumeIntegralInRange(0, 2)));
        break;
      case 4: {
        std::string text = Printable(in.ConsumeRandomLengthString(40));
        const char mode = static_cast<char>(in.ConsumeIntegralInRange(0, 3));
        // A column block on the clipboard is a rectangle, as copying one always makes it.
        if (mode == editor::smColumn) text = Rectangular(text);
        std::string block(1, mode);
        clipboard.SetItems(
            {{std::string(platform::kPlainTextFormat), text}, {std::string(editor::kBlockTypeFormat), block + text}});
        break;
      }
      case 5:
        e.SetSelectionStart({x / 8, y / 8});
        e.SetSelectionEnd({in.ConsumeIntegralInRange(-2, 60), in.ConsumeIntegralInRange(-2, 20)});
        break;
      case 6:
        buttonDown = true;
        e.MouseDown(editor::MouseButton::Left, in.ConsumeIntegralInRange<editor::TShiftState>(0, 7), x, y);
        break;
      case 7:
        e.MouseMove(0, x, y, buttonDown);
        break;
      case 8:
        buttonDown = false;
        e.MouseUp(editor::MouseButton::Left, in.ConsumeBool() ? editor::ssCtrl : 0, x, y);
        break;
      case 9:
        if (in.ConsumeBool())
          e.DoubleClick(x, y);
        else
          e.MouseWheel(in.ConsumeIntegralInRange(-480, 480), 0);
        loop.Advance(150);
        break;
      case 10:
        e.SetEncoding(in.ConsumeBool() ? platform::TextEncoding::Utf8 : platform::TextEncoding::Cp1252);
        break;
    }
    CheckInvariants(e, fresh);
    Trace(what, e);
  }
  if (!undoable) return 0;
  while (e.CanUndo()) {
    e.Undo();
    Trace("undo", e);
  }
  Check(Normalized(e.Lines()) == start);
  return 0;
}
