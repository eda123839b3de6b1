// Peak heap of one parse over the size of the body parsed, at the sizes where
// memory matters: a bare RapidJSON parse (the document alone), parse-and-fill
// into a new profile, and into a profile that already holds a snapshot of the
// same size, as it does in the module from the second answer on.
#pragma once

#include "bench/figure_log.h"

inline constexpr int kHeapRowCounts[] = {2000, 5000};

// Measures every body of the corpora and prints the largest ratio of each
// case; run it outside any timing.
void reportPeakHeap(FigureLog& figures);
