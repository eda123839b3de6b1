// After the timed run: each GEX "Both" repaint over its sort floor, and the
// repaint's cost per strike, which stays near flat while the repaint grows
// like the sort it contains.
#pragma once

#include <vector>

#include "bench/figure_log.h"
#include "bench/ratio_reporter.h"
#include "bench/repaint_benchmarks.h"

void printRepaintTable(const std::vector<RepaintMeasurement>& measurements,
                       const RatioReporter& reporter, FigureLog& figures);
