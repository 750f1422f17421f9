// The viewer over the fakes: loading, layout width and scroll bars, anchors, links, history with Back and
// Forward, META refresh, deferred form submission, and positions kept across layouts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/LivePreview.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/ManualEventLoop.h"
#include "platform/headless/MemoryFormControls.h"
#include "platform/headless/RecordingWindow.h"
#include "preview/PagePreview.h"
#include "tests/PictureEncoders.h"
#include "testsupport/RecordingCanvas.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class Viewer : public ::testing::Test {
 protected:
  Viewer() : window({400, 300}), viewer(fonts, window, loop) {
    folder = fs::temp_directory_path() / ("quillmark-viewer-" + std::to_string(getpid()));
    fs::create_directories(folder);
    // The main window's settings.
    viewer.marginWidth = viewer.marginHeight = 0;
    viewer.borderStyle = preview::BorderStyle::None;
    viewer.historyMaxCount = 10;
    viewer.SetControlHost(&controls);
  }
  ~Viewer() override { fs::remove_all(folder); }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  static std::string Lines(int count) {
    std::string page;
    for (int i = 0; i < count; ++i) page += "line " + std::to_string(i) + "<br>";
    return page;
  }
  // Clicks the first link whose text is text.
  void Click(const std::string& text) {
    auto& doc = viewer.Document();
    const int at = doc.FindText(0, text, true);
    ASSERT_GE(at, 0) << text;
    int x = 0, y = 0;
    ASSERT_TRUE(doc.PositionToXY(at, x, y));
    const platform::Point point{x + 2, y + 4 - viewer.VScroll()};
    viewer.MouseDown(point);
    viewer.MouseUp(point);
  }

  platform::headless::PageFontEngine fonts;
  platform::headless::RecordingWindow window;
  platform::headless::ManualEventLoop loop;
  platform::headless::MemoryFormControlHost controls;
  preview::TPagePreview viewer;
  fs::path folder;
};

}  // namespace

TEST_F(Viewer, LaysOutForTheWidthTheMainWindowLeavesAndCapsWideDocuments) {
  viewer.LoadHtmlFile(Write("a.htm", "short"));
  EXPECT_EQ(viewer.LayoutWidth(), 400 - 16 - 1) << "the bar's width is kept free even when no bar shows";
  EXPECT_FALSE(window.vertical.visible);
  EXPECT_FALSE(window.horizontal.visible);

  viewer.LoadHtmlFile(Write("b.htm", "<pre>" + std::string(400, 'w') + "</pre>" + Lines(40)));
  EXPECT_EQ(viewer.DocumentWidth(), 2000) << "2800 pixels of text scroll only to 2000";
  EXPECT_TRUE(window.vertical.visible);
  EXPECT_TRUE(window.horizontal.visible);
  EXPECT_EQ(window.horizontal.maximum, 2000);
  EXPECT_EQ(window.vertical.maximum, viewer.DocumentHeight());
  viewer.KeyDown(preview::TPagePreview::Key::End);
  EXPECT_EQ(viewer.VScroll(), viewer.DocumentHeight() - (300 - 16));

  preview::TPagePreview framed(fonts, window, loop);  // the control's own defaults
  framed.LoadHtmlFile(folder / "a.htm");
  EXPECT_EQ(framed.LayoutWidth(), 400 - 20 - 3 - 16);
}

TEST_F(Viewer, HistoryRecordsNewFilesAndGoesBackAndForward) {
  const std::string a = Write("a.htm", Lines(60) + "<a href=b.htm>to b</a>");
  Write("b.htm", "<a name=top>B</a> <a href=\"a.htm\">back to a</a> <a href=notes.txt>notes</a>");
  Write("notes.txt", "plain");
  viewer.LoadHtmlFile(a);
  viewer.LoadHtmlFile(a);
  EXPECT_TRUE(viewer.History().empty()) << "the same file again adds nothing";
  viewer.SetVScroll(200);
  Click("to b");
  ASSERT_EQ(viewer.History().size(), 2u);
  EXPECT_EQ(fs::path(viewer.CurrentFile()).filename(), "b.htm");
  Click("notes");
  EXPECT_EQ(fs::path(viewer.CurrentFile()).filename(), "b.htm") << "a .txt link does nothing";
  EXPECT_TRUE(viewer.CanGoBack());
  EXPECT_FALSE(viewer.CanGoForward());
  viewer.GoBack();
  EXPECT_EQ(viewer.CurrentFile(), fs::path(a).lexically_normal().string());
  EXPECT_EQ(viewer.VScroll(), 200) << "the place it was left at";
  EXPECT_FALSE(viewer.CanGoBack());
  viewer.GoForward();
  EXPECT_EQ(fs::path(viewer.CurrentFile()).filename(), "b.htm");
  EXPECT_EQ(viewer.History().size(), 2u) << "moving through the history records nothing";
}

