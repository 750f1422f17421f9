// The RTF export of a selection: groups only where the look changes, the colour table in order of first
// use, escaping, the cut of the first and last lines, backgrounds, the clipboard, and its refusals.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/RtfExport.h"
#include "highlighters/AwkHighlighter.h"
#include "highlighters/HtmlHighlighter.h"
#include "highlighters/PerlHighlighter.h"
#include "highlighters/WebPageHighlighter.h"

namespace {

// The body of an export: what follows the header's last line, without the closing brace.
std::string Body(const std::string& rtf) {
  const std::string marker = "\\deflang1033\\pard\\plain \r\n";
  const size_t at = rtf.find(marker);
  EXPECT_NE(at, std::string::npos);
  EXPECT_EQ(rtf.back(), '}');
  return rtf.substr(at + marker.size(), rtf.size() - at - marker.size() - 1);
}

std::string ColorTable(const std::string& rtf) {
  const size_t at = rtf.find("{\\colortbl");
  return rtf.substr(at, rtf.find('}', at) - at + 1);
}

class RtfExportTest : public EditorTest {
 protected:
  highlighters::TzrAWKSyn awk;
  editor::TqeRtfExport exporter;
};

}  // namespace

TEST_F(RtfExportTest, GroupsColoursAndEscapes) {
  SetLines({"x = y # {a \\ b}", "print"});
  editor.SetHighLighter(&awk);
  editor.SelectWholeText();
  const std::string rtf = exporter.Export(editor, &awk);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern Courier New;}}\r\n", 0), 0u);
  EXPECT_NE(rtf.find("{\\title (Untitled)}}\r\n"), std::string::npos);
  // Identifier, space and "=" (a bold symbol): the identifier and the space share a look, one group.
  EXPECT_EQ(Body(rtf),
            "\\plain\\fs20\\cf0 x \\plain\\fs20\\cf0\\b =\\plain\\fs20\\cf0  y \\plain\\fs20\\cf1 # \\{a \\\\ b\\}"
            "\r\n\\par \\plain\\fs20\\cf2\\b print")
      << "the comment's braces and backslash are escaped although AWK never asks for it";
  EXPECT_EQ(ColorTable(rtf), "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red128\\green0\\blue255;}")
      << "window text, then the comment's blue, then the keyword's colour, each once";

  exporter.SetTitle("C:\\pages\\{draft}.awk");
  EXPECT_NE(exporter.Export(editor, &awk).find("{\\title C:\\\\pages\\\\\\{draft\\}.awk}}\r\n"), std::string::npos)
      << "a title is escaped as the text is";

  editor.SetFont({"Courier New", 12, 0});
  EXPECT_NE(Body(exporter.Export(editor, &awk)).find("\\fs24"), std::string::npos) << "twice the point size";
}

TEST_F(RtfExportTest, OnlyTheSelectionIsExported) {
  SetLines({"first line", "second", "third line"});
  editor.SetHighLighter(&awk);
  Select(7, 1, 6, 3);
  EXPECT_EQ(Body(exporter.Export(editor, &awk)), "\\plain\\fs20\\cf0 line\r\n\\par second\r\n\\par third")
      << "from the start column on the first line to the end column on the last";
  editor.SetSelectionMode(editor::smLine);
  Select(3, 2, 2, 2);
  EXPECT_EQ(Body(exporter.Export(editor, &awk)), "\\plain\\fs20\\cf0 second") << "line mode takes whole lines";

  platform::headless::MemoryClipboard board;
  exporter.ExportToClipboard(editor, &awk, board);
  EXPECT_EQ(board.Data(editor::kRtfFormat)->rfind("{\\rtf1", 0), 0u);
  EXPECT_EQ(board.Data(platform::kPlainTextFormat), "second\r\n") << "the plain text goes beside it";
}

TEST_F(RtfExportTest, BackgroundsOnRequestAndScannersWithoutExport) {
  SetLines({"$x = 1;"});
  highlighters::TUloPerlSyn perl;
  editor.SetHighLighter(&perl);
  editor.SelectWholeText();
  exporter.UseBackGround = true;
  const std::string body = Body(exporter.Export(editor, &perl));
  EXPECT_EQ(body.rfind("\\plain\\fs20\\cb1\\cf0 $x\\plain\\f0\\fs20", 0), 0u)
      << "a Perl selection exports through the scanner's ordinary tokens: " << body;
  EXPECT_EQ(ColorTable(exporter.Export(editor, &perl)),
            "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}")
      << "the foreground is numbered before the background; the window is white";
}

