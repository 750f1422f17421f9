// libFuzzer entry point: the page check over arbitrary bytes. Checks that blanking keeps every byte's
// place and every line end, that the problems come sorted with places inside the text, that Tidy Up
// finishes, and that the words spelling would ask for lie inside their lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/PageCheck.h"
#include "editor/Document.h"
#include "highlighters/WebPageHighlighter.h"

// Stops the run, naming what did not hold.
#define Require(condition)                                          \
  do {                                                              \
    if (!(condition)) {                                             \
      std::fprintf(stderr, "check fuzz: failed: %s\n", #condition); \
      std::abort();                                                 \
    }                                                               \
  } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto encoding = size > 0 && data[0] & 1 ? platform::TextEncoding::Utf8 : platform::TextEncoding::Cp1252;

  const std::string blanked = app::BlankServerBlocks(text);
  Require(blanked.size() == text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    Require((text[i] == '\r' || text[i] == '\n') == (blanked[i] == '\r' || blanked[i] == '\n'));

  const auto problems = app::CheckPage(text, encoding, {});
  const long lines = std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r') + 1;
  for (std::size_t i = 0; i < problems.size(); ++i) {
    // Columns are libtidy's own, which can be below 1 for a place it reads before a line's start.
    Require(problems[i].line >= 1 && problems[i].line <= lines);
    if (i > 0)
      Require(problems[i - 1].line < problems[i].line ||
              (problems[i - 1].line == problems[i].line && problems[i - 1].column <= problems[i].column));
  }
  const auto tidied = app::TidyUpPage(text, encoding, 2, size % 2 == 0);
  Require(tidied.mended != tidied.text.empty() || text.empty());
  (void)app::ChangedLineCount(text, tidied.text);

  editor::TqeDocument document;
  highlighters::TWebPageSyn page;
  document.SetHighLighter(&page);
  document.Lines().SetTextStr(text);
  document.SetEncoding(encoding);
  document.SetSpellCheck([](std::string_view word) { return word.size() % 3 != 0; });
  for (int index = 0; index < document.Lines().Count(); ++index) {
    const int length = static_cast<int>(document.Lines().Get(index).size());
    Require(app::ByteOfCheckColumn(document.Lines().Get(index), static_cast<int>(size % 97), encoding) <= length);
    for (const editor::WordSpan& word : document.Spelling().Misspelt(index))
      Require(word.from >= 0 && word.from < word.to && word.to <= length);
  }
  document.SetHighLighter(nullptr);
  return 0;
}
