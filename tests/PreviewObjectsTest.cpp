// Tables, images and forms of the preview beyond what the golden layouts show: drawing and hit tests in
// cells, the picture cache and the request handler, maps, animation, and everything a form does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PictureEncoders.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryFormControls.h"
#include "preview/PreviewParser.h"
#include "preview/Section.h"
#include "preview/Tables.h"
#include "testsupport/RecordingCanvas.h"

namespace {

using Strings = std::vector<std::string>;

class PreviewPage : public ::testing::Test {
 protected:
  PreviewPage() : doc(fonts, preview::PreviewSettings{}) {
    doc.controlHost = &host;
    doc.onFormSubmit = [this](const std::string& action, const std::string&, const std::string&,
                              const std::string& method, const std::vector<std::string>& entries) {
      submitted.push_back(method + " " + action);
      for (const auto& entry : entries) submitted.push_back(entry);
    };
    preview::TStringBitmapList::Shared().Clear();
    preview::TStringBitmapList::Shared().SetLimit(5);
  }

  void Load(const std::string& page, int width = 600) {
    preview::ParseHtmlBuffer(page, doc, names, {});
    doc.DoLayout(width);
  }
  Strings Paint() {
    platform::fakes::RecordingCanvas canvas;
    doc.Paint(canvas, {0, 0, 800, 2000}, {0, 0}, {0, 0, 800, 2000});
    return canvas.Calls();
  }
  platform::headless::MemoryFormControl& Control(std::size_t i) { return *host.made.at(i); }

