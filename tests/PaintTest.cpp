// Painting on the recording canvas: gutter numbers, token colours and styles, selection pieces, tabs, the
// right edge, marks and special lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "EditorFixture.h"
#include "highlighters/HtmlHighlighter.h"
#include "testsupport/RecordingCanvas.h"

namespace {

std::string Hex(platform::Color c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%08X", c);
  return buf;
}

class PaintTest : public EditorTest {
 protected:
  std::vector<std::string> PaintAll() {
    canvas.Clear();
    editor.Paint(canvas, {0, 0, 800, 600});
    return canvas.Calls();
  }
  // Draw calls of text, as "TEXT@X,Y COLOR".
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& call : PaintAll()) {
      if (call.rfind("text ", 0) != 0) continue;
      int x, y, font, w;
      char color[16];
      std::sscanf(call.c_str(), "text %d %d font %d %15s w %d", &x, &y, &font, color, &w);
      const std::string text = call.substr(call.find('"') + 1, call.size() - call.find('"') - 2);
      texts.push_back(text + "@" + std::to_string(x) + "," + std::to_string(y) + " " + color);
    }
    return texts;
  }
  bool Has(const std::string& call) {
    const auto calls = PaintAll();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
  platform::fakes::RecordingCanvas canvas;
};

bool Contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

}  // namespace

TEST_F(PaintTest, GutterNumbersWithZerosAndZeroStart) {
  std::vector<std::string> lines(60, "x");
  SetLines(lines);
  editor.Gutter().SetShowLineNumbers(true);
  editor.Gutter().SetDigitCount(5);
  EXPECT_EQ(editor.GutterPixels(), 16 + 2 + 8 * 5 + 2);
  const std::string text = Hex(platform::kColorWindowText);
  EXPECT_TRUE(Contains(Texts(), "   42@16,656 " + text) || Contains(Texts(), "   37@16,576 " + text));
  editor.Gutter().SetLeadingZeros(true);
  EXPECT_TRUE(Contains(Texts(), "00037@16,576 " + text));
  editor.Gutter().SetZeroStart(true);
  EXPECT_TRUE(Contains(Texts(), "00000@16,0 " + text));
  const int edge = editor.GutterPixels() - 2;
  EXPECT_TRUE(Has("line " + std::to_string(edge) + " 0 " + std::to_string(edge) + " 600 " +
                  Hex(platform::kColorButtonHighlight)));
  EXPECT_TRUE(Has("line " + std::to_string(edge + 1) + " 0 " + std::to_string(edge + 1) + " 600 " +
                  Hex(platform::kColorButtonShadow)));
}

TEST_F(PaintTest, TokensAreDrawnInTheirAttributesColoursAndStyles) {
  highlighters::TzrHTMLSyn html;
  SetLines({"<b>bold &amp; text</b>"});
  editor.SetHighLighter(&html);
  const auto texts = Texts();
  EXPECT_TRUE(Contains(texts, "<@32,0 " + Hex(html.SymbolAttri->Foreground())));
  EXPECT_TRUE(Contains(texts, "b@40,0 " + Hex(0xFF0080)));
  EXPECT_TRUE(Contains(texts, "&amp;@96,0 " + Hex(platform::Rgb(0, 255, 0))));
  EXPECT_TRUE(Contains(texts, "bold @56,0 " + Hex(platform::kColorWindowText))) << "text and a space: one run";
  bool boldFont = false;
  for (const auto& call : canvas.Calls()) {
    if (call.find("\"b\"") == std::string::npos) continue;
    int x, y, font;
    std::sscanf(call.c_str(), "text %d %d font %d", &x, &y, &font);
    boldFont = fonts.Desc({font}).style & platform::kBold;
  }
  EXPECT_TRUE(boldFont) << "a known tag name is drawn in the bold variant";
}

TEST_F(PaintTest, SelectionSplitsARunIntoThreePieces) {
  SetLines({"abcdef", "gh"});
  Select(3, 1, 5, 1);
  const auto texts = Texts();
  EXPECT_TRUE(Contains(texts, "ab@32,0 " + Hex(platform::kColorWindowText)));
  EXPECT_TRUE(Contains(texts, "cd@48,0 " + Hex(platform::kColorHighlightText)));
  EXPECT_TRUE(Contains(texts, "ef@64,0 " + Hex(platform::kColorWindowText)));
  EXPECT_TRUE(Has("fill 48 0 64 16 " + Hex(platform::kColorHighlight)));
}

TEST_F(PaintTest, ASelectionPastTheLineEndIsFilledUpToItsEndColumn) {
  SetLines({"ab", "cd"});
  editor.SetSelectionMode(editor::smColumn);
  Select(2, 1, 6, 2);
  EXPECT_TRUE(Has("fill 48 0 72 16 " + Hex(platform::kColorHighlight))) << "columns 3 to 5 after the text";
  EXPECT_TRUE(Has("fill 72 0 800 16 " + Hex(platform::kColorWindow)));
}

