// A chart of one-minute New York bars with the study placed on it, kept for
// the whole run, on which the readers of service text are called; and one
// without bars, as a chart is before its data arrives. The readers' log lines
// go to the checking log of fuzz_host.h instead of the chart's.
#pragma once

#include <cstdint>
#include <functional>

#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

namespace fuzz {

class ServiceChart {
 public:
  // Appends the bars, if any, and declares the study through its
  // set-defaults pass.
  explicit ServiceChart(bool withBars);
  ServiceChart(const ServiceChart&) = delete;
  ServiceChart& operator=(const ServiceChart&) = delete;

  // Runs `body` inside one ordinary call; loggedLines() then holds what it
  // logged, and only that.
  void call(const std::function<void(HostStudyInterface&)>& body);

  StudyInstance& instance() { return instance_; }
  int32_t barCount() const { return static_cast<int32_t>(chart_.bars().size()); }

 private:
  Chart chart_;
  StudyInstance instance_;
};

// The charts of the run; never destroyed.
ServiceChart& serviceChart();
ServiceChart& serviceChartWithoutBars();

}  // namespace fuzz
