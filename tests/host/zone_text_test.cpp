// ZoneText against the system's time-zone database: for the zones of the
// study's table whose rules the database still follows, every instant checked
// must give the same wall clock and daylight flag, and wall clocks must map
// back to the same instants.
#include "host/zone_text.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "study/time_zone_table.h"

using namespace chart_host;
using namespace tarvio;

namespace {

constexpr int64_t kUsPerSecond = 1000000;
constexpr int64_t kUnixEpochSeconds = 25569LL * 86400;

HostDateTime hostTimeOfUnix(int64_t unixSeconds) {
  return (unixSeconds + kUnixEpochSeconds) * kUsPerSecond;
}

// Sets TZ for the lifetime of the object and puts back what was there.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> saved_;
};

// What the database says about one instant.
struct Reference {
  HostDateTime local;
  bool daylight;
  int64_t offsetSeconds;
};

Reference referenceAt(int64_t unixSeconds) {
  const time_t t = static_cast<time_t>(unixSeconds);
  struct tm fields {};
  localtime_r(&t, &fields);
  return {hostTimeOfUnix(unixSeconds + fields.tm_gmtoff), fields.tm_isdst > 0, fields.tm_gmtoff};
}

// The instant a wall clock stands for under the rule ZoneText documents,
// judged by the database: the standard reading when it is a real wall-clock
// time, else the daylight reading when that is one, else (a skipped time) the
// standard reading.
int64_t expectedUnixOfLocal(int64_t localUnixSeconds, int64_t standardOffsetSeconds,
                            int64_t daylightOffsetSeconds) {
  const int64_t asStandard = localUnixSeconds - standardOffsetSeconds;
  if (referenceAt(asStandard).offsetSeconds == standardOffsetSeconds) return asStandard;
  const int64_t asDaylight = localUnixSeconds - daylightOffsetSeconds;
  if (referenceAt(asDaylight).offsetSeconds == daylightOffsetSeconds) return asDaylight;
  return asStandard;
}

struct DatabaseZone {
  const char* name;
  int32_t tableIndex;
  int64_t standardOffsetSeconds;
  int64_t daylightOffsetSeconds;  // equal to the standard offset without daylight time
};

void PrintTo(const DatabaseZone& zone, std::ostream* out) { *out << zone.name; }

// Years in which the table's rules are the database's rules for these zones.
constexpr int64_t kFirstUnixSecond = 1546300800;  // 2019-01-01 00:00 UTC
constexpr int64_t kEndUnixSecond = 1924992000;    // 2031-01-01 00:00 UTC

class ZoneTextDatabaseTest : public ::testing::TestWithParam<DatabaseZone> {};

