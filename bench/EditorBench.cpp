// Benchmarks of the editor core's hot paths on generated pages: loading, the full highlighter scan, typing,
// opening and closing a comment at the top, painting a screen, memory and saving. Figures only.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Measure.h"
#include "PageGenerator.h"
#include "PreviewBench.h"
#include "SessionBench.h"
#include "SourceGenerator.h"
#include "app/DataFolder.h"
#include "app/Highlighters.h"
#include "app/RecoveryJournal.h"
#include "editor/Completion.h"
#include "editor/CustomEdit.h"
#include "editor/RangeScan.h"
#include "highlighters/HighlighterFactory.h"
#include "highlighters/HtmlHighlighter.h"
#include "platform/MemoryRegistry.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/ManualEventLoop.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/RecordingWindow.h"
#include "testsupport/RecordingCanvas.h"

namespace fs = std::filesystem;

namespace {

struct Inputs {
  fs::path html20;   // a 20 MB realistic page
  fs::path lines1M;  // 1,000,000 lines, about 50 MB
};

const Inputs& Files() {
  static const Inputs inputs = [] {
    const fs::path dir = fs::temp_directory_path() / "quillmark-bench";
    fs::create_directories(dir);
    Inputs in{dir / "page-20mb.htm", dir / "page-1m-lines.htm"};
    if (!fs::exists(in.html20)) std::ofstream(in.html20, std::ios::binary) << bench::RealisticHtml(20u << 20);
    if (!fs::exists(in.lines1M)) std::ofstream(in.lines1M, std::ios::binary) << bench::LinePage(1000000);
    return in;
  }();
  return inputs;
}

const fs::path& FileFor(int which) { return which == 0 ? Files().html20 : Files().lines1M; }

// An editor set up as the main window sets up its editor, 50 rows of it on the test font, in the HTML
// mode (the page scanner with the window's colours).
struct MainEditor {
  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  platform::headless::RecordingWindow window{{1000, 50 * 17}};
  platform::MemoryRegistry settings;
  app::MainHighlighters highlighters{settings};
  editor::TqeCustomEdit editor{fonts, clipboard};
  MainEditor() {
    editor.SetWindow(&window);
    editor.SetExtraLineSpacing(1);
    editor.SetMaxUndo(30);
    editor.SetScrollPastEOL(false);
    editor.Gutter().SetWidth(10);
    editor.Gutter().SetDigitCount(5);
    editor.Gutter().SetShowLineNumbers(true);
    editor.SetHighLighter(highlighters.ForLanguage("HTML"));
    editor.SetShowMatches(true);
    editor.SetShowFoldMarks(true);
  }
  ~MainEditor() { editor.SetWindow(nullptr); }
};

// The million-line page with every 20 lines inside a <div> over lines: 50,000 regions to fold.
const std::string& PageWithBlocks() {
  static const std::string text = [] {
    const std::string page = bench::LinePage(1000000);
    std::string out = "<html>\r\n<body>\r\n";
    out.reserve(page.size() + 50000 * 16);
    int line = 0;
    for (std::size_t at = 0; at < page.size();) {
      const std::size_t end = std::min(page.find("\r\n", at), page.size());
      if (line % 20 == 0) out += "<div>\r\n";
      out.append(page, at, end + 2 - at);
      if (++line % 20 == 0) out += "</div>\r\n";
      at = end + 2;
    }
    return out += "</body>\r\n</html>\r\n";
  }();
  return text;
}

void Load(benchmark::State& state) {
  const fs::path& file = FileFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    editor::TqeEditList lines;
    lines.LoadFromFile(file);
    benchmark::DoNotOptimize(lines.Count());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(Load)->Arg(0)->Arg(1)->ArgName("file")->Unit(benchmark::kMillisecond);

void FullScan(benchmark::State& state) {
  const fs::path& file = FileFor(static_cast<int>(state.range(0)));
  editor::TqeEditList lines;
  lines.LoadFromFile(file);
  highlighters::TzrHTMLSyn html;
  for (auto _ : state) editor::RescanAll(lines, html);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(FullScan)->Arg(0)->Arg(1)->ArgName("file")->Unit(benchmark::kMillisecond);

// Each scanner filling every slot of a 20 MB source of its language.
void ScanLanguage(benchmark::State& state, std::string_view language) {
  const fs::path file = fs::temp_directory_path() / "quillmark-bench" / ("source-20mb." + std::string(language));
  fs::create_directories(file.parent_path());
  if (!fs::exists(file)) std::ofstream(file, std::ios::binary) << bench::RealisticSource(language, 20u << 20);
  editor::TqeEditList lines;
  lines.LoadFromFile(file);
  auto scanner = highlighters::CreateHighlighter(language);
  for (auto _ : state) editor::RescanAll(lines, *scanner);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK_CAPTURE(ScanLanguage, perl, "perl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, cpp, "cpp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, java, "java")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, vbscript, "vbscript")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, sql, "sql")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, pascal, "pascal")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, awk, "awk")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, css, "css")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, javascript, "javascript")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, php, "php")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanLanguage, webpage, "webpage")->Unit(benchmark::kMillisecond);

