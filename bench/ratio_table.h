// After the timed run: parse-and-fill and the strict parse over their
// bare-parse floor for every kind and size, and the cost per row, which stays
// flat when parsing is linear in the number of rows.
#pragma once

#include <vector>

#include "bench/figure_log.h"
#include "bench/parse_benchmarks.h"
#include "bench/ratio_reporter.h"

void printRatioTable(const std::vector<ParseMeasurement>& measurements,
                     const RatioReporter& reporter, FigureLog& figures);
