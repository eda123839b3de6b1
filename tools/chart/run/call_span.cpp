#include "tools/chart/run/call_span.h"

#include <algorithm>

#include "tools/chart/inputs/bar_file.h"
#include "tools/chart/inputs/synthetic_bars.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::run {

using namespace chart_tool::inputs;

namespace {

// The newest bars of a run on the real clock, when no count is given.
constexpr int32_t kRealClockBars = 120;

// The span of a simulated run without --end, and before --end without --start.
constexpr int64_t kDefaultSpanMicros = 45 * kMicrosecondsPerMinute;

// 10:15 on the last weekday before `today`.
HostDateTime defaultStart(HostDateTime today) {
  int64_t day = support::dayNumberOf(today) - 1;
  while (true) {
    const int64_t weekday = ((day - 1) % 7 + 7) % 7;  // day 0 was a Saturday
    if (weekday != 0 && weekday != 6) break;
    --day;
  }
  return day * kMicrosecondsPerDay + 10 * kMicrosecondsPerHour + 15 * kMicrosecondsPerMinute;
}

// A time as it may be typed after --start: without seconds when they are 0.
std::string typedTime(HostDateTime value) {
  std::string text = support::formatDateTime(value);
  if (text.ends_with(":00")) text.resize(text.size() - 3);
  return text;
}

// "2026-03-02 09:00 to 10:21", the date told once when both are on one day.
std::string timeRange(HostDateTime from, HostDateTime to) {
  const std::string last = typedTime(to);
  const bool oneDay = support::dayNumberOf(from) == support::dayNumberOf(to);
  return typedTime(from) + " to " + (oneDay ? last.substr(last.find(' ') + 1) : last);
}

// The first call's time of day on the day of the last bar, moved inside
// that day's bars: a span that meets the bars and keeps as much of what was
// asked as it can.
HostDateTime startMeeting(const CallSpan& span, const std::vector<Bar>& bars) {
  const HostDateTime lastDay = support::startOfDay(bars.back().dateTime);
  const auto firstOfDay = std::find_if(bars.begin(), bars.end(), [&](const Bar& bar) { return bar.dateTime >= lastDay; });
  const HostDateTime timeOfDay = span.first - support::startOfDay(span.first);
  return std::clamp(lastDay + timeOfDay, firstOfDay->dateTime, bars.back().dateTime);
}

// Bars that ended this long before the real clock's first call are not the
// market the live levels belong to.
constexpr HostDateTime kStaleBarsAfter = kMicrosecondsPerHour;

}  // namespace

SyntheticBarsPlan syntheticBarsPlan(const ChartPlan& chart, bool realClock, const CallSpan& span) {
  const BarsSettings& bars = chart.bars;
  const int64_t barMicros = bars.barSeconds * kMicrosecondsPerSecond;
  SyntheticBarsPlan plan;
  plan.barMicroseconds = barMicros;
  plan.startPrice = bars.startPrice;
  plan.tickSize = chart.tickSize;
  plan.seed = bars.seed;
  if (realClock) {
    // The newest bar is the one forming now; later ones form as time passes.
    plan.count = bars.count > 0 ? bars.count : kRealClockBars;
    plan.firstBar = (span.first / barMicros - (plan.count - 1)) * barMicros;
  } else {
    const HostDateTime nine = support::startOfDay(span.first) + 9 * kMicrosecondsPerHour;
    plan.firstBar = bars.syntheticFrom.value_or(nine < span.first ? nine : span.first - kMicrosecondsPerHour);
    plan.count = bars.count > 0
                     ? bars.count
                     : static_cast<int32_t>(std::max<int64_t>((span.last - plan.firstBar) / barMicros + 1, 1));
  }
  return plan;
}

CallSpan callSpanOf(const ClockSettings& clock, HostDateTime today) {
  CallSpan span;
  span.step_us = clock.stepSeconds * kMicrosecondsPerSecond;
  if (clock.real()) {
    span.first = today;
    span.last = today + static_cast<int64_t>(clock.realClockSeconds * kMicrosecondsPerSecond);
  } else {
    // An --end before the default start asks for a span that ends there.
    const HostDateTime byDefault = defaultStart(today);
    const bool endsFirst = clock.end && *clock.end < byDefault;
    span.first = clock.start.value_or(endsFirst ? *clock.end - kDefaultSpanMicros : byDefault);
    span.last = clock.end.value_or(span.first + kDefaultSpanMicros);
  }
  return span;
}

bool loadBars(const ChartPlan& plan, const ClockSettings& clock, const Chart& chart, const CallSpan& span,
              BarText& bars, std::string& error) {
  if (plan.bars.path.empty()) {
    bars.bars = makeSyntheticBars(syntheticBarsPlan(plan, clock.real(), span));
    return !bars.bars.empty();
  }
  std::optional<BarText> read = readBarFile(plan.bars.path, error);
  if (!read) return false;
  bars = inChartTime(std::move(*read), chart);
  return true;
}

SpanAndBars checkSpanMeetsBars(const ClockSettings& clock, const CallSpan& span, const std::vector<Bar>& bars) {
  SpanAndBars found;
  if (bars.empty()) return found;
  const HostDateTime firstBar = bars.front().dateTime;
  // A file does not say how long its bars are: the last one lasts as long as
  // the one before it.
  const HostDateTime lastBarEnd =
      bars.back().dateTime + (bars.size() > 1 ? bars.back().dateTime - bars[bars.size() - 2].dateTime : 0);
  // The real clock shows every bar at once and asks for today's levels.
  if (clock.real()) {
    if (lastBarEnd + kStaleBarsAfter < span.first)
      found.warning = "the bars end at " + typedTime(bars.back().dateTime) + ", long before now (" +
                      typedTime(span.first) + "): the service's levels of now are drawn beside past prices";
    return found;
  }
  if (span.last < firstBar || span.first > lastBarEnd) {
    const HostDateTime start = startMeeting(span, bars);
    found.error = "the calls (" + timeRange(span.first, span.last) + ") and the bars (" +
                  timeRange(firstBar, bars.back().dateTime) + ") do not meet; try --start \"" + typedTime(start) + "\"";
    if (clock.end) found.error += " --end \"" + typedTime(start + (span.last - span.first)) + "\"";
  } else if (span.first < firstBar) {
    found.warning = "the first bar is at " + typedTime(firstBar) + ": the calls before it see an empty chart";
  }
  return found;
}

}  // namespace chart_tool::run
