// The host's date-time as text, and its days counted by flooring: one rule
// for the programs and the recording, the same calendar as the chart host's.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/civil_calendar.h"
#include "tools/support/date_time_text.h"

namespace {

constexpr HostDateTime kDay20260302 = 46083LL * kMicrosecondsPerDay;

TEST(DateTimeText, CountsDaysAsTheChartHostsCalendarDoesBeforeTheEpochToo) {
  EXPECT_EQ(support::kDayNumberOf1970, chart_host::dayNumberOfDate(1970, 1, 1));
  // One microsecond before 1899-12-30 is on the day before it, not on day 0.
  EXPECT_EQ(support::dayNumberOf(-1), -1);
  EXPECT_EQ(support::startOfDay(-1), -kMicrosecondsPerDay);
  EXPECT_EQ(support::formatDateTime(-1), "1899-12-29 23:59:59");
  EXPECT_EQ(support::startOfDay(INT64_MIN + 1), INT64_MIN);
  constexpr HostDateTime kFarthest = INT64_MAX / kMicrosecondsPerDay * kMicrosecondsPerDay;
  for (const HostDateTime time : {INT64_MIN + 0, -kFarthest, -kMicrosecondsPerDay * 146097 * 5 - 7, HostDateTime{0},
                                  kDay20260302 + 12345, kMicrosecondsPerDay * 2958465 + 1, kFarthest, INT64_MAX}) {
    EXPECT_EQ(support::dayNumberOf(time), chart_host::dayNumberOf(time)) << time;
    const chart_host::CivilDate date = chart_host::dateOfDayNumber(chart_host::dayNumberOf(time));
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(date.year), date.month, date.day);
    EXPECT_EQ(support::formatDateTime(time).substr(0, support::formatDateTime(time).size() - 9), text) << time;
  }
  for (int64_t day = -800000; day < 3000000; day += 997) {
    const chart_host::CivilDate date = chart_host::dateOfDayNumber(day);
    EXPECT_EQ(support::timeOfDate(date.year, date.month, date.day), day * kMicrosecondsPerDay) << day;
  }
}

TEST(DateTimeText, ReadsOnlyRealDatesAndTimes) {
  const struct {
    const char* text;
    std::optional<HostDateTime> time;
  } cases[] = {
      {"2026-03-02 09:30", kDay20260302 + 9 * kMicrosecondsPerHour + 30 * kMicrosecondsPerMinute},
      {"2026/03/02T09:30:00.5", kDay20260302 + 9 * kMicrosecondsPerHour + 30 * kMicrosecondsPerMinute + 500000},
      {"2026-03-02", kDay20260302},
      {"2024-02-29", (46083LL - 732) * kMicrosecondsPerDay},
      {"2026-02-29", std::nullopt}, {"2026-13-01", std::nullopt}, {"1899-12-31", std::nullopt},
      {"2026-03/02", std::nullopt}, {"2026-03-02 24:00", std::nullopt}, {"2026-03-02 09:30:00.1234567", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(support::readDateTime(c.text), c.time) << c.text;
}

TEST(ExactDateTime, WritesAndReadsEveryMicrosecond) {
  const struct {
    HostDateTime time;
    const char* text;
  } cases[] = {
      {kDay20260302 + 10 * kMicrosecondsPerHour + 15 * kMicrosecondsPerMinute, "2026-03-02 10:15:00.000000"},
      {kDay20260302 + kMicrosecondsPerDay - 1, "2026-03-02 23:59:59.999999"},
      {0, "1899-12-30 00:00:00.000000"},
      {-1, "1899-12-29 23:59:59.999999"},
      {(59LL + 1) * kMicrosecondsPerDay, "1900-02-28 00:00:00.000000"},
      {kDay20260302 - 2 * kMicrosecondsPerDay + 7, "2026-02-28 00:00:00.000007"},
      {(46083LL - 732) * kMicrosecondsPerDay, "2024-02-29 00:00:00.000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(support::formatExactDateTime(c.time).value_or("nothing"), c.text);
    EXPECT_EQ(support::readExactDateTime(c.text).value_or(-999), c.time) << c.text;
  }
  EXPECT_TRUE(support::formatExactDateTime(support::readExactDateTime("0001-01-01 00:00:00.000000").value()));
  EXPECT_FALSE(support::formatExactDateTime(*support::readExactDateTime("0001-01-01 00:00:00.000000") - 1));
  EXPECT_TRUE(support::formatExactDateTime(support::readExactDateTime("9999-12-31 23:59:59.999999").value()));
  EXPECT_FALSE(support::formatExactDateTime(*support::readExactDateTime("9999-12-31 23:59:59.999999") + 1));
  EXPECT_FALSE(support::formatExactDateTime(INT64_MIN));
  EXPECT_FALSE(support::formatExactDateTime(INT64_MAX));
}

TEST(ExactDateTime, RefusesWhatIsNoTime) {
  for (const char* text : {"", "2026-03-02 10:15:00", "2026-03-02 10:15:00.00000", "2026-03-02T10:15:00.000000",
                           "2026-02-29 10:15:00.000000", "2026-13-02 10:15:00.000000", "2026-03-00 10:15:00.000000",
                           "0000-03-02 10:15:00.000000", "2026-03-02 24:00:00.000000", "2026-03-02 10:60:00.000000",
                           "2026-03-02 10:15:60.000000", "2026-03-02 10:15:00.-00000", "+026-03-02 10:15:00.000000",
                           "2026-03-02 10:15:00.0000000"})
    EXPECT_FALSE(support::readExactDateTime(text)) << text;
}

}  // namespace
