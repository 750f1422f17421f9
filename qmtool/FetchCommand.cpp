// The fetch command: the page fetch run on a poll loop until it ends.
#include "qmtool/FetchCommand.h"

#include <iostream>
#include <string>

#include "net/TcpFetch.h"
#include "platform/headless/PollEventLoop.h"

namespace qmtool {

int RunFetchCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  std::string caFile;
  if (argc == 3 && std::string(argv[0]) == "--cafile") {
    caFile = argv[1];
    argc -= 2;
    argv += 2;
  }
  if (argc != 1) {
    err << "usage: qmtool fetch [--cafile FILE] URL\n";
    return 2;
  }
  platform::headless::PollEventLoop loop;
  net::THttpFetch fetch(loop);
  fetch.URL = argv[0];
  fetch.CAFile = caFile;
  bool finished = false;
  std::exception_ptr failure;
  fetch.Fetch([&](std::exception_ptr error) {
    failure = error;
    finished = true;
  });
  // The fetch ends itself after 30 seconds without progress; this only bounds a transfer that trickles.
  if (!loop.RunUntil([&] { return finished; }, 24 * 3600 * 1000)) {
    err << "The fetch did not end\n";
    return 1;
  }
  try {
    if (failure) std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
  out.write(fetch.Body().data(), static_cast<std::streamsize>(fetch.Body().size()));
  return 0;
}

}  // namespace qmtool
