// After the timed run: each reader of service text over its floor, a
// RapidJSON parse and plain read of the same text, in time and as a ratio.
#pragma once

#include <vector>

#include "bench/figure_log.h"
#include "bench/ratio_reporter.h"
#include "bench/service_text_benchmarks.h"

void printServiceTextTable(const std::vector<ServiceTextMeasurement>& measurements,
                           const RatioReporter& reporter, FigureLog& figures);
