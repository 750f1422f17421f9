// The preview's document: what the parser hands to its callbacks, hit tests, copying and finding,
// drawing, new defaults, indents, and pages built to break it. Layout itself is covered by the golden
// `qmtool layout` pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/FileIO.h"
#include "platform/headless/CellFont.h"
#include "preview/PreviewParser.h"
#include "preview/Section.h"
#include "testsupport/RecordingCanvas.h"

namespace {

using Strings = std::vector<std::string>;

class PreviewDocument : public ::testing::Test {
 protected:
  PreviewDocument() : doc(fonts, WhitePage()) {}

  static preview::PreviewSettings WhitePage() {
    preview::PreviewSettings settings;
    settings.defBackground = platform::kColorWindow;
    return settings;
  }

  preview::ParseResult Load(const std::string& page, int width = 600) {
    const preview::ParseResult result = preview::ParseHtmlBuffer(page, doc, names, callbacks);
    doc.DoLayout(width);
    return result;
  }

  // The sections in document order.
  std::vector<const preview::TSection*> Sections() const {
    std::vector<const preview::TSection*> sections;
    for (const auto& block : doc.Blocks())
      if (const auto* section = dynamic_cast<const preview::TSection*>(block.get())) sections.push_back(section);
    return sections;
  }
  const preview::TSection& SectionWith(const std::string& text) const {
    for (const auto* section : Sections())
      if (section->Text().find(text) != std::string::npos) return *section;
    throw std::runtime_error("no section holds " + text);
  }
  Strings Draw() {
    platform::fakes::RecordingCanvas canvas;
    doc.Draw(canvas, {0, 0, 600, 2000}, {0, 0});
    return canvas.Calls();
  }

  platform::headless::PageFontEngine fonts;
  preview::TSectionList doc;
  preview::TNameList names;
  preview::ParseCallbacks callbacks;
};

bool Has(const Strings& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

}  // namespace

TEST_F(PreviewDocument, CallbacksHearOfMetaSoundsAndScripts) {
  Strings heard;
  callbacks.meta = [&heard](const std::string& equiv, const std::string& name, const std::string& content) {
    heard.push_back("meta " + equiv + "|" + name + "|" + content);
  };
  callbacks.sound = [&heard](const std::string& src, int loop, bool terminate) {
    heard.push_back("sound " + src + " " + std::to_string(loop) + (terminate ? " stop" : ""));
  };
  doc.onScript = [&heard](const std::string& language, const std::string& script) {
    heard.push_back("script " + language + ":" + script);
  };
  const auto result = Load(
      "<base href=\"http://h/d/\" target=main><meta http-equiv=refresh name=n content=\"5; url=x\">"
      "<bgsound src=a.mid><bgsound src=b.mid loop=3><bgsound loop=2>"
      "<script language=VBScript>a<b\r\n<!-- c --></SCRIPT>text");
  EXPECT_EQ(heard, (Strings{"meta refresh|n|5; url=x", "sound a.mid 1", "sound b.mid 3",
                            "script VBScript:a<b\r\n<!-- c -->"}));
  EXPECT_EQ(result.base, "http://h/d/");
  EXPECT_EQ(result.baseTarget, "main");
  EXPECT_EQ(Sections().back()->Text(), "text");

  doc.onScript = nullptr;
  Load("<script>document.write('<p>shown?</p>')</script>after");
  EXPECT_EQ(Sections().back()->Text(), "after") << "without a listener the script is skipped";
}

TEST_F(PreviewDocument, AnchorNamesAreUpperCasedAndTheFirstWins) {
  Load("<a name=top>Top</a><p><a name=Top>again</a> <a name=other></a>");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names.at("TOP")->Text(), "Top");
  EXPECT_EQ(names.at("OTHER")->Text(), "again ");
}

TEST_F(PreviewDocument, BodyColoursCountOnlyBeforeAnythingIsAppended) {
  Load("<body bgcolor=black text=white link=lime><a href=x>l</a> t");
  EXPECT_EQ(doc.Background(), platform::Rgb(0, 0, 0));
  const auto& runs = Sections().back()->Fonts();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].font.color, platform::Rgb(0, 0xFF, 0));
  EXPECT_EQ(runs[1].font.color, platform::Rgb(0xFF, 0xFF, 0xFF));

  Load("<p>x<body bgcolor=red text=red>y");
  EXPECT_EQ(doc.Background(), platform::kColorWindow);
  EXPECT_EQ(SectionWith("xy").Fonts()[0].font.color, platform::kColorButtonText);
}