TEST_F(Viewer, AnchorsLinksAndAddresses) {
  Write("c.htm", Lines(50) + "<a name=Section>here</a>" + Lines(50) +
                     "<a href=\"#section\">up</a> <a href=\"http://example.org/x\">web</a>");
  viewer.LoadHtmlFile((folder / "c.htm").string() + "#SECTION");
  const int anchored = viewer.VScroll();
  EXPECT_GT(anchored, 0);
  viewer.SetVScroll(100000);
  Strings opened;
  viewer.onOpenExternal = [&opened](const std::string& url) { opened.push_back(url); };
  Click("web");
  EXPECT_EQ(opened, Strings{"http://example.org/x"});
  Click("up");
  EXPECT_EQ(viewer.VScroll(), anchored);
  EXPECT_FALSE(viewer.ScrollToAnchor("nowhere"));

  EXPECT_EQ(viewer.ExpandLinkPath("sub%20dir/page.htm"), (folder / "sub dir/page.htm").string());
  EXPECT_EQ(viewer.ExpandLinkPath("file:///tmp/x.htm"), "/tmp/x.htm");
  viewer.serverRoot = "/srv/www/";
  EXPECT_EQ(viewer.ExpandLinkPath("/index.htm"), "/srv/www/index.htm");
  EXPECT_THROW(viewer.LoadHtmlFile((folder / "missing.htm").string()), preview::EViewerError);
}

TEST_F(Viewer, MetaRefreshAndDeferredSubmission) {
  std::vector<std::string> heard;
  viewer.onMetaRefresh = [&heard](int delay, const std::string& url) {
    heard.push_back(std::to_string(delay) + " " + url);
  };
  viewer.onFormSubmit = [&heard](const std::string& action, const std::string&, const std::string&, const std::string&,
                                 const std::vector<std::string>& entries) {
    heard.push_back("submit " + action + " " + entries.at(0));
  };
  viewer.LoadHtmlFile(Write("m.htm",
                            "<meta http-equiv=Refresh content=\"5; URL=next.htm\">"
                            "<form action=go><input name=q value=v></form>"));
  EXPECT_EQ(heard, std::vector<std::string>{"5 next.htm"});
  controls.made.at(0)->onEnter();
  EXPECT_EQ(heard.size(), 1u) << "not inside the key press";
  loop.Advance(1);
  EXPECT_EQ(heard.back(), "submit go q=v");
  viewer.LoadHtmlFile(Write("n.htm", "<meta http-equiv=refresh content=\"soon\">"));
  EXPECT_EQ(heard.size(), 2u) << "no delay, no refresh";
}

TEST_F(Viewer, PositionsSurviveNewWidthsAndReloads) {
  viewer.LoadHtmlFile(Write("p.htm", "<p>" + std::string(3000, 'x') + " end" + Lines(80)));
  viewer.SetVScroll(900);
  const int line = viewer.Document().CursorAt(5, 900);
  window.Resize({600, 300});
  viewer.Resize();
  EXPECT_EQ(viewer.LayoutWidth(), 600 - 17);
  EXPECT_EQ(viewer.Document().CursorAt(5, viewer.VScroll()), line) << "the same block stays at the top";
  viewer.SetVScroll(500);
  viewer.ReloadFile();
  EXPECT_EQ(viewer.VScroll(), 500);
  EXPECT_TRUE(viewer.History().empty());
}

TEST_F(Viewer, SelectionCopyAndDoubleClick) {
  viewer.LoadHtmlFile(Write("s.htm", "first words<p>second line"));
  viewer.MouseDown({1, 2});
  viewer.MouseMove({8 * 5 + 1, 2}, true);
  viewer.MouseUp({8 * 5 + 1, 2});
  EXPECT_EQ(viewer.SelectedText(), "first");
  viewer.DoubleClick({8 * 7, 2});
  EXPECT_EQ(viewer.SelectedText(), "words\r\n");
  EXPECT_TRUE(viewer.FindNext("LINE", false));
  EXPECT_EQ(viewer.SelectedText(), "line\r\n") << "the line's end is selected with it";
}

