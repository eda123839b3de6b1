// The host's calendar: known dates, a day-by-day walk checked against a plain
// reading of the Gregorian rules, the weekday rules of zone switches, and the
// far years a HostDateTime reaches beyond std::chrono's own years.
#include "host/civil_calendar.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

using namespace chart_host;

namespace chart_host {
std::ostream& operator<<(std::ostream& out, const CivilDate& date) {
  return out << date.year << '-' << date.month << '-' << date.day;
}
}  // namespace chart_host

namespace {

bool isLeap(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t lengthOfMonth(int64_t year, int32_t month) {
  constexpr int32_t kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kLengths[month - 1];
}

CivilDate nextDay(CivilDate date) {
  if (date.day < lengthOfMonth(date.year, date.month)) return {date.year, date.month, date.day + 1};
  if (date.month < 12) return {date.year, date.month + 1, 1};
  return {date.year + 1, 1, 1};
}

TEST(CivilCalendar, KnowsDatesAndWeekdaysOfKnownDays) {
  struct Case {
    CivilDate date;
    int64_t dayNumber;
    int32_t weekday;
  };
  const Case cases[] = {
      {{1899, 12, 30}, 0, 6},       {{1899, 12, 29}, -1, 5},     {{1900, 1, 1}, 2, 1},
      {{1900, 3, 1}, 61, 4},        {{1970, 1, 1}, 25569, 4},    {{2000, 2, 29}, 36585, 2},
      {{2026, 3, 2}, 46083, 1},     {{1600, 3, 1}, -109511, 3},  {{2400, 12, 31}, 182988, 0},
      {{1, 1, 1}, -693593, 1},      {{0, 12, 31}, -693594, 0},   {{-1, 3, 1}, -694265, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dayNumberOfDate(c.date.year, c.date.month, c.date.day), c.dayNumber) << c.date;
    EXPECT_EQ(dateOfDayNumber(c.dayNumber), c.date) << c.dayNumber;
    EXPECT_EQ(weekdayOfDayNumber(c.dayNumber), c.weekday) << c.date;
  }
  EXPECT_EQ(dayNumberOfDate(1970, 1, 1), kDayNumberOf1970);
  // A day past the end of its month counts on.
  EXPECT_EQ(dayNumberOfDate(2023, 2, 30), dayNumberOfDate(2023, 3, 2));
  EXPECT_EQ(dayNumberOfDate(2024, 2, 30), dayNumberOfDate(2024, 3, 1));
}

// Near us, around the years chrono ends at, and at the far ends of what a
// HostDateTime reaches: every day follows the one before it, reads back to
// its number and moves the weekday on by one.
TEST(CivilCalendar, WalksDayByDayThroughNearAndFarYears) {
  const int64_t kFarthestDay = std::numeric_limits<HostDateTime>::max() / kMicrosecondsPerDay;
  const int64_t starts[] = {dayNumberOfDate(1580, 1, 1), dayNumberOfDate(32700, 1, 1),
                            dayNumberOfDate(-32800, 1, 1), kFarthestDay - 3000, -kFarthestDay - 1};
  for (const int64_t start : starts) {
    const int64_t length = start == starts[0] ? 900 * 366 : 3000;
    CivilDate expected = dateOfDayNumber(start);
    int32_t weekday = weekdayOfDayNumber(start);
    for (int64_t day = start; day <= start + length; ++day) {
      const CivilDate date = dateOfDayNumber(day);
      ASSERT_EQ(date, expected) << "day " << day;
      ASSERT_EQ(dayNumberOfDate(date.year, date.month, date.day), day) << date;
      ASSERT_EQ(weekdayOfDayNumber(day), weekday) << date;
      expected = nextDay(date);
      weekday = (weekday + 1) % 7;
    }
  }
  // 400 years are 146097 days, whatever the year.
  for (const int64_t year : {-292000LL, -1LL, 0LL, 1999LL, 32767LL, 291000LL}) {
    EXPECT_EQ(dayNumberOfDate(year + 400, 7, 4) - dayNumberOfDate(year, 7, 4), 146097) << year;
  }
}

TEST(CivilCalendar, TellsRealDates) {
  struct Case {
    int64_t year;
    int32_t month, day;
    bool real;
  };
  const Case cases[] = {
      {2024, 2, 29, true},  {2023, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},
      {2026, 4, 30, true},  {2026, 4, 31, false}, {2026, 12, 31, true}, {2026, 13, 1, false},
      {2026, 0, 1, false},  {2026, 1, 0, false},  {2026, 1, 32, false}, {2026, 1, 288, false},
      {2026, 1, -1, false}, {100000, 2, 29, true}, {-4, 2, 29, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isRealDate(c.year, c.month, c.day), c.real) << c.year << '-' << c.month << '-' << c.day;
  }
}

TEST(CivilCalendar, FindsTheWeekdaysOfZoneSwitches) {
  struct Case {
    int64_t year;
    int32_t month, week, weekday;
    CivilDate expected;
  };
  const Case cases[] = {
      {2026, 3, 2, 0, {2026, 3, 8}},    // second Sunday of March
      {2026, 11, 1, 0, {2026, 11, 1}},  // the first day is the weekday itself
      {2026, 3, 5, 0, {2026, 3, 29}},   // last Sunday, a fifth one
      {2026, 10, 5, 0, {2026, 10, 25}}, // last Sunday, a fourth one
      {2026, 4, 1, 0, {2026, 4, 5}},
      {2024, 2, 5, 4, {2024, 2, 29}},   // last Thursday of a leap February
      {2023, 2, 5, 2, {2023, 2, 28}},
      {2026, 12, 5, 6, {2026, 12, 26}},
      {-290000, 3, 2, 0, {-290000, 3, 12}},  // as in 2000, 730 cycles later
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dateOfDayNumber(dayNumberOfWeekdayInMonth(c.year, c.month, c.week, c.weekday)),
              c.expected)
        << c.year << " M" << c.month << '.' << c.week << '.' << c.weekday;
  }
  // Every rule of a whole 400-year cycle lands on its weekday, in its month,
  // in its week; the last one is the last.
  for (int64_t year = 2000; year < 2400; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t week = 1; week <= 5; ++week) {
        for (int32_t weekday = 0; weekday < 7; ++weekday) {
          const int64_t day = dayNumberOfWeekdayInMonth(year, month, week, weekday);
          const CivilDate date = dateOfDayNumber(day);
          ASSERT_EQ(weekdayOfDayNumber(day), weekday);
          ASSERT_EQ(date.year, year);
          ASSERT_EQ(date.month, month);
          if (week < 5) {
            ASSERT_EQ((date.day - 1) / 7 + 1, week) << date;
          } else {
            ASSERT_GT(date.day + 7, lengthOfMonth(year, month)) << date;
          }
        }
      }
    }
  }
}

TEST(CivilCalendar, SplitsDateTimesIntoDaysAndTimesOfDay) {
  constexpr HostDateTime kMax = std::numeric_limits<HostDateTime>::max();
  constexpr HostDateTime kMin = std::numeric_limits<HostDateTime>::min();
  struct Case {
    HostDateTime value;
    int64_t day;
    int64_t microsecond;
  };
  const Case cases[] = {
      {0, 0, 0},
      {kMicrosecondsPerDay - 1, 0, kMicrosecondsPerDay - 1},
      {kMicrosecondsPerDay, 1, 0},
      {-1, -1, kMicrosecondsPerDay - 1},
      {-kMicrosecondsPerDay, -1, 0},
      {kMax, kMax / kMicrosecondsPerDay, kMax % kMicrosecondsPerDay},
      {kMin, kMin / kMicrosecondsPerDay - 1, kMin % kMicrosecondsPerDay + kMicrosecondsPerDay},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dayNumberOf(c.value), c.day) << c.value;
    EXPECT_EQ(microsecondOfDay(c.value), c.microsecond) << c.value;
  }
}

}  // namespace