TEST_F(PreviewDocument, PointsPositionsLinksAndFinding) {
  Load("<p>Hello <a href=\"w.htm\" target=t>world</a> caf\xE9<ul><li>item one</ul>");
  const preview::TSection& hello = SectionWith("Hello");
  const int start = hello.StartPosition();
  const int y = hello.Lines()[0].y + 2;
  EXPECT_EQ(doc.CursorAt(3, y), start) << "the left half of a character is before it";
  EXPECT_EQ(doc.CursorAt(5, y), start + 1) << "the right half is after it";
  EXPECT_EQ(doc.CursorAt(2000, y), start + 16);
  EXPECT_EQ(doc.CursorAt(5, 5000), -1);

  const auto link = doc.UrlAt(8 * 6 + 2, y);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->url, "w.htm");
  EXPECT_EQ(link->target, "t");
  EXPECT_FALSE(doc.UrlAt(2, y));

  int x = 0, top = 0;
  ASSERT_TRUE(doc.PositionToXY(start + 6, x, top));
  EXPECT_EQ(x, 48);
  EXPECT_EQ(top, hello.Lines()[0].y);
  char c = 0;
  ASSERT_TRUE(doc.CharAt(start + 6, c));
  EXPECT_EQ(c, 'w');

  EXPECT_EQ(doc.FindText(0, "WORLD", false), start + 6);
  EXPECT_EQ(doc.FindText(0, "WORLD", true), -1);
  EXPECT_EQ(doc.FindText(0, "CAF\xC9", false), start + 12) << "accented letters fold too";
  EXPECT_EQ(doc.FindText(start + 7, "world", true), -1);
  EXPECT_EQ(doc.FindText(0, "item", true), SectionWith("item").StartPosition());
}

TEST_F(PreviewDocument, CopyingIndentsListsAndBreaksLines) {
  Load("First line<p>Hello world again<ul><li>item one<li>item two</ul>");
  doc.SetSelection(0, 1000);
  EXPECT_EQ(doc.SelectedText(), "First line\r\n\r\nHello world again\r\n   item one\r\n   item two\r\n");
  const int hello = SectionWith("Hello").StartPosition();
  doc.SetSelection(hello + 6, hello + 11);
  EXPECT_EQ(doc.SelectedText(), "world");
  doc.SetSelection(hello + 12, SectionWith("item one").StartPosition() + 4);
  EXPECT_EQ(doc.SelectedText(), "again\r\n   item");
  doc.SetSelection(SectionWith("item two").StartPosition() + 1, 1000);
  EXPECT_EQ(doc.SelectedText(), "tem two\r\n") << "no indent when the selection starts inside the line";
}

TEST_F(PreviewDocument, RunsStandOnOneBaselineAndTheSelectionIsInverted) {
  Load("<font size=7>Big</font>small x<sup>2</sup><sub>3</sub>");
  doc.SetSelection(6, 8);
  const Strings calls = Draw();
  EXPECT_EQ(calls, (Strings{"run 0 0 font 1 #80000012 \"Big\"", "run 72 24 font 2 #80000012 \"sma\"",
                            "run 96 24 font 2 #80000005 on #80000012 \"ll\"", "run 112 24 font 2 #80000012 \" x\"",
                            "run 128 23 font 3 #80000012 \"2\"", "run 134 29 font 3 #80000012 \"3\""}));
}

TEST_F(PreviewDocument, MarkersFollowLevelsAndBackgrounds) {
  Load("<ul><li>a<ul><li>b</ul></ul><ol type=i start=4><li>c</ol>");
  Strings calls = Draw();
  EXPECT_TRUE(Has(calls, "ellipse 25 2 30 7 #00800000 fill #00800000")) << "navy disc on level 1";
  EXPECT_TRUE(Has(calls, "ellipse 60 18 65 23 #00000080 fill #00000080")) << "maroon disc on level 2";
  EXPECT_TRUE(Has(calls, "run 6 32 font 1 #80000012 \"iv.\"")) << "ordered markers end 5 pixels before the text";

  preview::PreviewSettings grey = WhitePage();
  grey.defBackground = platform::Rgb(0x80, 0x80, 0x80);
  doc.SetSettings(grey);
  doc.DoLayout(600);
  calls = Draw();
  EXPECT_TRUE(Has(calls, "ellipse 25 2 30 7 #80000012")) << "an outlined circle on other backgrounds";
}

