// When a chart run calls the study and on which bars: the default span
// starts on the last weekday before today, synthetic bars start at 09:00 (or
// an hour before an early first call) and reach the last call.
#include <gtest/gtest.h>

#include "tools/chart/run/call_span.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::run;

namespace {

HostDateTime at(const char* text) { return support::readDateTime(text).value(); }

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
    const CallSpan span = callSpanOf(ClockSettings{}, at(c.today));
    EXPECT_EQ(support::formatDateTime(span.first), support::formatDateTime(at(c.first))) << c.today;
    EXPECT_EQ(span.last - span.first, 45 * kMicrosecondsPerMinute);
    EXPECT_EQ(span.calls(), 45 * 60 + 1);
  }
}

TEST(CallSpan, FollowsTheOptionsOrTheRealClock) {
  ClockSettings options;
  options.start = at("2026-03-02 10:00");
  options.end = at("2026-03-02 10:01");
  options.stepSeconds = 7;
  CallSpan span = callSpanOf(options, at("2030-01-01 00:00"));
  EXPECT_EQ(span.first, *options.start);
  EXPECT_EQ(span.calls(), 9);  // 0, 7, ..., 56 seconds
  ClockSettings real;
  real.realClockSeconds = 2.5;
  span = callSpanOf(real, at("2026-03-02 10:00"));
  EXPECT_EQ(span.first, at("2026-03-02 10:00"));
  EXPECT_EQ(span.last, at("2026-03-02 10:00") + 2500000);
}

TEST(CallSpan, EndsAtAnEndThatComesBeforeTheDefaultStart) {
  struct Case {
    const char* end;
    const char* first;
  };
  const Case cases[] = {
      {"2026-03-02 11:00", "2026-03-02 10:15"},  // an earlier day: the 45 minutes before it
      {"2026-03-09 10:00", "2026-03-09 09:15"},  // the default day, before 10:15
      {"2026-03-09 12:00", "2026-03-09 10:15"},  // after the default start: from there
  };
  for (const Case& c : cases) {
    ClockSettings options;
    options.end = at(c.end);
    const CallSpan span = callSpanOf(options, at("2026-03-10 08:00"));
    EXPECT_EQ(support::formatDateTime(span.first), support::formatDateTime(at(c.first))) << c.end;
    EXPECT_EQ(span.last, at(c.end));
  }
}

// Minute bars from 09:00 to 10:21 on Monday 2026-03-02.
std::vector<Bar> mondayBars() {
  std::vector<Bar> bars;
  for (HostDateTime t = at("2026-03-02 09:00"); t <= at("2026-03-02 10:21"); t += kMicrosecondsPerMinute)
    bars.push_back(Bar{t, 10, 11, 9, 10, 5});
  return bars;
}

TEST(SpanAndBars, RefusesCallsThatNeverMeetTheBarsAndWarnsOfCallsBeforeThem) {
  struct Case {
    const char* first;
    const char* last;
    bool endGiven;
    bool realClock;
    const char* error;
    const char* warning;
  };
  const Case cases[] = {
      {"2026-03-02 10:15", "2026-03-02 10:20", true, false, "", ""},
      {"2026-03-02 10:00", "2026-03-02 12:00", true, false, "", ""},  // on past the last bar
      {"2026-03-02 10:22", "2026-03-02 10:30", true, false, "", ""},  // as the last bar ends
      {"2026-12-04 10:15", "2026-12-04 11:00", false, false,
       "the calls (2026-12-04 10:15 to 11:00) and the bars (2026-03-02 09:00 to 10:21) do not meet; "
       "try --start \"2026-03-02 10:15\"", ""},
      {"2026-03-02 10:23", "2026-03-02 10:30", false, false, "do not meet; try --start \"2026-03-02 10:21\"", ""},
      {"2026-03-02 08:00", "2026-03-02 08:30", true, false,
       "the calls (2026-03-02 08:00 to 08:30) and the bars (2026-03-02 09:00 to 10:21) do not meet; "
       "try --start \"2026-03-02 09:00\" --end \"2026-03-02 09:30\"", ""},
      {"2026-03-01 23:00", "2026-03-02 08:59", true, false,
       "the calls (2026-03-01 23:00 to 2026-03-02 08:59) and", ""},
      {"2026-03-02 08:30", "2026-03-02 09:10", true, false, "",
       "the first bar is at 2026-03-02 09:00: the calls before it see an empty chart"},
      // The real clock shows every bar, and says when they are of another day.
      {"2026-12-04 10:15", "2026-12-04 11:00", false, true, "",
       "the bars end at 2026-03-02 10:21, long before now (2026-12-04 10:15): the service's levels of now are "
       "drawn beside past prices"},
      {"2026-03-02 11:15", "2026-03-02 12:00", false, true, "", ""},
  };
  const std::vector<Bar> bars = mondayBars();
  for (const Case& c : cases) {
    ClockSettings options;
    if (c.endGiven) options.end = at(c.last);
    options.realClockSeconds = c.realClock ? 60 : 0;
    const SpanAndBars found = checkSpanMeetsBars(options, CallSpan{at(c.first), at(c.last), kMicrosecondsPerSecond, {}}, bars);
    EXPECT_EQ(found.error.empty(), *c.error == '\0') << c.first << ": " << found.error;
    EXPECT_NE(found.error.find(c.error), std::string::npos) << found.error;
    EXPECT_EQ(found.warning, c.warning) << c.first;
  }
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
      // On the real clock the newest bar is the one forming at the first call.
      {"2026-03-02 10:15:30", "2026-03-02 10:16:10", true, "2026-03-02 08:16", 120},
  };
  for (const Case& c : cases) {
    ClockSettings clock;
    clock.realClockSeconds = c.realClock ? 40 : 0;
    const CallSpan span{at(c.first), at(c.last), kMicrosecondsPerSecond, {}};
    BarText read;
    std::string error;
    ASSERT_TRUE(loadBars(ChartPlan{}, clock, Chart{}, span, read, error)) << error;
    const std::vector<Bar>& bars = read.bars;
    ASSERT_EQ(bars.size(), c.count) << c.first;
    EXPECT_EQ(support::formatDateTime(bars.front().dateTime), support::formatDateTime(at(c.firstBar))) << c.first;
    EXPECT_LE(bars.back().dateTime, c.realClock ? span.first : span.last);
  }
  // Made-up bars on the real clock form one more each bar period, the same walk.
  SyntheticBarsPlan plan{at("2026-03-02 10:00"), kMicrosecondsPerMinute, 3};
  SyntheticBarsFeed feed(plan);
  EXPECT_TRUE(feed.barsUpTo(at("2026-03-02 10:02:59")).empty());
  const std::vector<Bar> grown = feed.barsUpTo(at("2026-03-02 10:04:00"));
  ASSERT_EQ(grown.size(), 5u);
  EXPECT_EQ(grown[2].close, makeSyntheticBars(plan)[2].close);
  EXPECT_TRUE(feed.barsUpTo(at("2026-03-02 10:04:30")).empty());
}

}  // namespace
