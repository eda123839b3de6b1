// The names a person types for the study's time zones: each names its table
// entry in any case and with blanks or underscores, and a miss suggests the
// closest names.
#include "tools/chart/inputs/zone_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/zone_text.h"
#include "study/time_zone_table.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::inputs;

namespace {

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