TEST_F(RtfExportTest, APagesStylesAreExportedInTheirLanguagesColours) {
  highlighters::OwnedEmbeddedScanners scanners;
  highlighters::TPhpSyn php;
  highlighters::TWebPageSyn page(scanners.Pointers(), php);
  scanners.css.PropertyAttri->SetForeground(0x123456);
  scanners.css.NumberAttri->SetForeground(0x00AB00);
  SetLines({"<style>p { margin: 2px }</style>"});
  editor.SetHighLighter(&page);
  editor.SelectWholeText();
  const std::string rtf = exporter.Export(editor, &page);
  EXPECT_NE(ColorTable(rtf).find("\\red86\\green52\\blue18;"), std::string::npos) << ColorTable(rtf);
  EXPECT_NE(ColorTable(rtf).find("\\red0\\green171\\blue0;"), std::string::npos) << ColorTable(rtf);
  EXPECT_NE(Body(rtf).find(" margin\\plain"), std::string::npos) << "the property is a group of its own: " << Body(rtf);
  editor.SetHighLighter(nullptr);
}

TEST_F(RtfExportTest, RefusalsLeaveTheClipboardAlone) {
  SetLines({"text"});
  platform::headless::MemoryClipboard board;
  board.SetItems({{std::string(platform::kPlainTextFormat), "kept"}});
  editor.SetHighLighter(&awk);
  try {
    exporter.ExportToClipboard(editor, &awk, board);
    FAIL() << "nothing is selected";
  } catch (const editor::EqeEditError& e) {
    EXPECT_STREQ(e.what(), "There is no selected text to export");
  }
  editor.SelectWholeText();
  try {
    exporter.ExportToClipboard(editor, nullptr, board);
    FAIL() << "no highlighter";
  } catch (const editor::EqeEditError& e) {
    EXPECT_STREQ(e.what(), "Invalid Parameter");
  }
  EXPECT_EQ(board.Data(platform::kPlainTextFormat), "kept");
  EXPECT_EQ(awk.Exporter(), nullptr) << "the scanner is free of the exporter afterwards";
}

TEST_F(RtfExportTest, Utf8CharactersAreWrittenAsUnicodeEscapes) {
  SetLines({"# caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80 {x} \xFF"});
  ASSERT_EQ(editor.Encoding(), platform::TextEncoding::Cp1252) << "the invalid byte keeps it Windows-1252";
  editor.SetEncoding(platform::TextEncoding::Utf8);
  editor.SetHighLighter(&awk);
  editor.SelectWholeText();
  EXPECT_EQ(Body(exporter.Export(editor, &awk)),
            "\\plain\\fs20\\cf0 # caf\\u233? \\u26085? \\u-10179?\\u-8704? \\{x\\} \\u-3?")
      << "é, 日, the emoji as two halves, the invalid byte as the replacement character";
  editor.SetEncoding(platform::TextEncoding::Cp1252);
  EXPECT_NE(Body(exporter.Export(editor, &awk)).find("caf\\'c3\\'a9"), std::string::npos)
      << "Windows-1252 bytes above 127 as hexadecimal escapes";
}

// Outside strings and comments the Perl scanner hands out a token a byte past ASCII: a character still goes
// out as one escape, whatever token boundaries cut it.
TEST_F(RtfExportTest, Utf8CharactersCutByTokensAreOneEscapeEach) {
  highlighters::TUloPerlSyn perl;
  SetLines({"Mengu\xC3\xA9 = \xE2\x82\xAC; \xF0\x9F\x98\x80 \xE2\x82"});
  editor.SetEncoding(platform::TextEncoding::Utf8);
  editor.SetHighLighter(&perl);
  editor.SelectWholeText();
  const std::string body = Body(exporter.Export(editor, &perl));
  EXPECT_NE(body.find("Mengu\\u233?"), std::string::npos) << body;
  EXPECT_NE(body.find("\\u8364?"), std::string::npos) << body;
  EXPECT_NE(body.find("\\u-10179?\\u-8704?"), std::string::npos) << body;
  int replacements = 0;
  for (auto at = body.find("\\u-3?"); at != std::string::npos; at = body.find("\\u-3?", at + 1)) ++replacements;
  EXPECT_EQ(replacements, 2) << "only the two bytes the line's end cuts short stand for nothing: " << body;
}
