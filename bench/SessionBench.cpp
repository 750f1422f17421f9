// Benchmarks of the window's documents in tabs: the memory of 100 tabs of 1 MB pages, switching tabs with
// the repaint of the tab shown, and a start that restores a session of 20 files (40 MB in all).
#include "SessionBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>

#include "Measure.h"
#include "PageGenerator.h"
#include "app/MainForm.h"
#include "app/SessionStore.h"
#include "platform/MemoryRegistry.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/RecordingWindow.h"
#include "testsupport/FakeDialogs.h"
#include "testsupport/FakePrinter.h"
#include "testsupport/FakeShell.h"
#include "testsupport/RecordingCanvas.h"

namespace fs = std::filesystem;

namespace {

// count pages of `bytes` each, and a data folder beside them.
std::vector<std::string> Pages(int count, std::size_t bytes) {
  const fs::path dir = fs::temp_directory_path() / "quillmark-bench" / ("tabs-" + std::to_string(bytes));
  fs::create_directories(dir / "data");
  for (const char* name : {"default.htm", "recent.ini", "libhtml.kls", "libevents.kls", "libfunctions.kls"})
    if (!fs::exists(dir / "data" / name)) std::ofstream(dir / "data" / name) << "\r\n";
  std::vector<std::string> pages;
  const std::string page = bench::RealisticHtml(bytes);
  for (int i = 0; i < count; ++i) {
    const fs::path file = dir / ("page-" + std::to_string(i) + ".htm");
    if (!fs::exists(file)) std::ofstream(file, std::ios::binary) << page;
    pages.push_back(file.string());
  }
  return pages;
}

std::string DataFolderOf(const std::string& page) { return (fs::path(page).parent_path() / "data").string(); }

// The main window's logic with an editor on a headless window for each tab, set up as the window's.
struct Window {
  explicit Window(const std::string& dataFolder) : form({registry, dialogs, shell, printer, ""}, dataFolder) {
    form.OnSessionOpened = [this](app::DocumentSession& session) {
      auto& view = views.emplace_back(std::make_unique<editor::TqeCustomEdit>(fonts, clipboard, session.Document()));
      view->SetWindow(&window);
      view->Gutter().SetShowLineNumbers(true);
      view->SetMaxUndo(30);
      session.AddView(*view);
    };
    form.OnSessionClosing = [this](app::DocumentSession& session) {
      for (editor::TqeCustomEdit* view : std::vector(session.Views())) {
        session.RemoveView(*view);
        view->SetWindow(nullptr);
        views.remove_if([view](const auto& kept) { return kept.get() == view; });
      }
    };
  }
  void Start() {
    app::WindowPlacement placement;
    form.FormCreate(placement);
    form.FormShow({});
  }
  // The tab shown, painted whole.
  void Paint() {
    platform::fakes::RecordingCanvas canvas;
    form.Editor().Paint(canvas, {0, 0, window.ClientSize().width, window.ClientSize().height});
  }

  platform::MemoryRegistry registry;
  platform::fakes::FakeDialogs dialogs;
  platform::fakes::FakeShell shell;
  platform::fakes::FakePrinter printer;
  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  platform::headless::RecordingWindow window{{1000, 50 * 17}};
  std::list<std::unique_ptr<editor::TqeCustomEdit>> views;
  app::MainForm form;
};

void MemoryOfAHundredTabs(benchmark::State& state) {
  const std::vector<std::string> pages = Pages(100, 1 << 20);
  long kilobytes = 0;
  for (auto _ : state) {
    kilobytes = bench::PeakKilobytesOfChild("--measure-tabs", pages.front());
    if (kilobytes < 0) state.SkipWithError("the measuring process failed");
  }
  const double bytes = 99.0 * static_cast<double>(fs::file_size(pages.front()));
  state.counters["MB_over_one_tab"] = kilobytes / 1024.0;
  state.counters["ratio"] = kilobytes * 1024.0 / bytes;
}
BENCHMARK(MemoryOfAHundredTabs)->Iterations(1)->Unit(benchmark::kMillisecond);

// Showing another of 100 tabs of 1 MB pages: the switch and the repaint of the screen it shows, each timed.
void SwitchTabs(benchmark::State& state) {
  const std::vector<std::string> pages = Pages(100, 1 << 20);
  Window window(DataFolderOf(pages.front()));
  window.Start();
  window.form.OpenFiles(pages);
  std::vector<double> millis;
  int i = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    window.form.SwitchTo((i += 37) % 100);
    window.Paint();
    millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(millis.begin(), millis.end());
  state.counters["median_ms"] = millis[millis.size() / 2];
  state.counters["max_ms"] = millis.back();
}
BENCHMARK(SwitchTabs)->Iterations(200)->Unit(benchmark::kMillisecond);

// A start that restores a session of 20 files of 2 MB: start-up, the session read, the current tab loaded
// and painted (the others load when first shown).
void RestoreSession(benchmark::State& state) {
  const std::vector<std::string> pages = Pages(20, 2 << 20);
  app::StoredSession stored;
  for (const std::string& page : pages) stored.tabs.push_back({page, 1000, 1, 980, "HTML", {}});
  stored.current = 7;
  app::WriteSessionFile(fs::path(DataFolderOf(pages.front())) / "session.ini", stored);
  for (auto _ : state) {
    Window window(DataFolderOf(pages.front()));
    window.Start();
    window.Paint();
    benchmark::DoNotOptimize(window.form.Sessions().size());
  }
}
BENCHMARK(RestoreSession)->Unit(benchmark::kMillisecond);

}  // namespace

namespace bench {

// In a fresh process: the resident memory 100 tabs of the 1 MB pages beside first take above one tab.
void MeasureTabs(const char* first) {
  const std::vector<std::string> pages = Pages(100, 1 << 20);
  Window window(DataFolderOf(first));
  window.Start();
  window.form.OpenFiles({pages.front()});
  const long one = ResidentKilobytes("VmRSS:");
  window.form.OpenFiles({pages.begin() + 1, pages.end()});
  std::printf("%ld\n", ResidentKilobytes("VmRSS:") - one);
}

}  // namespace bench
