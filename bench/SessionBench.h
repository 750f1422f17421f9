// The measuring child of the tabs' memory benchmark.
#pragma once

namespace bench {

// Opens 100 tabs of the 1 MB pages beside first and prints the resident kilobytes they take above one tab.
void MeasureTabs(const char* first);

}  // namespace bench