TEST_F(PreviewDocument, RulesAreFramedOrFilled) {
  Load("<hr><hr color=red size=4 width=100 align=right><hr noshade width=50%>");
  const auto& blocks = doc.Blocks();
  ASSERT_EQ(blocks.size(), 3u);
  const int second = blocks[1]->Top(), third = blocks[2]->Top();
  const Strings calls = Draw();
  EXPECT_TRUE(Has(calls, "line 10 9 589 9 #80000010")) << "the dark edge of a full-width rule";
  EXPECT_TRUE(Has(calls, "line 10 10 589 10 #00C0C0C0")) << "the light edge is silver on a white page";
  const int top = second + (22 - 4) / 2;
  EXPECT_TRUE(Has(calls, "fill 500 " + std::to_string(top) + " 600 " + std::to_string(top + 4) + " #000000FF"));
  const int bar = third + 9;
  EXPECT_TRUE(Has(calls, "line 150 " + std::to_string(bar) + " 449 " + std::to_string(bar) + " #00000000"));
}

TEST_F(PreviewDocument, NewDefaultsRescaleFontsSpacesAndColours) {
  Load("<p>text <a href=x>link</a> <font color=red>red</font>");
  preview::PreviewSettings bigger = WhitePage();
  bigger.defFontSize = 18;
  bigger.defHotSpotColor = platform::Rgb(0, 0x80, 0);
  doc.SetSettings(bigger);
  doc.DoLayout(600);
  EXPECT_EQ(doc.Blocks()[0]->Height(), 21) << "a paragraph space is 14 points scaled";
  const auto& runs = SectionWith("text").Fonts();
  ASSERT_EQ(runs.size(), 5u);  // text, link, blank, red, and the run after FONT ends
  EXPECT_EQ(runs[0].font.size, 18);
  EXPECT_EQ(runs[1].font.color, platform::Rgb(0, 0x80, 0));
  EXPECT_EQ(runs[3].font.color, platform::kColorButtonText) << "colours from the page are not kept";
  EXPECT_EQ(SectionWith("text").Lines()[0].lineHeight, 24);
}

TEST(PreviewIndents, ListLevelsAndFloatsMoveTheEdges) {
  preview::IndentManager indents;
  indents.Reset(0, 600);
  indents.SetLevel(2, 10);
  EXPECT_EQ(indents.LeftIndent(10), 70);
  EXPECT_EQ(indents.LeftIndent(9), 0);
  indents.AddLeftFloat(100, 20, 119);
  indents.AddRightFloat(50, 0, 30);
  EXPECT_EQ(indents.LeftIndent(50), 170);
  EXPECT_EQ(indents.RightSide(10), 550);
  EXPECT_EQ(indents.RightSide(40), 600);
  EXPECT_EQ(indents.LeftFloatBottom(), 119);
  EXPECT_EQ(indents.LeftFloatBottomBeyond(1, 30), 119);
  EXPECT_EQ(indents.LeftFloatBottomBeyond(5, 30), preview::kNoFloats);
  indents.SetLevel(1, 200);
  EXPECT_EQ(indents.LeftIndent(200), 35);
  indents.SetLevel(0, 300);
  EXPECT_EQ(indents.LeftIndent(300), 0);
}

TEST(PreviewFonts, ScaledValuesRoundHalvesAwayFromZero) {
  EXPECT_EQ(preview::MulDivRound(14, 18, 12), 21);
  EXPECT_EQ(preview::MulDivRound(5, 1, 2), 3);
  EXPECT_EQ(preview::MulDivRound(-5, 1, 2), -3);
  EXPECT_EQ(preview::MulDivRound(7, 1, 3), 2);
  EXPECT_EQ(preview::MulDivRound(1 << 30, 1 << 30, 1 << 30), 1 << 30) << "the product does not overflow";
}

