// When a chart run calls the study and on which bars: the default span
// starts on the last weekday before today, synthetic bars start at 09:00 (or
// an hour before an early first call) and reach the last call.
#include <gtest/gtest.h>

#include "tools/chart/calendar_text.h"
#include "tools/chart/run_plan.h"

using namespace chart_host;
using namespace chart_tool;

namespace {

HostDateTime at(const char* text) { return readDateTime(text).value(); }

TEST(CallSpan, StartsAt1015OnTheLastWeekdayBeforeTodayByDefault) {
  struct Case {
    const char* today;
    const char* first;
  };
  const Case cases[] = {
      {"2026-03-03 08:00", "2026-03-02 10:15"},  // Tuesday: Monday
      {"2026-03-02 23:59", "2026-02-27 10:15"},  // Monday: Friday
      {"2026-03-01 12:00", "2026-02-27 10:15"},  // Sunday: Friday
      {"2026-02-28 12:00", "2026-02-27 10:15"},  // Saturday: Friday
  };
  for (const Case& c : cases) {
    const CallSpan span = callSpanOf(ChartOptions{}, at(c.today));
    EXPECT_EQ(formatDateTime(span.first), formatDateTime(at(c.first))) << c.today;
    EXPECT_EQ(span.last - span.first, 45 * kMicrosecondsPerMinute);
    EXPECT_EQ(span.calls(), 45 * 60 + 1);
  }
}

TEST(CallSpan, FollowsTheOptionsOrTheRealClock) {
  ChartOptions options;
  options.start = at("2026-03-02 10:00");
  options.end = at("2026-03-02 10:01");
  options.stepSeconds = 7;
  CallSpan span = callSpanOf(options, at("2030-01-01 00:00"));
  EXPECT_EQ(span.first, *options.start);
  EXPECT_EQ(span.calls(), 9);  // 0, 7, ..., 56 seconds
  ChartOptions real;
  real.realClockSeconds = 2.5;
  span = callSpanOf(real, at("2026-03-02 10:00"));
  EXPECT_EQ(span.first, at("2026-03-02 10:00"));
  EXPECT_EQ(span.last, at("2026-03-02 10:00") + 2500000);
}

TEST(RunBars, SyntheticBarsReachTheLastCall) {
  struct Case {
    const char* first;
    const char* last;
    bool realClock;
    const char* firstBar;
    std::size_t count;
  };
  const Case cases[] = {
      {"2026-03-02 10:15", "2026-03-02 11:00", false, "2026-03-02 09:00", 121},
      {"2026-03-02 08:30", "2026-03-02 08:40", false, "2026-03-02 07:30", 71},
      {"2026-03-02 10:15:30", "2026-03-02 10:16:10", true, "2026-03-02 08:17", 120},
  };
  for (const Case& c : cases) {
    ChartOptions options;
    options.realClockSeconds = c.realClock ? 40 : 0;
    const CallSpan span{at(c.first), at(c.last), kMicrosecondsPerSecond};
    std::vector<Bar> bars;
    std::string error;
    ASSERT_TRUE(loadBars(options, Chart{}, span, bars, error)) << error;
    ASSERT_EQ(bars.size(), c.count) << c.first;
    EXPECT_EQ(formatDateTime(bars.front().dateTime), formatDateTime(at(c.firstBar))) << c.first;
    EXPECT_LE(bars.back().dateTime, span.last);
  }
}

}  // namespace
