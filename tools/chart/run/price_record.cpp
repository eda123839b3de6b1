#include "tools/chart/run/price_record.h"

#include <algorithm>

#include "tools/chart/study_door/study_door.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::run {

namespace {

// Enough of the newest bars to find their period past a gap or two.
constexpr std::size_t kBarsForPeriod = 10;

int64_t barPeriodOf(const std::vector<chart_host::Bar>& bars, int64_t otherwise_s) {
  int64_t shortest = 0;
  const std::size_t first = bars.size() > kBarsForPeriod ? bars.size() - kBarsForPeriod : 1;
  for (std::size_t i = first; i < bars.size(); ++i) {
    const int64_t step = bars[i].dateTime - bars[i - 1].dateTime;
    if (step > 0 && (shortest == 0 || step < shortest)) shortest = step;
  }
  return shortest > 0 ? std::max<int64_t>(shortest / kMicrosecondsPerSecond, 1) : otherwise_s;
}

}  // namespace

void PriceRecord::noteCall(HostDateTime now, const std::vector<chart_host::Bar>& bars, bool windowOpen,
                           BarsTrouble trouble) {
  now_ = now;
  windowOpen_ = windowOpen;
  bars_ = std::move(trouble);
  if (bars.empty()) {
    newest_.reset();
    count_ = 0;
    return;
  }
  const bool moved = !newest_ || bars.size() != count_ || bars.back() != *newest_;
  if (moved) {
    // Bars seen for the first time moved when their newest began, at the latest now.
    movedAt_ = newest_ ? now : std::min(bars.back().dateTime, now);
    newest_ = bars.back();
    count_ = bars.size();
    barPeriod_s_ = barPeriodOf(bars, barPeriod_s_);
  }
}

std::optional<int64_t> PriceRecord::age_s() const {
  if (!newest_) return std::nullopt;
  return std::max<int64_t>(study_door::elapsedMicroseconds(now_, movedAt_) / kMicrosecondsPerSecond, 0);
}

std::string PriceRecord::staleReason() const {
  if (!live_ || !windowOpen_ || !newest_) return {};
  if (*age_s() < kStalePeriods * barPeriod_s_) return {};
  return "the bars have not moved since " + support::formatDateTime(movedAt_) + ", " +
         std::to_string(kStalePeriods) + " bar periods of " + std::to_string(barPeriod_s_) + " s";
}

}  // namespace chart_tool::run