// Looking for a word that is not there through the whole 20 MB page, as Find does, beside memmem over the
// same bytes; with and without regard to case.
void SearchAbsentWord(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().LoadFromFile(Files().html20);
  const editor::TSearchOptions options = editor::soEntireScope | (state.range(0) ? editor::soMatchCase : 0u);
  for (auto _ : state) benchmark::DoNotOptimize(main.editor.SearchReplace("quillpen", {}, options));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(Files().html20)));
}
BENCHMARK(SearchAbsentWord)->Arg(0)->Arg(1)->ArgName("case")->Unit(benchmark::kMillisecond);

void MemmemAbsentWord(benchmark::State& state) {
  std::ifstream in(Files().html20, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  for (auto _ : state) benchmark::DoNotOptimize(memmem(text.data(), text.size(), "quillpen", 8));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(MemmemAbsentWord)->Unit(benchmark::kMillisecond);

// Replace All of a word standing on every tenth line of the million-line page (100,000 matches) in the
// main window's editor, then the one undo step that takes it all back.
void ReplaceAllInAMillionLines(benchmark::State& state) {
  std::string page = bench::LinePage(1000000);
  std::string marked;
  marked.reserve(page.size() + 1000000);
  int line = 0;
  for (std::size_t start = 0; start < page.size();) {
    const std::size_t end = page.find("\r\n", start);
    marked.append(page, start, end - start);
    if (line++ % 10 == 0) marked += " needle";
    marked += "\r\n";
    start = end + 2;
  }
  MainEditor main;
  double undoMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    main.editor.Lines().SetTextStr(marked);
    state.ResumeTiming();
    const int replaced = main.editor.SearchReplace("needle", "thread",
                                                   editor::soReplaceAll | editor::soEntireScope | editor::soMatchCase);
    if (replaced != 100000) state.SkipWithError("expected 100,000 replacements");
    state.PauseTiming();
    const auto start = std::chrono::steady_clock::now();
    main.editor.Undo();
    undoMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.ResumeTiming();
  }
  state.counters["undo_ms"] = undoMs;
}
BENCHMARK(ReplaceAllInAMillionLines)->Iterations(3)->Unit(benchmark::kMillisecond);

// Loading into the main window's editor: the load and the scan that fills every slot.
void LoadAndScan(benchmark::State& state) {
  const fs::path& file = FileFor(static_cast<int>(state.range(0)));
  MainEditor main;
  for (auto _ : state) main.editor.Lines().LoadFromFile(file);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(file)));
}
BENCHMARK(LoadAndScan)->Arg(0)->Arg(1)->ArgName("file")->Unit(benchmark::kMillisecond);

// The median and the 99th percentile of the timings of single keys, in µs.
void ReportMedianAndP99(benchmark::State& state, std::vector<double>& micros) {
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}