TEST_F(PaintTest, HiddenSelectionShowsOnlyWithTheFocus) {
  SetLines({"abcdef"});
  Select(1, 1, 3, 1);
  editor.SetHideSelection(true);
  EXPECT_FALSE(Contains(Texts(), "ab@32,0 " + Hex(platform::kColorHighlightText)));
  editor.SetFocused(true);
  EXPECT_TRUE(Contains(Texts(), "ab@32,0 " + Hex(platform::kColorHighlightText)));
}

TEST_F(PaintTest, TabsAreShownUpToTheNextMultipleOfEight) {
  SetLines({"a\tb", "\t\tc"});
  const auto texts = Texts();
  EXPECT_TRUE(Contains(texts, "a       b@32,0 " + Hex(platform::kColorWindowText)));
  EXPECT_TRUE(Contains(texts, "                c@32,16 " + Hex(platform::kColorWindowText)));
  editor.SetCaretXY({3, 1});
  EXPECT_EQ(window.caret.left, (9 - 1) * 8 + editor.TextLeft() - 1) << "the caret stands after the shown tab";
}

TEST_F(PaintTest, TheGutterGrowsToHoldTheLastLineNumber) {
  editor.Gutter().SetShowLineNumbers(true);
  editor.Gutter().SetDigitCount(2);
  const int twoDigits = 16 + 2 + 8 * 2 + 2;
  EXPECT_EQ(editor.GutterPixels(), twoDigits);
  SetLines(std::vector<std::string>(1001, "x"));
  EXPECT_EQ(editor.GutterPixels(), twoDigits + 2 * 8) << "four digits for line 1001";
  editor.SetTopLine(990);
  EXPECT_TRUE(Contains(Texts(), "1001@16,176 " + Hex(platform::kColorWindowText))) << "no digit cut off";
  editor.Lines().Delete(0);
  EXPECT_EQ(editor.GutterPixels(), twoDigits + 2 * 8);
  editor.Gutter().SetZeroStart(true);
  EXPECT_EQ(editor.GutterPixels(), twoDigits + 8) << "numbered from 0, the last line is 999";
  SetLines({"a", "b"});
  EXPECT_EQ(editor.GutterPixels(), twoDigits) << "the configured width is the least it shrinks to";
}

TEST_F(PaintTest, RightEdgeAndSpecialLines) {
  SetLines({"one", "two"});
  editor.SetRightEdge(10);
  const int x = 10 * 8 + editor.TextLeft();
  EXPECT_TRUE(Has("line " + std::to_string(x) + " 0 " + std::to_string(x) + " 16 " + Hex(platform::kColorSilver)));
  editor.SetRightEdge(0);
  EXPECT_FALSE(Has("line " + std::to_string(x) + " 0 " + std::to_string(x) + " 16 " + Hex(platform::kColorSilver)));
  editor.SetRightEdge(3);
  editor.SetLeftChar(5);  // column 3 now falls at x 24, inside the gutter
  for (const std::string& call : PaintAll())
    EXPECT_NE(call.substr(call.size() - 9), Hex(platform::kColorSilver))
        << "scrolled past, the edge is not drawn: " << call;
  editor.SetLeftChar(1);

  editor.OnSpecialLineColors = [](int line, bool& special, platform::Color& fg, platform::Color& bg) {
    if (line != 2) return;
    special = true;
    fg = platform::Rgb(255, 255, 255);
    bg = platform::Rgb(200, 0, 0);
  };
  const auto texts = Texts();
  EXPECT_TRUE(Contains(texts, "two@32,16 " + Hex(platform::Rgb(255, 255, 255))));
  EXPECT_TRUE(Has("fill 56 16 800 32 " + Hex(platform::Rgb(200, 0, 0))));
}

TEST_F(PaintTest, MarksStandSideBySidePlainMarksFirst) {
  SetLines({"x", "y"});
  editor.Marks().Add({1, 1, 3, 0, true});    // bookmark 0
  editor.Marks().Add({1, 1, 7, -1, true});   // plain mark
  editor.Marks().Add({2, 1, 12, -1, true});  // no glyph 12: not drawn
  editor.Marks().Add({2, 1, 5, -1, false});  // hidden
  const auto calls = PaintAll();
  const std::string glyph = Hex(platform::Rgb(0, 0, 160));
  EXPECT_TRUE(Contains(calls, "fill 2 1 13 15 " + glyph)) << "the plain mark at LeftMargin";
  EXPECT_TRUE(Contains(calls, "fill 14 1 25 15 " + glyph)) << "the bookmark Xoffset to its right";
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [&](const std::string& c) { return c.find(glyph) != std::string::npos; }),
            2);

  editor::LineStatusImages images;
  editor.SetBookmarkImages(&images);
  EXPECT_TRUE(Contains(PaintAll(), "fill 2 1 13 15 " + Hex(platform::Rgb(0, 0, 160))) == false);
}