TEST_F(Viewer, LivePreviewShowsTheTextOnceTypingPauses) {
  std::string text = "<p>first" + Lines(60);
  int renders = 0;
  app::LivePreview live(loop, [&] {
    ++renders;
    viewer.ShowHtmlText(text, folder.string(), platform::TextEncoding::Cp1252);
  });
  viewer.ShowHtmlText(text, folder.string(), platform::TextEncoding::Cp1252);
  viewer.SetVScroll(300);
  const auto filesBefore = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  live.TextChanged();
  loop.Advance(500);
  EXPECT_EQ(renders, 0) << "off by default";

  live.SetOn(true);
  live.SetShowing(true);
  text = "<p>second" + Lines(60);
  live.TextChanged();
  EXPECT_EQ(renders, 0) << "typing never waits for a render";
  loop.Advance(200);
  live.TextChanged();
  loop.Advance(299);
  EXPECT_EQ(renders, 0) << "each change restarts the wait";
  loop.Advance(1);
  EXPECT_EQ(renders, 1);
  EXPECT_GE(viewer.Document().FindText(0, "second", true), 0);
  EXPECT_EQ(viewer.VScroll(), 300) << "the view stays where it was";
  EXPECT_TRUE(viewer.CurrentFile().empty());
  EXPECT_TRUE(viewer.History().empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), filesBefore) << "nothing written";

  live.SetShowing(false);
  live.TextChanged();
  loop.Advance(1000);
  EXPECT_EQ(renders, 1) << "only while the preview page shows";
}

TEST_F(Viewer, DraggingBelowThePanelScrollsAndExtendsTheSelection) {
  viewer.LoadHtmlFile(Write("d.htm", Lines(100)));
  viewer.MouseDown({2, 2});
  viewer.MouseMove({2, 300 + 5}, true);
  loop.Advance(100);
  EXPECT_EQ(viewer.VScroll(), 16) << "one line a tick just outside";
  viewer.MouseMove({2, 300 + 40}, true);
  loop.Advance(100);
  EXPECT_EQ(viewer.VScroll(), 16 + 8 * 16) << "eight lines a tick further out";
  EXPECT_NE(viewer.SelectedText().find("line 10"), std::string::npos);
  viewer.MouseUp({2, 340});
  EXPECT_EQ(loop.RunningTimers(), 0);
}

TEST_F(Viewer, AHorizontalBarCanBringTheVerticalOne) {
  // 285 pixels fit in 300 - 2, but not beside a horizontal bar (300 - 16 - 2).
  viewer.LoadHtmlFile(Write("h.htm", "<pre>" + std::string(60, 'w') + "</pre>" + Lines(17)));
  EXPECT_EQ(viewer.DocumentHeight(), 13 + 17 * 16) << "the preformatted line is 13 pixels";
  EXPECT_TRUE(window.horizontal.visible) << "420 pixels of text in 400";
  EXPECT_TRUE(window.vertical.visible);
  viewer.LoadHtmlFile(Write("i.htm", Lines(17)));
  EXPECT_FALSE(window.horizontal.visible);
  EXPECT_FALSE(window.vertical.visible);
}

// The viewer's timer moves animated pictures on while they are shown, repainting only their boxes, and
// stops with the last loop, while hidden, and for a page without animations.
TEST_F(Viewer, AnimatedPicturesMoveOnTheirOwnTimer) {
  std::vector<testpictures::GifFrameData> frames;
  for (int i = 0; i < 3; ++i) frames.push_back({0, 0, 10, 10, std::vector<uint8_t>(100, uint8_t(i)), 10});
  const auto gif = testpictures::MakeGif(10, 10, frames, 2);
  Write("anim.gif", std::string(gif.begin(), gif.end()));
  viewer.LoadHtmlFile(Write("anim.htm", "<p>first line</p><img src=anim.gif>"));
  ASSERT_EQ(loop.RunningTimers(), 1);
  platform::fakes::RecordingCanvas canvas;
  const auto paint = [&] { viewer.Paint(canvas, {0, 0, 400, 300}, false); };
  paint();
  window.ClearLog();
  loop.Advance(100);
  ASSERT_EQ(window.invalidated.size(), 1u) << "one picture changed its frame";
  const platform::Rect box = window.invalidated[0];
  EXPECT_EQ(box.Width(), 10);
  EXPECT_EQ(box.Height(), 10);
  EXPECT_GT(box.top, 0) << "below the first line";

  window.ClearLog();
  loop.Advance(200);
  EXPECT_TRUE(window.invalidated.empty()) << "a picture not drawn again since its change waits";

  int changes = 1;
  for (int i = 0; i < 20; ++i) {
    paint();
    window.ClearLog();
    loop.Advance(100);
    changes += static_cast<int>(window.invalidated.size());
  }
  EXPECT_EQ(changes, 6) << "two loops of three frames, then the last frame stays";

  viewer.SetShowing(false);
  EXPECT_EQ(loop.RunningTimers(), 0);
  viewer.SetShowing(true);
  EXPECT_EQ(loop.RunningTimers(), 1);
  viewer.LoadHtmlFile(Write("still.htm", "<p>nothing moves"));
  EXPECT_EQ(loop.RunningTimers(), 0);
}

