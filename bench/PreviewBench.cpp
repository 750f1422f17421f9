// Benchmarks of the preview renderer: parsing and laying out generated pages of formatted text, lists and
// tables at 800 pixels, laying an already parsed page out again for a new width, and peak memory.
#include "PreviewBench.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Measure.h"
#include "PageGenerator.h"
#include "app/Rtf2Html.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/ManualEventLoop.h"
#include "platform/headless/RecordingWindow.h"
#include "preview/PagePreview.h"
#include "preview/PreviewParser.h"
#include "testsupport/RecordingCanvas.h"

namespace fs = std::filesystem;

namespace {

// The realistic page generator at 2 and 20 MB.
const fs::path& PageOf(int megabytes) {
  static const fs::path dir = fs::temp_directory_path() / "quillmark-bench";
  static const fs::path two = dir / "preview-2mb.htm", twenty = dir / "page-20mb.htm";
  const fs::path& file = megabytes == 2 ? two : twenty;
  if (!fs::exists(file)) {
    fs::create_directories(dir);
    std::ofstream(file, std::ios::binary) << bench::RealisticHtml(static_cast<std::size_t>(megabytes) << 20);
  }
  return file;
}

// The same pages linking a sheet of 2,000 rules written for them.
const fs::path& StyledPageOf(int megabytes) {
  static const fs::path dir = fs::temp_directory_path() / "quillmark-bench";
  static const fs::path two = dir / "styled-2mb.htm", twenty = dir / "styled-20mb.htm";
  const fs::path& file = megabytes == 2 ? two : twenty;
  if (!fs::exists(file)) {
    fs::create_directories(dir);
    std::ofstream(dir / "rules-2000.css", std::ios::binary) << bench::RealisticSheet(2000);
    std::ofstream(file, std::ios::binary) << "<link rel=stylesheet href=\"rules-2000.css\">\r\n"
                                          << bench::RealisticHtml(static_cast<std::size_t>(megabytes) << 20);
  }
  return file;
}

struct Viewer {
  platform::headless::PageFontEngine fonts;
  preview::TSectionList document{fonts, preview::PreviewSettings{}};
  preview::TNameList names;
  int Load(const fs::path& file, int width) {
    preview::ParseHtmlFile(file.string(), document, names, {});
    return document.DoLayout(width);
  }
};

void PreviewParseAndLayout(benchmark::State& state) {
  const fs::path& file = PageOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Viewer viewer;
    benchmark::DoNotOptimize(viewer.Load(file, 800));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(PreviewParseAndLayout)->Arg(2)->Arg(20)->ArgName("mb")->Unit(benchmark::kMillisecond);

void PreviewStyledParseAndLayout(benchmark::State& state) {
  const fs::path& file = StyledPageOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Viewer viewer;
    viewer.document.imageFolder = file.parent_path().string();
    benchmark::DoNotOptimize(viewer.Load(file, 800));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(PreviewStyledParseAndLayout)->Arg(2)->Arg(20)->ArgName("mb")->Unit(benchmark::kMillisecond);

void PreviewRelayout(benchmark::State& state) {
  Viewer viewer;
  viewer.Load(PageOf(static_cast<int>(state.range(0))), 800);
  int width = 640;
  for (auto _ : state) {
    benchmark::DoNotOptimize(viewer.document.DoLayout(width));
    width = width == 640 ? 800 : 640;
  }
}
BENCHMARK(PreviewRelayout)->Arg(2)->Arg(20)->ArgName("mb")->Unit(benchmark::kMillisecond);

// 500 small images from the same 5 GIF files: the cache reads each file once.
void PreviewCachedImages(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "quillmark-bench" / "gifs";
  fs::create_directories(dir);
  std::string page = "<p>";
  for (int i = 0; i < 5; ++i) {
    const fs::path file = dir / ("icon" + std::to_string(i) + ".gif");
    if (!fs::exists(file)) std::ofstream(file, std::ios::binary) << bench::SmallGif(16 + i, 16);
  }
  for (int i = 0; i < 500; ++i) page += "<img src=\"icon" + std::to_string(i % 5) + ".gif\"> word ";
  const fs::path file = dir / "page.htm";
  std::ofstream(file, std::ios::binary) << page;
  for (auto _ : state) {
    preview::TStringBitmapList::Shared().Clear();
    Viewer viewer;
    viewer.document.imageFolder = dir.string();
    benchmark::DoNotOptimize(viewer.Load(file, 800));
  }
}
BENCHMARK(PreviewCachedImages)->Unit(benchmark::kMillisecond);

// The viewer as the main window sets it up, 1000 x 700 pixels, over the recording canvas.
struct MainViewer {
  platform::headless::PageFontEngine fonts;
  platform::headless::RecordingWindow window{{1000, 700}};
  platform::headless::ManualEventLoop loop;
  preview::TPagePreview viewer{fonts, window, loop};
  MainViewer() {
    viewer.settings.defBackground = platform::kColorWindow;
    viewer.marginWidth = viewer.marginHeight = 0;
    viewer.borderStyle = preview::BorderStyle::None;
    viewer.historyMaxCount = 10;
  }
  void Paint() {
    platform::fakes::RecordingCanvas canvas;
    viewer.Paint(canvas, {0, 0, 1000, 700}, false);
    benchmark::DoNotOptimize(canvas.Calls().size());
  }
};

// Switching to the preview page: load, parse, layout and the first paint.
void ViewerShowPage(benchmark::State& state) {
  const fs::path& file = PageOf(2);
  for (auto _ : state) {
    MainViewer main;
    main.viewer.LoadHtmlFile(file.string());
    main.Paint();
  }
}
BENCHMARK(ViewerShowPage)->Unit(benchmark::kMillisecond);

// A page down and its repaint, through the page.
void ViewerPageDown(benchmark::State& state) {
  MainViewer main;
  main.viewer.LoadHtmlFile(PageOf(2).string());
  for (auto _ : state) {
    main.viewer.KeyDown(main.viewer.VScroll() + 1400 >= main.viewer.DocumentHeight()
                            ? preview::TPagePreview::Key::Home
                            : preview::TPagePreview::Key::PageDown);
    main.Paint();
  }
}
BENCHMARK(ViewerPageDown)->Unit(benchmark::kMicrosecond);

// A resize to another width: the document laid out again at the same place.
void ViewerResize(benchmark::State& state) {
  MainViewer main;
  main.viewer.LoadHtmlFile(PageOf(2).string());
  main.viewer.SetVScroll(main.viewer.DocumentHeight() / 2);
  int width = 900;
  for (auto _ : state) {
    main.window.Resize({width, 700});
    main.viewer.Resize();
    width = width == 900 ? 1000 : 900;
  }
}
BENCHMARK(ViewerResize)->Unit(benchmark::kMillisecond);

// Tools > "Import RTF to HTML" of a 5 MB document, the conversion alone.
void RtfToHtml5MB(benchmark::State& state) {
  static const std::string rtf = bench::WordProcessorRtf(5u << 20);
  for (auto _ : state) benchmark::DoNotOptimize(app::RtfToHtml(rtf).size());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(rtf.size()));
}
BENCHMARK(RtfToHtml5MB)->Unit(benchmark::kMillisecond);

void MeasurePeakMemory(benchmark::State& state, const fs::path& file) {
  long kilobytes = 0;
  for (auto _ : state) {
    kilobytes = bench::PeakKilobytesOfChild("--measure-preview", file);
    if (kilobytes < 0) state.SkipWithError("the measuring process failed");
  }
  state.counters["peak_MB"] = kilobytes / 1024.0;
}
void PreviewPeakMemory(benchmark::State& state) { MeasurePeakMemory(state, PageOf(static_cast<int>(state.range(0)))); }
BENCHMARK(PreviewPeakMemory)->Arg(20)->ArgName("mb")->Iterations(1)->Unit(benchmark::kMillisecond);
void PreviewStyledPeakMemory(benchmark::State& state) {
  MeasurePeakMemory(state, StyledPageOf(static_cast<int>(state.range(0))));
}
BENCHMARK(PreviewStyledPeakMemory)->Arg(20)->ArgName("mb")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace bench {

void MeasurePreviewLoad(const char* file) {
  const long before = ResidentKilobytes("VmRSS:");
  Viewer viewer;
  viewer.document.imageFolder = fs::path(file).parent_path().string();
  viewer.Load(file, 800);
  std::printf("%ld\n", ResidentKilobytes("VmHWM:") - before);
}

}  // namespace bench
