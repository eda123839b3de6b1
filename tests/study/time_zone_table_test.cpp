#include "study/time_zone_table.h"

#include <gtest/gtest.h>

using namespace tarvio;


namespace {

HostInput zoneInput(HostInputKind kind, int32_t value, int32_t carriedZone) {
  HostInput input{};
  input.kind = kind;
  input.intValue = value;
  input.timeZoneIndex = carriedZone;
  return input;
}

TEST(TimeZoneTableTest, SelectsTheTextOfTheInputsZoneIndex) {
  const struct {
    const char* label;
    HostInput input;
    const char* expected;
  } cases[] = {
      {"default New York", zoneInput(kInputTimeZone, 7, -1), kNewYorkZoneText},
      {"first text", zoneInput(kInputTimeZone, 1, -1), "HST-10"},
      {"last text", zoneInput(kInputTimeZone, 27, -1), "NZST+12NZDT+01,M9.5.0/02:00,M4.1.0/03:00"},
      {"empty entry 0", zoneInput(kInputTimeZone, 0, -1), ""},
      {"empty entry 28", zoneInput(kInputTimeZone, 28, -1), ""},
      {"past the table", zoneInput(kInputTimeZone, 29, -1), ""},
      {"negative", zoneInput(kInputTimeZone, -1, -1), ""},
      {"most negative", zoneInput(kInputTimeZone, INT32_MIN, -1), ""},
      {"date-time carrying a zone", zoneInput(kInputDateTime, 3, 9), "UTC+00"},
      {"date-time carrying none", zoneInput(kInputDateTime, 3, -1), ""},
      {"date-time carrying 29", zoneInput(kInputDateTime, 3, 29), ""},
      {"time zone ignores the carried zone", zoneInput(kInputTimeZone, 19, 9), "IST+05:30"},
      {"list has no zone", zoneInput(kInputList, 7, 7), ""},
      {"integer has no zone", zoneInput(kInputInteger, 7, 7), ""},
      {"date has no zone", zoneInput(kInputDate, 7, 7), ""},
  };
  for (const auto& c : cases) {
    const char* text = zoneTextForInput(c.input);
    ASSERT_NE(text, nullptr) << c.label;
    EXPECT_STREQ(text, c.expected) << c.label;
  }
}

}  // namespace