TEST_P(ZoneTextDatabaseTest, AgreesWithTheDatabaseAcrossYearsAndSwitches) {
  const DatabaseZone& param = GetParam();
  std::string error;
  const std::optional<ZoneText> zone = ZoneText::parse(TimeZoneTable[param.tableIndex], &error);
  ASSERT_TRUE(zone) << error;
  ScopedTimeZone scoped(param.name);

  int64_t checked = 0;
  auto checkInstant = [&](int64_t unixSeconds) {
    const Reference reference = referenceAt(unixSeconds);
    const HostDateTime utc = hostTimeOfUnix(unixSeconds);
    ASSERT_EQ(zone->fromUtc(utc), reference.local) << param.name << " at unix " << unixSeconds;
    ASSERT_EQ(zone->isDaylightAt(utc), reference.daylight) << param.name << " at unix " << unixSeconds;
    const int64_t localUnix = unixSeconds + reference.offsetSeconds;
    const int64_t expected =
        expectedUnixOfLocal(localUnix, param.standardOffsetSeconds, param.daylightOffsetSeconds);
    ASSERT_EQ(zone->toUtc(reference.local), hostTimeOfUnix(expected))
        << param.name << " back from local of unix " << unixSeconds;
    ++checked;
  };

  // Every 7 h 13 min 17 s: an odd step that visits all hours, minutes and
  // weekdays over the years.
  for (int64_t s = kFirstUnixSecond; s < kEndUnixSecond; s += 7 * 3600 + 13 * 60 + 17) {
    ASSERT_NO_FATAL_FAILURE(checkInstant(s));
  }

  // Every switch the database knows of in these years, found hour by hour,
  // and each minute from two hours before it to two hours after.
  int64_t switches = 0;
  int64_t previousOffset = referenceAt(kFirstUnixSecond).offsetSeconds;
  for (int64_t hour = kFirstUnixSecond + 3600; hour < kEndUnixSecond; hour += 3600) {
    const int64_t offset = referenceAt(hour).offsetSeconds;
    if (offset == previousOffset) continue;
    previousOffset = offset;
    ++switches;
    for (int64_t s = hour - 3 * 3600; s <= hour + 2 * 3600; s += 60) {
      ASSERT_NO_FATAL_FAILURE(checkInstant(s));
      ASSERT_NO_FATAL_FAILURE(checkInstant(s + 59));
    }
    // Wall-clock times around the switch, skipped and repeated ones included.
    const int64_t localAtSwitch = hour + offset;
    for (int64_t local = localAtSwitch - 3 * 3600; local <= localAtSwitch + 3 * 3600; local += 60) {
      const int64_t expected =
          expectedUnixOfLocal(local, param.standardOffsetSeconds, param.daylightOffsetSeconds);
      ASSERT_EQ(zone->toUtc(hostTimeOfUnix(local)), hostTimeOfUnix(expected))
          << param.name << " local unix " << local;
      ++checked;
    }
  }
  const bool hasDaylight = param.standardOffsetSeconds != param.daylightOffsetSeconds;
  EXPECT_EQ(switches, hasDaylight ? 24 : 0) << param.name;
  EXPECT_GT(checked, 14000);
}

INSTANTIATE_TEST_SUITE_P(
    TableZones, ZoneTextDatabaseTest,
    ::testing::Values(DatabaseZone{"America/New_York", 7, -5 * 3600, -4 * 3600},
                      DatabaseZone{"America/Chicago", 6, -6 * 3600, -5 * 3600},
                      DatabaseZone{"Europe/London", 10, 0, 3600},
                      DatabaseZone{"Europe/Berlin", 11, 3600, 2 * 3600},
                      DatabaseZone{"Australia/Sydney", 25, 10 * 3600, 11 * 3600},
                      DatabaseZone{"Pacific/Auckland", 27, 12 * 3600, 13 * 3600},
                      DatabaseZone{"Asia/Kolkata", 19, 19800, 19800}));

// The C library applies a rule-only zone to every year from 1970 on, which
// checks the calendar arithmetic far beyond the years the database covers.
TEST(ZoneTextTest, AppliesItsRulesToDistantYearsLikeTheCLibrary) {
  struct Case {
    const char* zoneText;
    const char* libraryZone;  // the same zone in the C library's notation (west positive)
  };
  const Case cases[] = {
      {TimeZoneTable[7], "EST5EDT,M3.2.0/2,M11.1.0/2"},
      {TimeZoneTable[25], "AEST-10AEDT,M10.1.0/2,M4.1.0/3"},
      {TimeZoneTable[13], "EET-2EEST,M3.5.0/3,M10.5.0/4"},
      {"JST9", "JST-9"},
      {"NST-03:30NDT,M3.2.0,M11.1.0", "NST3:30NDT,M3.2.0,M11.1.0"},
  };
  for (const Case& c : cases) {
    const std::optional<ZoneText> zone = ZoneText::parse(c.zoneText);
    ASSERT_TRUE(zone) << c.zoneText;
    ScopedTimeZone scoped(c.libraryZone);
    // 1970 to about 2400, in steps of 3 days 5 h 7 min.
    for (int64_t s = 0; s < 13'500'000'000LL; s += 3 * 86400 + 5 * 3600 + 7 * 60) {
      const Reference reference = referenceAt(s);
      ASSERT_EQ(zone->fromUtc(hostTimeOfUnix(s)), reference.local) << c.libraryZone << " " << s;
    }
  }
}