// A table of 31 columns is dropped with its message, told once however many blocks a load drops; the live
// preview's renderings tell it again only when it newly appears.
TEST_F(Viewer, ABlockDroppedByLayoutIsToldOncePerLoad) {
  Strings told;
  viewer.onLayoutError = [&told](const std::string& message) { told.push_back(message); };
  std::string row;
  for (int i = 0; i < 31; ++i) row += "<td>c</td>";
  const std::string wide = "<table><tr>" + row + "</tr></table>";
  viewer.LoadHtmlFile(Write("wide.htm", "before" + wide + wide + "after"));
  EXPECT_EQ(told, Strings{"Table has too many Columns"});
  EXPECT_GE(viewer.Document().FindText(0, "after", true), 0) << "the rest of the page is shown";
  viewer.ReloadFile();
  EXPECT_EQ(told.size(), 2u) << "each load tells it";

  told.clear();
  viewer.ShowHtmlText("typing" + wide, folder.string(), platform::TextEncoding::Cp1252);
  viewer.ShowHtmlText("typing on" + wide, folder.string(), platform::TextEncoding::Cp1252);
  EXPECT_TRUE(told.empty()) << "the error stands since the load";
  viewer.ShowHtmlText("mended", folder.string(), platform::TextEncoding::Cp1252);
  viewer.ShowHtmlText("broken again" + wide, folder.string(), platform::TextEncoding::Cp1252);
  EXPECT_EQ(told, Strings{"Table has too many Columns"});
}

// A click in an image input's picture submits its form with the point clicked; a control reached with the
// keyboard near the panel's bottom comes to its middle.
TEST_F(Viewer, ImageInputsSubmitTheirClickAndFocusedControlsComeIntoView) {
  std::vector<testpictures::GifFrameData> frame{{0, 0, 20, 10, std::vector<uint8_t>(200, 1), 0}};
  const auto gif = testpictures::MakeGif(20, 10, frame);
  Write("go.gif", std::string(gif.begin(), gif.end()));
  Strings entries;
  viewer.onFormSubmit = [&entries](const std::string& action, const std::string&, const std::string&,
                                   const std::string&, const Strings& sent) {
    entries = sent;
    entries.insert(entries.begin(), action);
  };
  viewer.LoadHtmlFile(Write("form.htm",
                            "<form action=find.cgi><input name=q value=cats><input type=image name=pt "
                            "src=go.gif></form>" +
                                Lines(18) + "<input name=low>" + Lines(40)));
  platform::fakes::RecordingCanvas canvas;
  viewer.Paint(canvas, {0, 0, 400, 300}, false);
  const platform::Rect field = controls.made[0]->bounds;
  const platform::Point click{field.right + 3, field.bottom - 10};
  viewer.MouseDown(click);
  viewer.MouseUp(click);
  loop.Advance(0);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], "find.cgi");
  EXPECT_EQ(entries[1], "q=cats");
  EXPECT_EQ(entries[2].substr(0, 5), "pt.x=");
  EXPECT_EQ(entries[3].substr(0, 5), "pt.y=");

  controls.made[0]->onFocusChanged(true);
  EXPECT_EQ(viewer.VScroll(), 0) << "a control in view stays where it is";
  platform::headless::MemoryFormControl& low = *controls.made[1];
  ASSERT_TRUE(low.visible);
  ASSERT_GT(low.bounds.top, 300 - 20) << "the field stands at the bottom, partly cut off";
  low.onFocusChanged(true);
  EXPECT_GT(viewer.VScroll(), 0);
  viewer.Paint(canvas, {0, 0, 400, 300}, false);
  EXPECT_NEAR((low.bounds.top + low.bounds.bottom) / 2, 150, 16) << "in the middle of the panel";
}

