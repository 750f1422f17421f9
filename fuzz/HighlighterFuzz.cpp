// libFuzzer entry point: every scanner over arbitrary lines from an arbitrary starting range. The first
// byte picks the scanner (in the factory's order), the next four the starting range; the rest is the text.
// Checks that tokens are contiguous, stay inside the line, end in the end-of-line token, that the range fits
// the editor's 32-bit slot without being its "not scanned" mark, and that the rescan's loop ends each line
// in the same state as the token loop.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/EditList.h"
#include "highlighters/HighlighterFactory.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const auto languages = highlighters::Languages();
  auto scanner = languages[data[0] % languages.size()].create();
  scanner->SetRangeState(data[1] | data[2] << 8 | data[3] << 16 | static_cast<std::uint32_t>(data[4]) << 24);
  editor::TqeEditList lines;
  lines.SetTextStr(std::string_view(reinterpret_cast<const char*>(data + 5), size - 5));
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Get(i);
    // The rescan's loop ends the line in the state the token loop does.
    const highlighters::RangeValue start = scanner->RangeState();
    scanner->StartLine(line, i);
    scanner->ScanToLineEnd();
    const highlighters::RangeValue scanned = scanner->RangeState();
    scanner->SetRangeState(start);
    scanner->StartLine(line, i);
    int expected = 0;
    std::size_t tokens = 0;
    for (; !scanner->AtLineEnd(); scanner->NextToken()) {
      Check(scanner->TokenPosition() == expected);
      expected += static_cast<int>(scanner->TokenText().size());
      Check(expected <= static_cast<int>(line.size()));
      Check(++tokens <= 2 * line.size() + 2);  // empty tokens come at most once between real ones
    }
    Check(scanner->TokenPosition() == static_cast<int>(line.size()));
    Check(scanner->RangeState() < 0xFFFFFFFFu);
    Check(scanner->RangeState() == scanned);
  }
  return 0;
}
