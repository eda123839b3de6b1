#include "tools/chart/inputs/bars_file_follower.h"

#include <optional>
#include <system_error>
#include <utility>

#include "tools/chart/inputs/bar_file.h"

namespace chart_tool::inputs {

BarsFileFollower::BarsFileFollower(std::string path, const Chart& chart,
                                   const std::vector<SkippedBarLine>& skippedAtStart)
    : path_(std::move(path)), chart_(chart), seen_(stampNow()) {
  for (const SkippedBarLine& skipped : skippedAtStart) skippedTold_.emplace(skipped.line, skipped.at);
  if (!skippedAtStart.empty()) warning_ = skippedLineText(path_, skippedAtStart.back());
}

BarsFileFollower::Stamp BarsFileFollower::stampNow() const {
  std::error_code failed;
  Stamp stamp;
  stamp.size = std::filesystem::file_size(path_, failed);
  if (failed) return Stamp{};
  stamp.changed = std::filesystem::last_write_time(path_, failed);
  return failed ? Stamp{} : stamp;
}

std::vector<Bar> BarsFileFollower::lookAgain(std::vector<std::string>& told) {
  const Stamp now = stampNow();
  if (now == seen_) return {};
  std::string error;
  std::optional<BarText> read = readGrowingBarFile(path_, error);
  if (!read) {
    // Looked at again next time: the writer may be half-way through.
    seen_ = Stamp{};
    if (error != lastProblem_) told.push_back(error);
    lastProblem_ = error;
    warning_ = error;
    return {};
  }
  seen_ = now;
  lastProblem_.clear();
  BarText bars = inChartTime(std::move(*read), chart_);
  warning_.clear();
  for (const SkippedBarLine& skipped : bars.skipped) {
    warning_ = skippedLineText(path_, skipped);
    if (skippedTold_.emplace(skipped.line, skipped.at).second) told.push_back(warning_);
  }
  return std::move(bars.bars);
}

}  // namespace chart_tool::inputs