// One typed character that leaves its line's end state alone, anywhere in the million-line page: the edit,
// the rescan and the invalidation, timed one by one for the median and the 99th percentile. With utf8:1 the
// document is UTF-8 and "é" is typed after a Cyrillic word put in the line beforehand (not timed).
void TypeCharacter(benchmark::State& state) {
  const bool utf8 = state.range(0) == 1;
  MainEditor main;
  main.editor.Lines().LoadFromFile(Files().lines1M);
  if (utf8) main.editor.SetEncoding(platform::TextEncoding::Utf8);
  std::vector<double> micros;
  int i = 0;
  for (auto _ : state) {
    const int line = 1 + static_cast<int>((static_cast<long long>(i++) * 7919) % 1000000);
    main.editor.SetCaretXY({1, line});
    if (utf8) main.editor.KeyPress(std::string_view("\xD0\x96\xD1\x83\xD0\xBA"));
    const auto start = std::chrono::steady_clock::now();
    if (utf8)
      main.editor.KeyPress(std::string_view("\xC3\xA9"));
    else
      main.editor.KeyPress('x');
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (main.window.invalidated.size() > 4096) main.window.ClearLog();
  }
  ReportMedianAndP99(state, micros);
}
// Typing inside the <style> and <script> blocks of the million-line page (a block of each after every
// 5,000 lines): a character at the start of a declaration's line (arg 0) or of a script's (arg 1), which
// leaves the line's end state alone; each timed, median and 99th percentile in µs.
void TypeInStyleAndScript(benchmark::State& state) {
  const bool script = state.range(0) == 1;
  const std::string page = bench::LinePage(1000000);
  const std::string blocks =
      "<style type=\"text/css\">\r\n  p.note { color: #c00; margin: 0 auto }\r\n</style>\r\n"
      "<script>\r\n  const x = `a ${b}` / 2; // note\r\n</script>\r\n";
  std::string withBlocks;
  withBlocks.reserve(page.size() + 200 * blocks.size());
  std::vector<int> targets;
  int line = 0;
  for (std::size_t at = 0; at < page.size();) {
    const std::size_t end = std::min(page.find("\r\n", at), page.size());
    withBlocks.append(page, at, end + 2 - at);
    at = end + 2;
    if (++line % 5000 == 0) {
      withBlocks += blocks;
      targets.push_back(line + (script ? 5 : 2));
      line += 6;
    }
  }
  MainEditor main;
  main.editor.Lines().SetTextStr(withBlocks);
  std::vector<double> micros;
  std::size_t i = 0;
  for (auto _ : state) {
    main.editor.SetCaretXY({3, targets[(i++ * 37) % targets.size()]});
    const auto start = std::chrono::steady_clock::now();
    main.editor.KeyPress('x');
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (main.window.invalidated.size() > 4096) main.window.ClearLog();
  }
  ReportMedianAndP99(state, micros);
}
BENCHMARK(TypeInStyleAndScript)->Arg(0)->Arg(1)->ArgName("script")->Iterations(5000)->Unit(benchmark::kMicrosecond);

// Typing at the end of one line of 4 MB (a minified page: tags, attributes, text with Cyrillic words, no
// line break), the document read as UTF-8 (utf8:1) or Windows-1252 (utf8:0), the line the page's last one
// (after:0) or followed by another (after:1, whose start state the rescan must then find by reading the
// whole line): each character timed, median and 99th percentile in µs.
void TypeAtTheEndOfALongLine(benchmark::State& state) {
  const bool utf8 = state.range(0) == 1;
  const bool after = state.range(1) == 1;
  MainEditor main;
  std::string line;
  while (line.size() < (4u << 20))
    line += "<div class=\"c\"><a href=\"/p/" + std::to_string(line.size()) +
            "\">\xD0\x96\xD1\x83\xD0\xBA item</a> text &amp; more</div>";
  main.editor.Lines().SetTextStr(after ? line + "\r\n</body>\r\n" : line);
  main.editor.SetEncoding(utf8 ? platform::TextEncoding::Utf8 : platform::TextEncoding::Cp1252);
  main.editor.SetCaretXY({static_cast<int>(line.size()) + 1, 1});
  std::vector<double> micros;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    main.editor.KeyPress(utf8 ? std::string_view("\xC3\xA9") : std::string_view("x"));
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (main.window.invalidated.size() > 4096) main.window.ClearLog();
  }
  ReportMedianAndP99(state, micros);
}
BENCHMARK(TypeAtTheEndOfALongLine)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"utf8", "after"})
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

