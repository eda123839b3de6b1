#include "study/date_time.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tarvio;

namespace {

constexpr int64_t kUs = 1000000;
constexpr HostDateTime kEpoch = 25569 * kMicrosecondsPerDay;  // 1970-01-01 00:00
constexpr HostDateTime kMax = std::numeric_limits<HostDateTime>::max();
constexpr HostDateTime kMin = std::numeric_limits<HostDateTime>::min();

TEST(DateTimeTest, HostDateTimeToUnixSecondsTruncatesTowardZero) {
  const struct {
    HostDateTime time;
    int64_t seconds;
  } cases[] = {
      {kEpoch, 0},
      {kEpoch + kUs / 2, 0},
      {kEpoch - kUs / 2, 0},
      {kEpoch + 3 * kUs / 2, 1},
      {kEpoch - 3 * kUs / 2, -1},
      // A whole second that floating-point division would put just below.
      {kEpoch + 1994 * kUs, 1994},
      {kEpoch + 1700000000 * kUs, 1700000000},
      {0, -2209161600},
      {-kUs / 2, -2209161600},
      {-3 * kUs / 2, -2209161601},
      {kMax, 9223372036854 - 2209161600},
      {kMin, -9223372036854 - 2209161600},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HostDateTimeToUnixSeconds(c.time), c.seconds) << c.time;
  }
}

TEST(DateTimeTest, UnixSecondsToHostDateTimeKeepsZeroAndSaturates) {
  const struct {
    int64_t seconds;
    HostDateTime time;
  } cases[] = {
      {0, 0},
      {1, 2209161600000000 + 1000000},
      {-1, 2209161600000000 - 1000000},
      {1700000000, kEpoch + 1700000000 * kUs},
      {std::numeric_limits<int64_t>::max(), kMax},
      {std::numeric_limits<int64_t>::min(), kMin},
      {9223372036854 - 2209161600, kEpoch + (9223372036854 - 2209161600) * kUs},
      {9223372036854 - 2209161600 + 1, kMax},
      {-9223372036854, -9223372036854 * kUs + kEpoch},
      {-9223372036855, kMin},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnixSecondsToHostDateTime(c.seconds), c.time) << c.seconds;
  }
}

TEST(DateTimeTest, WholeSecondsRoundTrip) {
  // 1900 to about 2100 in steps that hit all residues of the day length.
  for (int64_t s = -2208988800; s < 4102444800; s += 40009) {
    if (s == 0) continue;
    ASSERT_EQ(HostDateTimeToUnixSeconds(UnixSecondsToHostDateTime(s)), s);
  }
}

TEST(DateTimeTest, DayNumberAndWeekday) {
  const struct {
    HostDateTime time;
    int64_t day;
    int32_t weekday;
  } cases[] = {
      {kMicrosecondsPerDay - 1, 0, 6},              // 1899-12-30, Saturday
      {45474 * kMicrosecondsPerDay + 5, 45474, 1},  // 2024-07-01, Monday
      {-kMicrosecondsPerDay - 1, -1, 5},            // 1899-12-29, Friday
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dayNumberOf(c.time), c.day) << c.time;
    EXPECT_EQ(weekdayOfDayNumber(c.day), c.weekday) << c.day;
  }
}

}  // namespace
