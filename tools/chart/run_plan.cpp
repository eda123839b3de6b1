#include "tools/chart/run_plan.h"

#include <algorithm>

#include "tools/chart/bar_file.h"
#include "tools/chart/synthetic_bars.h"

namespace chart_tool {

namespace {

// The newest bars of a run on the real clock, when no count is given.
constexpr int32_t kRealClockBars = 120;

// 10:15 on the last weekday before `today`.
HostDateTime defaultStart(HostDateTime today) {
  int64_t day = today / kMicrosecondsPerDay - 1;
  while (true) {
    const int64_t weekday = ((day - 1) % 7 + 7) % 7;  // day 0 was a Saturday
    if (weekday != 0 && weekday != 6) break;
    --day;
  }
  return day * kMicrosecondsPerDay + 10 * kMicrosecondsPerHour + 15 * kMicrosecondsPerMinute;
}

std::vector<Bar> syntheticBars(const ChartOptions& options, const CallSpan& span) {
  const int64_t barMicros = options.barSeconds * kMicrosecondsPerSecond;
  SyntheticBarsPlan plan;
  plan.barMicroseconds = barMicros;
  plan.startPrice = options.startPrice;
  plan.tickSize = options.tickSize;
  plan.seed = options.seed;
  if (options.realClockSeconds > 0) {
    // The newest bar is forming now.
    plan.count = options.barCount > 0 ? options.barCount : kRealClockBars;
    plan.firstBar = (span.last / barMicros - (plan.count - 1)) * barMicros;
  } else {
    const HostDateTime nine = span.first / kMicrosecondsPerDay * kMicrosecondsPerDay + 9 * kMicrosecondsPerHour;
    plan.firstBar = options.syntheticFrom.value_or(nine < span.first ? nine : span.first - kMicrosecondsPerHour);
    plan.count = options.barCount > 0
                     ? options.barCount
                     : static_cast<int32_t>(std::max<int64_t>((span.last - plan.firstBar) / barMicros + 1, 1));
  }
  return makeSyntheticBars(plan);
}

}  // namespace

CallSpan callSpanOf(const ChartOptions& options, HostDateTime today) {
  CallSpan span;
  span.step_us = options.stepSeconds * kMicrosecondsPerSecond;
  if (options.realClockSeconds > 0) {
    span.first = today;
    span.last = today + static_cast<int64_t>(options.realClockSeconds * kMicrosecondsPerSecond);
  } else {
    span.first = options.start.value_or(defaultStart(today));
    span.last = options.end.value_or(span.first + 45 * kMicrosecondsPerMinute);
  }
  return span;
}

bool loadBars(const ChartOptions& options, const Chart& chart, const CallSpan& span, std::vector<Bar>& bars,
              std::string& error) {
  if (options.barsPath.empty()) {
    bars = syntheticBars(options, span);
    return !bars.empty();
  }
  std::optional<BarText> read = readBarFile(options.barsPath, error);
  if (!read) return false;
  if (read->utc) {
    for (Bar& bar : read->bars) chart.convertFromZone(bar.dateTime, "UTC+00", bar.dateTime);
  }
  bars = std::move(read->bars);
  return true;
}

}  // namespace chart_tool