// The recovery journal of the million-line page: what the window's thread spends (the snapshot handed to
// the writing thread, arg 0) and the whole write with its flush to the disk (arg 1).
void JournalOfAMillionLines(benchmark::State& state) {
  MainEditor e;
  e.editor.Lines().LoadFromFile(Files().lines1M);
  platform::headless::ManualEventLoop loop;
  const fs::path folder = fs::temp_directory_path() / "quillmark-bench" / "recovery";
  app::RecoveryJournal journal(loop, folder, [&](app::JournalEntry& entry) {
    e.editor.Lines().TextInto(entry.text);
    return true;
  });
  const bool whole = state.range(0) == 1;
  for (auto _ : state) {
    journal.WriteNow();
    if (!whole) state.PauseTiming();
    journal.Flush();
    if (!whole) state.ResumeTiming();
  }
  journal.Discard();
  journal.Flush();
}
BENCHMARK(JournalOfAMillionLines)->Arg(0)->Arg(1)->ArgName("disk")->Iterations(10)->Unit(benchmark::kMillisecond);

BENCHMARK(TypeCharacter)->Arg(0)->Arg(1)->ArgName("utf8")->Iterations(20000)->Unit(benchmark::kMicrosecond);

// Typing "<!--" at the top of the million-line page (every later line rescanned once) and removing it.
void CommentAtTop(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().LoadFromFile(Files().lines1M);
  for (auto _ : state) {
    main.editor.SetCaretXY({1, 1});
    main.editor.SetSelectionStart({1, 1});
    main.editor.SetSelectedText("<!--");
    main.editor.SetSelectionStart({1, 1});
    main.editor.SetSelectionEnd({5, 1});
    main.editor.SetSelectedText("");
    main.window.ClearLog();
  }
}
BENCHMARK(CommentAtTop)->Unit(benchmark::kMillisecond);

// One full screen (50 rows) painted on the recording canvas, at the top and at line 900,000.
void PaintScreen(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().LoadFromFile(Files().lines1M);
  main.editor.SetTopLine(static_cast<int>(state.range(0)));
  main.editor.Document().Outline().Regions();  // found once after a load (FoldRegions), not each screen
  platform::fakes::RecordingCanvas canvas;
  const platform::Size client = main.window.ClientSize();
  for (auto _ : state) {
    canvas.Clear();
    main.editor.Paint(canvas, {0, 0, client.width, client.height});
  }
}
BENCHMARK(PaintScreen)->Arg(1)->Arg(900000)->ArgName("top")->Unit(benchmark::kMicrosecond);

// Word wrap on the million-line page in a window 30 cells wide (most lines take two or three rows): a
// screen painted at the top and at line 900,000 (what:0), the window made wider or narrower and a screen
// painted again (what:1: the rows are worked out anew), and a character typed in a wrapped line of the
// screen (what:2), each of these timed for the median and 99th percentile in µs.
void WrappedScreen(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().LoadFromFile(Files().lines1M);
  auto sizeTo = [&](int columns) {
    main.window.Resize({main.editor.GutterPixels() + 2 + columns * main.editor.CellWidth(), 50 * 17});
    main.editor.Resized();
  };
  sizeTo(30);
  main.editor.SetWordWrap(true);
  platform::fakes::RecordingCanvas canvas;
  std::vector<double> micros;
  int i = 0;
  for (auto _ : state) {
    const int line = state.range(0) == 0 && i % 2 ? 900000 : 1 + (i * 7919) % 1000000;
    ++i;
    if (state.range(0) != 1) main.editor.SetTopLine(line);
    main.editor.SetCaretXY({25, main.editor.TopLine() + 10});
    const auto start = std::chrono::steady_clock::now();
    if (state.range(0) == 1) sizeTo(i % 2 ? 24 : 30);
    if (state.range(0) == 2) {
      main.editor.KeyPress('x');
    } else {
      canvas.Clear();
      const platform::Size client = main.window.ClientSize();
      main.editor.Paint(canvas, {0, 0, client.width, client.height});
    }
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    main.window.ClearLog();
  }
  int rows = 0;
  for (int line = 1; line <= 1000; ++line) rows += main.editor.RowsOf(line);
  state.counters["rows_per_line"] = rows / 1000.0;
  ReportMedianAndP99(state, micros);
}
BENCHMARK(WrappedScreen)->Arg(0)->Arg(1)->Arg(2)->ArgName("what")->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The fold regions of the page with blocks: found from nothing after a load (arg 0), and again after one
// line was typed in (arg 1: only that line is read again, the regions gathered anew).
void FoldRegions(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().SetTextStr(PageWithBlocks());
  auto& outline = main.editor.Document().Outline();
  if (state.range(0) == 1) benchmark::DoNotOptimize(outline.Regions().size());
  int i = 0;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      outline.Reset();
    } else {
      main.editor.SetCaretXY({1, 3 + (i++ * 7919) % 1000000});
      main.editor.KeyPress('x');
    }
    benchmark::DoNotOptimize(outline.Regions().size());
  }
  state.counters["regions"] = static_cast<double>(outline.Regions().size());
}
BENCHMARK(FoldRegions)->Arg(0)->Arg(1)->ArgName("edited")->Iterations(5)->Unit(benchmark::kMillisecond);

