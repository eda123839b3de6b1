// After the timed run: the ordinary call without a response against an empty
// study function called the same way, in nanoseconds and as a ratio.
#pragma once

#include "bench/figure_log.h"
#include "bench/ratio_reporter.h"
#include "bench/study_call_benchmarks.h"

void printStudyCallTable(const StudyCallMeasurement& measurement, const RatioReporter& reporter,
                         FigureLog& figures);