TEST_F(Viewer, ThePointerIsTheHandOverLinksTheTextCursorOverTextAndElseTheArrow) {
  std::vector<preview::PointerShape> shapes;
  viewer.onPointerShape = [&shapes](preview::PointerShape shape) { shapes.push_back(shape); };
  viewer.LoadHtmlFile(Write("p.htm", "<p>words <a href=b.htm>link</a><p>"));
  int x = 0, y = 0;
  ASSERT_TRUE(viewer.Document().PositionToXY(viewer.Document().FindText(0, "words", true), x, y));
  viewer.MouseMove({x + 2, y + 4}, false);
  viewer.MouseMove({x + 4, y + 4}, false);
  ASSERT_TRUE(viewer.Document().PositionToXY(viewer.Document().FindText(0, "link", true), x, y));
  viewer.MouseMove({x + 2, y + 4}, false);
  viewer.MouseMove({390, y + 4}, false);
  viewer.MouseMove({2, 280}, false);
  using Shape = preview::PointerShape;
  EXPECT_EQ(shapes, (std::vector<Shape>{Shape::Text, Shape::Hand, Shape::Arrow}))
      << "told only when it changes; past a line's end and below the page it is the arrow";
}

TEST_F(Viewer, StylesFollowTheLayoutWidthAndTheirSheetFiles) {
  const std::string sheet = Write("site.css", ".x { color: #111111 }");
  const std::string page = Write("styled.htm",
                                 "<link rel=stylesheet href=site.css>"
                                 "<style>@media (max-width: 300px) { .wide { display: none } }</style>"
                                 "<p class=x>styled</p><p class=wide>only when wide</p>");
  viewer.LoadHtmlFile(page);
  EXPECT_GE(viewer.Document().FindText(0, "only when wide", true), 0);
  window.Resize({250, 300});
  viewer.Resize();
  EXPECT_LT(viewer.Document().FindText(0, "only when wide", true), 0) << "the narrow window's @media hide it";
  window.Resize({400, 300});
  viewer.Resize();
  EXPECT_GE(viewer.Document().FindText(0, "only when wide", true), 0);

  std::ofstream(sheet, std::ios::binary) << ".x { display: none }";
  fs::last_write_time(sheet, fs::last_write_time(sheet) + std::chrono::seconds(2));
  loop.Advance(1000);
  EXPECT_LT(viewer.Document().FindText(0, "styled", true), 0) << "the changed sheet is read again";

  // The live preview's text finds its sheets in the document's folder too.
  viewer.ShowHtmlText("<link rel=stylesheet href=site.css><p class=x>typed</p><p>kept</p>", folder.string(),
                      platform::TextEncoding::Cp1252);
  EXPECT_LT(viewer.Document().FindText(0, "typed", true), 0);
  std::ofstream(sheet, std::ios::binary) << ".x { color: red }";
  fs::last_write_time(sheet, fs::last_write_time(sheet) + std::chrono::seconds(4));
  loop.Advance(1000);
  EXPECT_GE(viewer.Document().FindText(0, "typed", true), 0);
  EXPECT_GE(viewer.Document().FindText(0, "kept", true), 0);
}

TEST_F(Viewer, StyledTextIsDrawnInItsColoursAndHiddenTextTakesRoomUnseen) {
  viewer.LoadHtmlFile(Write("drawn.htm",
                            "<style>.box { background: #102030 } .gone { visibility: hidden }</style>"
                            "<div class=box>on blue</div><p>a <span class=gone>secret</span> b <mark>marked</mark>"));
  platform::fakes::RecordingCanvas canvas;
  viewer.Paint(canvas, {0, 0, 400, 300}, false);
  std::string calls;
  for (const std::string& call : canvas.Calls()) calls += call + "\n";
  EXPECT_EQ(calls.find("secret"), std::string::npos) << calls;
  EXPECT_NE(calls.find("marked"), std::string::npos);
  EXPECT_NE(calls.find("fill 0 0 383 16 #00302010"), std::string::npos)
      << "the block's background is filled across the panel: " << calls;
  int x = 0, y = 0, xb = 0, yb = 0;
  ASSERT_TRUE(viewer.Document().PositionToXY(viewer.Document().FindText(0, "secret", true), x, y));
  ASSERT_TRUE(viewer.Document().PositionToXY(viewer.Document().FindText(0, " b ", true), xb, yb));
  EXPECT_GT(xb - x, 40) << "the hidden word keeps its room";
}