TEST_F(PreviewDocument, HostilePagesEndCleanly) {
  std::string page;
  for (int i = 0; i < 20000; ++i) page += "<ul><li>x";
  for (int i = 0; i < 20000; ++i) page += "<div align=right>";
  for (int i = 0; i < 40; ++i) page += "<tt>";
  page += "deep";
  for (int i = 0; i < 40; ++i) page += "</tt>";
  page += "<h1>after";
  Load(page);
  EXPECT_LE(doc.Widest(), 100 * 35 + 600) << "list levels stop growing";
  const auto& runs = SectionWith("after").Fonts();
  EXPECT_EQ(runs.back().font.size, 24) << "the font stack came back to its base";

  Load("<p>" + std::string(90000, 'w'));
  std::size_t kept = 0, largest = 0;
  for (const auto* section : Sections()) {
    kept += section->Text().size();
    largest = std::max(largest, section->Text().size());
  }
  EXPECT_EQ(kept, 90000u) << "nothing is dropped";
  EXPECT_LE(largest, 40100u) << "a run without blanks is split once it is twice a section's size";
}

TEST_F(PreviewDocument, FilesThatCannotBeReadSaySo) {
  EXPECT_THROW(preview::ParseHtmlFile("/nonexistent/page.htm", doc, names, callbacks), platform::EFileError);
  EXPECT_THROW(preview::ParseTextFile("/nonexistent/page.txt", doc, names), platform::EFileError);
}

TEST_F(PreviewDocument, Utf8PagesKeepCharactersWholeInEntitiesMeasuresLinesAndDrawing) {
  doc.encoding = platform::TextEncoding::Utf8;
  Load(
      "<p>caf&eacute; &#8364; &#20320; &#233;t&eacute;</p>"
      "<p>\xE6\x97\xA5\xE6\x9C\xAC \xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC \xE8\xAA\x9E\xE6\x97\xA5 \xE6\x9C\xAC</p>",
      60);
  EXPECT_EQ(SectionWith("caf").Text(), "caf\xC3\xA9 \xE2\x82\xAC \xE4\xBD\xA0 \xC3\xA9t\xC3\xA9")
      << "entities are written as UTF-8, code points above 255 too";
  const preview::TSection& cjk = SectionWith("\xE6\x97\xA5");
  ASSERT_GT(cjk.Lines().size(), 1u) << "the words wrap in 60 pixels";
  for (const preview::LineRec& line : cjk.Lines())
    EXPECT_EQ(platform::Utf8CharacterStart(cjk.Text(), line.start), static_cast<std::size_t>(line.start));
  const Strings calls = Draw();
  EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const std::string& call) {
    return call.starts_with("run ") && call.find(" utf8 \"caf\xC3\xA9") != std::string::npos;
  }));

  doc.encoding = platform::TextEncoding::Cp1252;
  Load("<p>caf&eacute; &#8364;</p>");
  EXPECT_EQ(SectionWith("caf").Text(), "caf\xE9 &#8364;") << "Windows-1252 pages as before";
}

// A paragraph longer than a section holds goes on in the next section of the same style, split at a blank;
// a long preformatted line and a run without blanks lose nothing either.
TEST_F(PreviewDocument, TextPastTwentyThousandCharactersGoesOnInTheNextSection) {
  Strings words;
  std::string paragraph;
  for (int i = 0; paragraph.size() < 25000; ++i) paragraph += (words.emplace_back("word" + std::to_string(i))) + " ";
  Load("<p align=center><b>" + paragraph + "</b></p><pre>" + std::string(30000, 'p') + "</pre><p>" +
       std::string(50000, 'x') + "end");
  Strings shown;
  int parts = 0;
  for (const auto* section : Sections()) {
    if (section->Text().find("word") == std::string::npos) continue;
    ++parts;
    EXPECT_EQ(section->Align(), preview::Alignment::Center);
    EXPECT_EQ(section->Fonts().front().font.style & platform::kBold, platform::kBold);
    std::size_t from = 0;
    for (std::size_t blank; (blank = section->Text().find(' ', from)) != std::string::npos; from = blank + 1)
      shown.push_back(section->Text().substr(from, blank - from));
    if (from < section->Text().size()) shown.push_back(section->Text().substr(from));
  }
  EXPECT_EQ(parts, 2);
  EXPECT_TRUE(shown == words) << "every word kept whole: " << shown.size() << " of " << words.size();
  std::size_t pre = 0, xs = 0;
  for (const auto* section : Sections()) {
    pre += std::count(section->Text().begin(), section->Text().end(), 'p');
    xs += std::count(section->Text().begin(), section->Text().end(), 'x');
  }
  EXPECT_EQ(pre, 30000u);
  EXPECT_EQ(xs, 50000u);
  EXPECT_GE(doc.FindText(0, "end", true), 0);
}
