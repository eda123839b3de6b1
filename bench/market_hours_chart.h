// A chart of one-minute New York bars over the market hours of every day of
// trading_days.h, with the study placed on it, on which the readers of
// service text are run inside an ordinary call. Not thread-safe.
#pragma once

#include <cstdint>
#include <functional>

#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

class MarketHoursChart {
 public:
  // Appends the bars and declares the study through its set-defaults pass.
  MarketHoursChart();
  // The study's last call.
  ~MarketHoursChart();
  MarketHoursChart(const MarketHoursChart&) = delete;
  MarketHoursChart& operator=(const MarketHoursChart&) = delete;

  // Runs `body` inside one ordinary call at the time of the last bar.
  void call(const std::function<void(HostStudyInterface&)>& body);

  StudyInstance& instance() { return instance_; }
  int32_t barCount() const { return static_cast<int32_t>(chart_.bars().size()); }

 private:
  Chart chart_;
  StudyInstance instance_;
};
