// The timed ordinary call: the study function on a chart update that brings
// no answer and owes no request, as most calls are, against its floor, an
// empty study function called through the same host record in the same way.
// The difference is what the study itself spends on such a call.
#pragma once

#include <string>

struct StudyCallMeasurement {
  std::string studyCallName;
  std::string emptyCallName;
};

// Registers both with Google Benchmark, floor first.
StudyCallMeasurement registerStudyCallBenchmarks();
