// libFuzzer entry point: RTF to HTML over arbitrary bytes. Checks that the conversion finishes and that its
// output stays within a small multiple of the input (a FONT tag, the largest thing one control word can
// write, carries at most a 63-byte face).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/Rtf2Html.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string html = app::RtfToHtml(std::string_view(reinterpret_cast<const char*>(data), size));
  if (html.size() > 40 * size + 128) std::abort();
  return 0;
}
