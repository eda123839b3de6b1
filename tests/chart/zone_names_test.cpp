// The names a person types for the study's time zones: each names the table
// entry whose rules are its own (checked against the system's zone database),
// in any case and with blanks or underscores, and a miss suggests the
// closest names.
#include "tools/chart/zone_names.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "host/zone_text.h"
#include "study/time_zone_table.h"

using namespace chart_host;
using namespace chart_tool;

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

TEST(ZoneNames, MatchInAnyCaseWithBlanksAndUnderscoresAlike) {
  const struct {
    const char* typed;
    int32_t index;  // -1: no zone
  } cases[] = {
      {"chicago", 6},          {"NEW_YORK", 7},    {"America/New York", 7}, {"  New   York ", 7},
      {"Etc/UTC", 9},          {"utc", 9},         {"asia/hong kong", 22},  {"Hong_Kong", 22},
      {"", -1},                {"Chicgo", -1},     {"America", -1},         {"America/Chicago/x", -1},
  };
  for (const auto& c : cases) {
    const std::optional<int32_t> index = timeZoneIndexOfName(c.typed);
    EXPECT_EQ(index.value_or(-1), c.index) << "'" << c.typed << "'";
  }
}

TEST(ZoneNames, AMissSuggestsTheClosestZonesByBothTheirNames) {
  const struct {
    const char* typed;
    const char* says;
  } cases[] = {
      {"Chicgo", "no time zone is named 'Chicgo'; did you mean 'Chicago' or 'America/Chicago'?"},
      {"New Yrok", "no time zone is named 'New Yrok'; did you mean 'New York' or 'America/New_York'?"},
      {"Pacific/Honlulu", "did you mean 'Honolulu' or 'Pacific/Honolulu'?"},
  };
  for (const auto& c : cases) {
    const std::string message = unknownTimeZoneMessage(c.typed);
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
  }
}

TEST(ChartZone, TakesANameOrAZoneText) {
  const struct {
    const char* typed;
    const char* text;  // null: refused
    const char* says;
  } cases[] = {
      {"America/Chicago", tarvio::TimeZoneTable[6], ""},
      {"UTC", tarvio::kUtcZoneText, ""},
      {"JST+09", "JST+09", ""},
      {"CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00", tarvio::TimeZoneTable[6], ""},
      {"Chicgo", nullptr, "no time zone is named 'Chicgo'; did you mean 'Chicago' or 'America/Chicago'?"},
      {"Mars+99", nullptr, ""},  // a zone text's own complaint, not a name's
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<std::string> text = chartZoneTextOf(c.typed, error);
    if (c.text) {
      EXPECT_EQ(text.value_or("(refused: " + error + ")"), c.text) << c.typed;
      continue;
    }
    EXPECT_FALSE(text) << c.typed;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_EQ(error.find("no time zone is named") == std::string::npos, *c.says == '\0') << error;
  }
}

}  // namespace
