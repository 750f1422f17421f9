// Benchmarks of the page check and spelling: libtidy over the 2 MB page (as the worker runs it), a screen
// of the million-line page spelt, the whole of it spelt in background slices, and typing with spelling
// on. Figures only.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "PageGenerator.h"
#include "app/PageCheck.h"
#include "app/Spelling.h"
#include "editor/CustomEdit.h"
#include "highlighters/WebPageHighlighter.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"

namespace {

void CheckPage2MB(benchmark::State& state) {
  const std::string page = bench::RealisticHtml(2u << 20);
  std::size_t problems = 0;
  for (auto _ : state) problems = app::CheckPage(page, platform::TextEncoding::Cp1252, {}).size();
  state.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(CheckPage2MB)->Unit(benchmark::kMillisecond);

// The million-line page in the page scanner, spelt against en_US with no background pass.
struct SpeltPage {
  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  highlighters::TWebPageSyn scanner;
  editor::TqeCustomEdit editor{fonts, clipboard};
  app::Spelling spelling{nullptr, {}};
  bool ready = false;
  SpeltPage() {
    editor.SetHighLighter(&scanner);
    editor.Lines().SetTextStr(bench::LinePage(1000000));
    ready = spelling.SetLanguage("en_US");
  }
  ~SpeltPage() {
    spelling.Unwatch(editor.Document());
    editor.SetHighLighter(nullptr);
  }
};

// 50 lines at line 500,000 spelt again each time, as a screen is painted after a scroll.
void SpellScreen(benchmark::State& state) {
  SpeltPage page;
  if (!page.ready) return state.SkipWithError("hunspell-en-us is not installed");
  page.spelling.Watch(page.editor.Document());
  editor::SpellingLines& lines = page.editor.Document().Spelling();
  for (auto _ : state) {
    for (int i = 500000; i < 500050; ++i) lines.LineChanged(i);
    for (int i = 500000; i < 500050; ++i) benchmark::DoNotOptimize(lines.Misspelt(i).size());
  }
}
BENCHMARK(SpellScreen)->Unit(benchmark::kMicrosecond);

// The whole page in slices of 2 ms, as the window's idle timer runs them: the total and the slices.
void SpellInBackground(benchmark::State& state) {
  SpeltPage page;
  if (!page.ready) return state.SkipWithError("hunspell-en-us is not installed");
  int slices = 0;
  for (auto _ : state) {
    page.spelling.Watch(page.editor.Document());
    while (page.editor.Document().Spelling().CheckSome(std::chrono::microseconds(2000))) ++slices;
    page.spelling.Unwatch(page.editor.Document());
  }
  state.counters["slices"] = slices / static_cast<double>(state.iterations());
}
BENCHMARK(SpellInBackground)->Iterations(2)->Unit(benchmark::kMillisecond);

// A typed character and its line spelt again (as the repaint asks), timed one by one.
void TypeWithSpelling(benchmark::State& state) {
  SpeltPage page;
  if (!page.ready) return state.SkipWithError("hunspell-en-us is not installed");
  page.spelling.Watch(page.editor.Document());
  std::vector<double> micros;
  int i = 0;
  for (auto _ : state) {
    const int line = 1 + static_cast<int>((static_cast<long long>(i++) * 7919) % 1000000);
    page.editor.SetCaretXY({1, line});
    const auto start = std::chrono::steady_clock::now();
    page.editor.KeyPress('x');
    benchmark::DoNotOptimize(page.editor.Document().Spelling().Misspelt(line - 1).size());
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}
BENCHMARK(TypeWithSpelling)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
