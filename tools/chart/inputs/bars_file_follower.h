// A bars file another program keeps writing (a charting platform's export
// refreshed through the day), followed on the real clock: each look reads it
// again when its size or time of change moved, so the chart's newest bar,
// and the price the alerts watch, keep up with the market.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/chart.h"

namespace chart_tool {

using chart_host::Bar;
using chart_host::Chart;

}  // namespace chart_tool

namespace chart_tool::inputs {

class BarsFileFollower {
 public:
  // Takes the file as it is now for the one already read. The chart (for
  // its zone) must outlive the follower.
  BarsFileFollower(std::string path, const Chart& chart);

  // Every bar of the file when it changed since the last look, else none. A
  // file that cannot be read now gives none, with the reason in `problem`
  // when it differs from the last one told, and is read again next time.
  std::vector<Bar> lookAgain(std::string& problem);

 private:
  struct Stamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type changed{};
    bool operator==(const Stamp& other) const = default;
  };
  Stamp stampNow() const;

  std::string path_;
  const Chart& chart_;
  Stamp seen_;
  std::string lastProblem_;
};

}  // namespace chart_tool::inputs
