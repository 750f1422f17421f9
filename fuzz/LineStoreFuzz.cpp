// libFuzzer entry point: any bytes as a whole text for the line store. Checks that every line is free of
// line ends, and that joining the lines and splitting the result again gives the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "editor/EditList.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  editor::TqeEditList lines;
  lines.SetTextStr(text);
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Get(i);
    Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
  }
  editor::TqeEditList again;
  std::istringstream joined(lines.Text());
  again.LoadFromStream(joined);
  Check(again.Count() == lines.Count());
  for (int i = 0; i < lines.Count(); ++i) Check(again.Get(i) == lines.Get(i));
  return 0;
}
