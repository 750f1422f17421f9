// The fetch command.
#include "qmtool/FetchCommand.h"

#include <iostream>

#include "net/TcpFetch.h"

namespace qmtool {

int RunFetchCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc != 1) {
    err << "usage: qmtool fetch URL\n";
    return 2;
  }
  net::THttpFetch fetch(platform::MakePosixSocket());
  fetch.URL = argv[0];
  try {
    fetch.Fetch();
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
  out.write(fetch.Body().data(), static_cast<std::streamsize>(fetch.Body().size()));
  return 0;
}

}  // namespace qmtool