TEST(ZoneTextTest, ExtremeValuesSaturateInsteadOfWrapping) {
  constexpr HostDateTime kMax = std::numeric_limits<HostDateTime>::max();
  constexpr HostDateTime kMin = std::numeric_limits<HostDateTime>::min();
  // Offsets reach two days at most; a wrapped result would land at the far end.
  constexpr HostDateTime kSlack = 4 * kMicrosecondsPerDay;
  for (const char* text : {TimeZoneTable[7], TimeZoneTable[27], "W-24X-24,M1.1.0,M12.5.6/24",
                           "E+24F+24,M1.1.0,M12.5.6/24"}) {
    const std::optional<ZoneText> zone = ZoneText::parse(text);
    ASSERT_TRUE(zone) << text;
    for (HostDateTime value : {kMax, kMax - 1, kMax - kMicrosecondsPerDay}) {
      EXPECT_GE(zone->fromUtc(value), kMax - kSlack) << text;
      EXPECT_GE(zone->toUtc(value), kMax - kSlack) << text;
    }
    for (HostDateTime value : {kMin, kMin + 1, kMin + kMicrosecondsPerDay}) {
      EXPECT_LE(zone->fromUtc(value), kMin + kSlack) << text;
      EXPECT_LE(zone->toUtc(value), kMin + kSlack) << text;
    }
  }
}

TEST(ZoneTextTest, RejectsMalformedTextsWithAMessage) {
  const std::string_view cases[] = {
      "", "garbage", "EST", "-05", "EST-05x", "EST--05", "EST-05:", "EST-05:7", "EST-25",
      "IST+05:60", "EST-99999999999999999999", "EST-05EDT", "EST-05EDT+01",
      "EST-05EDT+01,M3.2.0/02:00", "EST-05EDT+01,M3.2.0/02:00,M11.1",
      "EST-05EDT+01,M3.2.0/02:00,M11.1.0/", "EST-05EDT+01,M13.2.0/02:00,M11.1.0/02:00",
      "EST-05EDT+01,M0.2.0/02:00,M11.1.0/02:00", "EST-05EDT+01,M3.0.0/02:00,M11.1.0/02:00",
      "EST-05EDT+01,M3.6.0/02:00,M11.1.0/02:00", "EST-05EDT+01,M3.2.7/02:00,M11.1.0/02:00",
      "EST-05EDT+01,M3.2.0/25:00,M11.1.0/02:00", "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00,",
      "EST-05EDT+01,J60/02:00,M11.1.0/02:00", "EST-05EDT+01,M99999999999.2.0,M11.1.0",
      std::string_view("UTC+00\0", 7), "UTC\xff+00",
  };
  for (std::string_view text : cases) {
    std::string error;
    EXPECT_FALSE(ZoneText::parse(text, &error)) << '"' << text << '"';
    EXPECT_FALSE(error.empty()) << '"' << text << '"';
  }
}

TEST(ZoneTextTest, AcceptsEveryTableTextAndSurvivesArbitraryBytes) {
  for (int32_t index = 1; index < kTimeZoneCount - 1; ++index) {
    std::string error;
    EXPECT_TRUE(ZoneText::parse(TimeZoneTable[index], &error)) << TimeZoneTable[index] << ": " << error;
  }
  // Mutations of a valid text; each must parse or fail cleanly.
  std::mt19937 random(12345);
  const std::string base = TimeZoneTable[25];
  const std::string alphabet = "+-:,./M0123456789ESTDJ\x80 ";
  for (int round = 0; round < 20000; ++round) {
    std::string text = base;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const std::size_t at = random() % text.size();
      const char c = alphabet[random() % alphabet.size()];
      switch (random() % 3) {
        case 0: text[at] = c; break;
        case 1: text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c); break;
        default: text.erase(at, 1 + random() % 5); break;
      }
    }
    std::string error;
    const std::optional<ZoneText> zone = ZoneText::parse(text, &error);
    if (zone) {
      const HostDateTime local = zone->fromUtc(45000 * kMicrosecondsPerDay);
      (void)zone->toUtc(local);
    } else {
      EXPECT_FALSE(error.empty()) << text;
    }
  }
}

}  // namespace
