// Each zone name names the table entry whose rules are its own: the entry's
// zone text against the system's zone database through 2026. POSIX only (it
// reads the database through TZ and localtime_r).
#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "host/zone_text.h"
#include "study/time_zone_table.h"
#include "tools/chart/inputs/zone_names.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::inputs;

namespace {

// Seconds east of UTC the system's zone database gives `zone` at the instant.
int64_t databaseOffsetSeconds(const std::string& zone, int64_t unixSeconds) {
  const char* previous = std::getenv("TZ");
  const std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
  setenv("TZ", zone.c_str(), 1);
  tzset();
  const time_t instant = static_cast<time_t>(unixSeconds);
  struct tm fields {};
  localtime_r(&instant, &fields);
  if (saved) {
    setenv("TZ", saved->c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  return fields.tm_gmtoff;
}

TEST(ZoneNames, EachNamesTheEntryWithItsZonesRules) {
  constexpr int64_t kUnix2026 = 1767225600;  // 2026-01-01 00:00 UTC
  constexpr int64_t kUsPerSecond = 1000000;
  constexpr int64_t kUnixEpochUs = 25569LL * 86400 * kUsPerSecond;
  for (int32_t index = 0; index < tarvio::kTimeZoneCount; ++index) {
    const std::string name(timeZoneDatabaseName(index));
    const std::string text = tarvio::TimeZoneTable[index];
    if (name.empty()) {
      EXPECT_TRUE(text.empty()) << index;
      continue;
    }
    EXPECT_EQ(timeZoneIndexOfName(name), index) << name;
    const std::optional<ZoneText> zone = ZoneText::parse(text);
    ASSERT_TRUE(zone) << text;
    // Noon UTC every 13 days of the year, both sides of every switch.
    for (int64_t unix = kUnix2026 + 12 * 3600; unix < kUnix2026 + 365 * 86400; unix += 13 * 86400) {
      const HostDateTime utc = unix * kUsPerSecond + kUnixEpochUs;
      EXPECT_EQ((zone->fromUtc(utc) - utc) / kUsPerSecond, databaseOffsetSeconds(name, unix)) << name << " " << unix;
    }
  }
}

}  // namespace