// A screen with folds: every region from line 500,000 on folded, 50 rows painted with their marks.
void PaintScreenWithFolds(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().SetTextStr(PageWithBlocks());
  for (int line = 500000; line < 502000; line += 21) main.editor.ToggleFoldAt(line);
  main.editor.SetTopLine(500000);
  platform::fakes::RecordingCanvas canvas;
  const platform::Size client = main.window.ClientSize();
  for (auto _ : state) {
    canvas.Clear();
    main.editor.Paint(canvas, {0, 0, client.width, client.height});
  }
  state.counters["folds"] = static_cast<double>(main.editor.Folds().size());
}
BENCHMARK(PaintScreenWithFolds)->Unit(benchmark::kMicrosecond);

// Opening the completion list after "<ta" in the page with blocks: the place, the candidates.
void OpenCompletion(benchmark::State& state) {
  MainEditor main;
  main.editor.Lines().SetTextStr(PageWithBlocks());
  const auto tables = editor::CompletionTables::Load(app::FindShippedData(fs::current_path()));
  main.editor.SetCaretXY({1, 600000});
  main.editor.InsertTextAt({1, 600000}, "<ta");
  main.editor.SetCaretXY({4, 600000});
  for (auto _ : state) {
    const auto context = editor::CompletionAt(main.editor);
    benchmark::DoNotOptimize(editor::Candidates(tables, context).size());
  }
}
BENCHMARK(OpenCompletion)->Unit(benchmark::kMicrosecond);

// Peak resident memory of loading a page into the main window's editor, in kilobytes above the resident
// set before the load. Runs in a fresh process (this program started again with --measure-load), so no
// memory this program used before counts, resident or free.
void MeasureLoad(const char* file) {
  const long before = bench::ResidentKilobytes("VmRSS:");
  MainEditor main;
  main.editor.Lines().LoadFromFile(file);
  std::printf("%ld\n", bench::ResidentKilobytes("VmHWM:") - before);
}

void PeakMemory(benchmark::State& state) {
  const fs::path& file = FileFor(static_cast<int>(state.range(0)));
  long kilobytes = 0;
  for (auto _ : state) {
    kilobytes = bench::PeakKilobytesOfChild("--measure-load", file);
    if (kilobytes < 0) state.SkipWithError("the measuring process failed");
  }
  state.counters["peak_MB"] = kilobytes / 1024.0;
  state.counters["ratio"] = kilobytes * 1024.0 / static_cast<double>(fs::file_size(file));
}
BENCHMARK(PeakMemory)->Arg(0)->Arg(1)->ArgName("file")->Iterations(1)->Unit(benchmark::kMillisecond);

void Save(benchmark::State& state) {
  editor::TqeEditList lines;
  lines.LoadFromFile(Files().lines1M);
  const fs::path out = fs::temp_directory_path() / "quillmark-bench" / "saved.htm";
  for (auto _ : state) lines.SaveToFile(out);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(out)));
  fs::remove(out);
}
BENCHMARK(Save)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--measure-load") {
    MeasureLoad(argv[2]);
    return 0;
  }
  if (argc == 3 && std::string(argv[1]) == "--measure-tabs") {
    bench::MeasureTabs(argv[2]);
    return 0;
  }
  if (argc == 3 && std::string(argv[1]) == "--measure-preview") {
    bench::MeasurePreviewLoad(argv[2]);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
