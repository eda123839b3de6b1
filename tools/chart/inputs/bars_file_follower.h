// A bars file another program keeps writing (a charting platform's export
// refreshed through the day), followed on the real clock: each look reads it
// again when its size or time of change moved, so the chart's newest bar,
// and the price the alerts watch, keep up with the market.
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/chart.h"
#include "tools/chart/inputs/bar_file.h"

namespace chart_tool {

using chart_host::Bar;
using chart_host::Chart;

}  // namespace chart_tool

namespace chart_tool::inputs {

class BarsFileFollower {
 public:
  // Takes the file as it is now for the one already read, with the lines
  // skipped then already told. The chart (for its zone) must outlive the
  // follower.
  BarsFileFollower(std::string path, const Chart& chart, const std::vector<SkippedBarLine>& skippedAtStart = {});

  // Every bar of the file when it changed since the last look, else none.
  // What is new to tell goes into `told`: each skipped line once, and a file
  // that cannot be read now (it gives none and is read again next time) when
  // its reason differs from the last one told.
  std::vector<Bar> lookAgain(std::vector<std::string>& told);

  // What is wrong with the file as last read: why it cannot be read, or its
  // latest skipped line; empty while it reads clean.
  const std::string& warning() const { return warning_; }

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
  std::string warning_;
  std::set<std::pair<int, HostDateTime>> skippedTold_;  // by line number and bar time
};

}  // namespace chart_tool::inputs
