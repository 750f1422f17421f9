// libFuzzer entry point: any bytes as a `qmtool edit` script, run against a fresh editor core. Drives the
// script parser, the line store and every edit the script language reaches.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "qmtool/EditScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out, err;
  qmtool::EditScript session({320, 200});
  session.Run(script, out, err);
  return 0;
}
