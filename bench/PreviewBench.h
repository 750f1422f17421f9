// The preview's benchmarks live in PreviewBench.cpp; this is the measuring child's entry.
#pragma once

namespace bench {

// Parses and lays out a page as the viewer does (800 pixels, the test font) and prints the peak resident
// kilobytes above the start.
void MeasurePreviewLoad(const char* file);

}  // namespace bench
