// libFuzzer entry point: any bytes as a `qmtool edit` script, run against a fresh editor core. Drives the
// script parser, the line store and every edit the script language reaches.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "qmtool/EditScript.h"

namespace {

// A few lines (select all, copy, paste, paste) double the text, so a short script can ask for gigabytes.
// Past a megabyte a run finds nothing new and only costs time: it stops there.
constexpr std::size_t kTextLimit = 1 << 20;

std::size_t TextBytes(const editor::TqeEditList& lines) {
  std::size_t bytes = 0;
  for (int i = 0; i < lines.Count() && bytes <= kTextLimit; ++i) bytes += lines.Get(i).size() + 2;
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  std::ostringstream out, err;
  qmtool::EditScript session({320, 200});
  for (std::size_t start = 0; start < script.size();) {
    const std::size_t end = std::min(script.find('\n', start), script.size());
    std::istringstream line(std::string(script.substr(start, end - start)));
    // A bad line ends a script, as it does in qmtool.
    if (session.Run(line, out, err) == 2 || TextBytes(session.Editor().Lines()) > kTextLimit) break;
    start = end + 1;
  }
  session.Dump(out);
  return 0;
}