  platform::headless::PageFontEngine fonts;
  platform::headless::MemoryFormControlHost host;
  preview::TSectionList doc;
  preview::TNameList names;
  Strings submitted;
};

bool Has(const Strings& calls, const std::string& prefix) {
  return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

// A GIF of frames full-size frames, each shown for a tenth of a second.
std::string GifBytes(int width, int height, int frames) {
  std::vector<testpictures::GifFrameData> frameList;
  for (int i = 0; i < frames; ++i)
    frameList.push_back({0, 0, width, height, std::vector<uint8_t>(std::size_t(width) * height, uint8_t(i % 4)), 10});
  const auto bytes = testpictures::MakeGif(width, height, frameList, frames > 1 ? 0 : -1);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST_F(PreviewPage, EmptyCellsDrawNothingAndBorderColourFillsTheGaps) {
  Load("<table bordercolor=red cellspacing=4><tr><td bgcolor=lime>a</td><td bgcolor=blue></td></tr></table>");
  const Strings calls = Paint();
  EXPECT_TRUE(Has(calls, "fill 4 4 ")) << "the cell with text fills its background";
  EXPECT_FALSE(Has(calls, "fill 24 ")) << "a cell without content draws no background";
  const auto reds = std::count_if(calls.begin(), calls.end(), [](const std::string& c) {
    return c.rfind("fill", 0) == 0 && c.find("#000000FF") != std::string::npos;
  });
  EXPECT_GE(reds, 3) << "the gaps around the drawn cell (and the empty one) take the border colour";
}

TEST_F(PreviewPage, HitTestsFindCopyAndNumberTheTextOfCells) {
  Load("<p>top<table><tr><td>cell <a href=in.htm>link</a></td><td>second</td></tr></table>end");
  const auto& table = dynamic_cast<const preview::ThtmlTable&>(*doc.Blocks()[2]);
  const platform::Point origin = table.ContentOrigin(0, 0);
  const int y = table.Top() + origin.y + 4;
  const auto link = doc.UrlAt(origin.x + 8 * 5 + 3, y);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->url, "in.htm");
  const int cell = doc.FindText(0, "link", true);
  EXPECT_EQ(doc.CursorAt(origin.x + 8 * 5 + 1, y), cell);
  int x = 0, top = 0;
  ASSERT_TRUE(doc.PositionToXY(cell, x, top));
  EXPECT_EQ(x, origin.x + 40);
  EXPECT_LT(cell, doc.FindText(0, "second", true));
  EXPECT_LT(doc.FindText(0, "second", true), doc.FindText(0, "end", true));
  doc.SetSelection(0, 1000);
  EXPECT_EQ(doc.SelectedText(), "top\r\ncell link\r\nsecond\r\nend\r\n");
}

TEST_F(PreviewPage, ImagesComeOnceFromTheCacheAndAskTheHandler) {
  const auto folder = std::filesystem::temp_directory_path() / ("quillmark-images-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "a.gif", std::ios::binary) << GifBytes(30, 10, 1);
  doc.imageFolder = folder.string();
  Load("<img src=a.gif><img src=a.gif>");
  EXPECT_EQ(preview::TStringBitmapList::Shared().Count(), 1u) << "the same picture is read once";
  std::filesystem::remove(folder / "a.gif");
  Load("<img src=a.gif>");
  EXPECT_EQ(doc.Widest(), 30) << "a page loaded again takes it from the cache";
  std::filesystem::remove_all(folder);

  Strings asked;
  doc.onImageRequest = [&asked](const std::string& src) {
    asked.push_back(src);
    preview::ImageReply reply;
    if (src == "wait.gif") reply.kind = preview::ImageReply::Kind::Wait;
    if (src == "data.gif") reply = {preview::ImageReply::Kind::Data, GifBytes(7, 9, 1)};
    return reply;
  };
  Load("<img src=data.gif><img src=wait.gif><img src=wait.gif><img src=none.gif>");
  EXPECT_EQ(asked, (Strings{"data.gif", "wait.gif", "none.gif"})) << "a delayed source is not asked for twice";
  const auto& images = dynamic_cast<const preview::TSection&>(*doc.Blocks()[0]).Images();
  EXPECT_EQ(images[0]->boxWidth, 7);
  EXPECT_EQ(images[1]->boxWidth, 16) << "not available yet";
  EXPECT_EQ(images[3]->boxWidth, 16) << "the error picture";
}

TEST_F(PreviewPage, PercentWidthsFollowTheWindowAndAnimationsAdvance) {
  doc.onImageRequest = [](const std::string& src) {
    return preview::ImageReply{preview::ImageReply::Kind::Data, GifBytes(10, 10, src == "anim.gif" ? 3 : 1)};
  };
  Load("<img src=still.gif width=50%><img src=anim.gif>", 400);
  const auto& images = dynamic_cast<const preview::TSection&>(*doc.Blocks()[0]).Images();
  EXPECT_EQ(images[0]->width, 200);
  doc.DoLayout(300);
  EXPECT_EQ(images[0]->width, 150);
  EXPECT_TRUE(doc.TickAnimations(200).empty()) << "not drawn yet";
  Paint();
  EXPECT_TRUE(doc.TickAnimations(5).empty());
  const auto changed = doc.TickAnimations(200);
  ASSERT_EQ(changed.size(), 1u) << "the animation shows its next frame";
  EXPECT_EQ(changed[0], (platform::Rect{images[1]->placed.x, images[1]->placed.y, images[1]->placed.x + 10,
                                        images[1]->placed.y + 10}));
}

TEST_F(PreviewPage, MapsAndServerMapsDecideImageLinks) {
  doc.onImageRequest = [](const std::string&) {
    return preview::ImageReply{preview::ImageReply::Kind::Data, GifBytes(40, 20, 1)};
  };
  Load(
      "<map name=nav><area shape=circle coords=\"10,10,5\" nohref><area coords=\"0,0,39,19\" href=all.htm "
      "target=t><area shape=poly coords=\"1,2\" href=dropped></map><img src=m.gif usemap=\"#Nav\"> "
      "<a href=map.cgi><img src=s.gif ismap></a> <map name=open><area coords=\"0,0,9,9\" href=x>");
  ASSERT_EQ(doc.maps.size(), 1u) << "a map without /MAP is not kept";
  EXPECT_EQ(doc.maps[0].areas.size(), 2u) << "a polygon of one point is dropped";
  const auto& images = dynamic_cast<const preview::TSection&>(*doc.Blocks()[0]).Images();
  const platform::Point m = images[0]->placed, s = images[1]->placed;
  EXPECT_FALSE(doc.UrlAt(m.x + 10, m.y + 10)) << "a NOHREF area hides the one under it";
  ASSERT_TRUE(doc.UrlAt(m.x + 30, m.y + 5));
  EXPECT_EQ(doc.UrlAt(m.x + 30, m.y + 5)->target, "t");
  ASSERT_TRUE(doc.UrlAt(s.x + 6, s.y + 4));
  EXPECT_EQ(doc.UrlAt(s.x + 6, s.y + 4)->url, "map.cgi?5,3") << "inside the 1-pixel border of a linked image";
}

TEST_F(PreviewPage, FormsSubmitTheirEntries) {
  Load(
      "<form action=/go method=post><input name=who value=Ann><input type=hidden name=h value=1>"
      "<input type=checkbox name=c><input type=checkbox name=d checked>"
      "<select name=s><option value=v1>One<option selected>Two</select>"
      "<select name=m multiple><option selected>x<option>y<option selected>z</select>"
      "<textarea name=t>one\ntwo\nthree</textarea><input type=submit name=go value=Send></form>");
  ASSERT_EQ(host.made.size(), 7u) << "hidden fields have no window";
  Control(0).text = "Bob";
  Control(6).onClick();
  EXPECT_EQ(submitted, (Strings{"post /go", "who=Bob", "h=1", "d=On", "s=Two", "m=x", "m=z", "t=one", "t=two",
                                "t=three", "go=Send"}));
}

TEST_F(PreviewPage, EnterSubmitsAFormOfOneFieldAndResetRestores) {
  Load(
      "<form action=a><input name=q><input type=hidden name=h value=1></form>"
      "<form action=b><input name=x value=start><input name=y><input type=reset></form>");
  Control(0).text = "find me";
  Control(0).onEnter();
  EXPECT_EQ(submitted, (Strings{"Get a", "q=find me", "h=1"}));
  submitted.clear();
  Control(1).text = "changed";
  Control(1).onEnter();
  EXPECT_TRUE(submitted.empty()) << "two fields: Enter does not submit";
  Control(3).onClick();
  EXPECT_EQ(Control(1).text, "start");
}

TEST_F(PreviewPage, RadioButtonsExcludeByNameWithoutCaseAndControlsNeedNoForm) {
  Strings clicks;
  doc.onObjectClick = [&clicks](const std::string& name, const std::string& onClick) {
    clicks.push_back(name + ":" + onClick);
  };
  Load(
      "<input type=radio name=Pick value=a checked><input type=radio name=pick value=b onclick=\"go()\">"
      "<input type=radio name=other checked><select name=s size=1><option>a</select>"
      "<select name=l size=4><option>a</select>");
  EXPECT_TRUE(Control(0).checked);
  Control(1).checked = true;
  Control(1).onClick();
  EXPECT_FALSE(Control(0).checked);
  EXPECT_TRUE(Control(2).checked) << "another name is another group";
  EXPECT_EQ(clicks, Strings{"pick:go()"});
  EXPECT_EQ(Control(3).look.kind, platform::ControlKind::ComboBox);
  EXPECT_EQ(Control(4).look.kind, platform::ControlKind::ListBox);
  EXPECT_EQ(doc.forms.size(), 1u) << "controls outside FORM share one implicit form";
}

TEST_F(PreviewPage, ControlsMoveIntoPlaceAndHideOnlyWhenOutOfSight) {
  Load("<p>x <input name=a><p>" + std::string(40, 'y') + "<br><input type=checkbox name=c>");
  Paint();
  EXPECT_TRUE(Control(0).visible);
  EXPECT_EQ(Control(0).bounds.left, 16) << "after the text before it";
  EXPECT_EQ(Control(1).bounds.bottom - Control(1).bounds.top, 13);
  platform::fakes::RecordingCanvas canvas;
  // A paint of a strip (what a blinking caret repaints) leaves the controls it does not reach alone.
  doc.Paint(canvas, {0, 0, 800, 20}, {0, 0}, {0, 0, 800, 2000});
  EXPECT_TRUE(Control(1).visible) << "still in sight";
  doc.Paint(canvas, {0, 0, 800, 20}, {0, 0}, {0, 0, 800, 20});
  EXPECT_FALSE(Control(1).visible) << "out of the visible part";

  // A control with the focus stays, out of sight to the left, until it loses the focus.
  Control(0).focused = true;
  doc.Paint(canvas, {0, 0, 800, 20}, {0, -200}, {0, 0, 800, 20});
  EXPECT_TRUE(Control(0).visible);
  EXPECT_EQ(Control(0).bounds.left, -4000);
  Control(0).focused = false;
  Control(0).onFocusChanged(false);
  EXPECT_FALSE(Control(0).visible);
}

TEST(PreviewTables, NestedTablesAreLaidOutOncePerLevel) {
  // Counts the measuring a layout asks for: laying each level's cells out twice made it double with every
  // level of nesting.
  struct CountingFonts : platform::headless::PageFontEngine {
    int TextWidth(platform::FontHandle font, std::string_view bytes, platform::TextEncoding encoding) const override {
      ++calls;
      return PageFontEngine::TextWidth(font, bytes, encoding);
    }
    mutable long calls = 0;
  } fonts;
  preview::TSectionList doc(fonts, preview::PreviewSettings{});
  preview::TNameList names;
  std::string page;
  for (int i = 0; i < 16; ++i) page += "<table border=1><tr><td>cell " + std::to_string(i);
  preview::ParseHtmlBuffer(page, doc, names, {});
  doc.DoLayout(600);
  EXPECT_LT(fonts.calls, 20000) << "2^16 layouts of the innermost cell would ask for millions";
  std::size_t text = 0;
  for (int i = 0; i < 16; ++i) text += ("cell " + std::to_string(i)).size();
  EXPECT_EQ(doc.CharCount(), static_cast<int>(text)) << "every cell's text is numbered once";
  EXPECT_GT(doc.FindText(0, "cell 15", true), doc.FindText(0, "cell 14", true))
      << "the inner text comes after the outer cell's";
}
