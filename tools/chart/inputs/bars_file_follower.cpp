#include "tools/chart/inputs/bars_file_follower.h"

#include <optional>
#include <system_error>
#include <utility>

#include "tools/chart/inputs/bar_file.h"

namespace chart_tool::inputs {

BarsFileFollower::BarsFileFollower(std::string path, const Chart& chart)
    : path_(std::move(path)), chart_(chart), seen_(stampNow()) {}

BarsFileFollower::Stamp BarsFileFollower::stampNow() const {
  std::error_code failed;
  Stamp stamp;
  stamp.size = std::filesystem::file_size(path_, failed);
  if (failed) return Stamp{};
  stamp.changed = std::filesystem::last_write_time(path_, failed);
  return failed ? Stamp{} : stamp;
}

std::vector<Bar> BarsFileFollower::lookAgain(std::string& problem) {
  const Stamp now = stampNow();
  if (now == seen_) return {};
  std::string error;
  std::optional<BarText> read = readGrowingBarFile(path_, error);
  if (!read) {
    // Looked at again next time: the writer may be half-way through.
    seen_ = Stamp{};
    if (error != lastProblem_) problem = error;
    lastProblem_ = error;
    return {};
  }
  seen_ = now;
  lastProblem_.clear();
  return inChartTime(std::move(*read), chart_);
}

}  // namespace chart_tool::inputs
