// `qmtool fetch [--cafile FILE] URL`: the page fetch of "Open Web File", body to standard output.
#pragma once

#include <iosfwd>

namespace qmtool {

// Arguments after "fetch" ([--cafile FILE] URL; the file adds certificate authorities to trust); 0 with the
// body written unchanged, 1 with the failure's message on err.
int RunFetchCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qmtool
