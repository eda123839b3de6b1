#include "study/request_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/zone_text.h"
#include "study/study_inputs.h"

using namespace chart_host;
using namespace tarvio;

namespace {

constexpr int64_t kUsPerSecond = 1000000;
// 2024-07-01 (daylight time in New York) and 2024-01-15 (standard time).
constexpr HostDateTime kSummerDay = 45474 * kMicrosecondsPerDay;
constexpr HostDateTime kWinterDay = 45306 * kMicrosecondsPerDay;

constexpr double dayFraction(int hours, int minutes) { return (hours * 60 + minutes) / 1440.0; }

HostDateTime wallClock(HostDateTime day, int hours, int minutes, int seconds) {
  return day + ((hours * 60LL + minutes) * 60 + seconds) * kUsPerSecond;
}

// The zone text of the last conversion, for checking what reached the host.
std::string gLastZoneText;

// A host whose charts run on UTC; the empty text means the chart's own zone.
void convertFromUtcChart(HostDateTime& out, const HostDateTime& in, const char* zoneText) {
  gLastZoneText = zoneText;
  const std::optional<ZoneText> zone = ZoneText::parse(zoneText);
  out = zone ? zone->fromUtc(in) : in;
}

// A study record with all inputs at the window's defaults.
class RequestWindowTest : public ::testing::Test {
 protected:
  RequestWindowTest() : inputs(kInputCount) {
    for (HostInput& input : inputs) input.timeZoneIndex = -1;
    setZone(7);
    setTimeOfDay(kRequestStartTimeInput, 0.3958333333333333);  // 09:30
    setTimeOfDay(kRequestEndTimeInput, 0.9583333333333334);    // 23:00
    sc.inputs = inputs.data();
    sc.inputCount = static_cast<int32_t>(inputs.size());
    sc.ops.HostConvertToTimeZone = convertFromUtcChart;
  }

  void setZone(int32_t index) {
    inputs[kTimeZoneInput].kind = kInputTimeZone;
    inputs[kTimeZoneInput].intValue = index;
  }

  void setTimeOfDay(int32_t index, double value) {
    inputs[index].kind = kInputTimeOfDay;
    inputs[index].dateTimeValue = value;
  }

  // Whether the window holds the given wall-clock time in New York.
  bool inWindowAtNewYork(HostDateTime day, int hours, int minutes, int seconds) {
    sc.currentDateTime = newYork.toUtc(wallClock(day, hours, minutes, seconds));
    return inRequestWindow(sc);
  }

  std::vector<HostInput> inputs;
  HostStudyInterface sc{};
  ZoneText newYork = *ZoneText::parse("EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00");
};

TEST_F(RequestWindowTest, WindowEndsAreInclusiveInTheSelectedZone) {
  const struct {
    HostDateTime day;
    int hours, minutes, seconds;
    bool inside;
  } cases[] = {
      {kSummerDay, 9, 29, 59, false}, {kSummerDay, 9, 30, 0, true}, {kSummerDay, 23, 0, 0, true},
      {kSummerDay, 23, 0, 1, false},  {kWinterDay, 9, 30, 0, true}, {kWinterDay, 23, 0, 1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(inWindowAtNewYork(c.day, c.hours, c.minutes, c.seconds), c.inside)
        << c.day / kMicrosecondsPerDay << " " << c.hours << ":" << c.minutes << ":" << c.seconds;
  }
  EXPECT_EQ(gLastZoneText, "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00");
}

TEST_F(RequestWindowTest, StartAndEndCombinations) {
  const struct {
    const char* label;
    double start;
    double end;
    int hours, minutes, seconds;
    bool inside;
  } cases[] = {
      {"start after end, late", dayFraction(22, 0), dayFraction(2, 0), 23, 0, 0, false},
      {"start after end, early", dayFraction(22, 0), dayFraction(2, 0), 1, 0, 0, false},
      {"start at midnight", 0.0, dayFraction(23, 0), 0, 0, 0, true},
      {"both at midnight, midnight", 0.0, 0.0, 0, 0, 0, true},
      {"both at midnight, a second later", 0.0, 0.0, 0, 0, 1, false},
      {"end at midnight", dayFraction(9, 30), 0.0, 9, 30, 0, false},
      {"a full day wraps to midnight", 0.0, 1.0, 0, 0, 1, false},
  };
  for (const auto& c : cases) {
    setTimeOfDay(kRequestStartTimeInput, c.start);
    setTimeOfDay(kRequestEndTimeInput, c.end);
    EXPECT_EQ(inWindowAtNewYork(kSummerDay, c.hours, c.minutes, c.seconds), c.inside) << c.label;
  }
}

TEST_F(RequestWindowTest, StartIsReadFromAnyDateOrTimeKindButEndOnlyFromTimeOfDay) {
  // A date-time start counts by its time of day (12:00 here).
  inputs[kRequestStartTimeInput].kind = kInputDateTime;
  inputs[kRequestStartTimeInput].dateTimeValue = 45000.5;
  EXPECT_FALSE(inWindowAtNewYork(kSummerDay, 11, 59, 59));
  EXPECT_TRUE(inWindowAtNewYork(kSummerDay, 12, 0, 0));

  // A start that is not a date or time counts as midnight.
  inputs[kRequestStartTimeInput].kind = kInputInteger;
  inputs[kRequestStartTimeInput].intValue = 50000;
  EXPECT_TRUE(inWindowAtNewYork(kSummerDay, 0, 0, 0));

  // The end goes through the date-time reader, which reads other kinds as 0.
  inputs[kRequestEndTimeInput].kind = kInputDateTime;
  inputs[kRequestEndTimeInput].dateTimeValue = 45000.75;
  EXPECT_TRUE(inWindowAtNewYork(kSummerDay, 0, 0, 0));
  EXPECT_FALSE(inWindowAtNewYork(kSummerDay, 0, 0, 1));
}

TEST_F(RequestWindowTest, ZoneOutsideTheTableHandsTheHostTheEmptyText) {
  for (int32_t index : {0, 28, 29, -1}) {
    setZone(index);
    gLastZoneText = "unchanged";
    // The host above judges the empty text in the chart's zone, UTC.
    sc.currentDateTime = wallClock(kSummerDay, 9, 30, 0);
    EXPECT_TRUE(inRequestWindow(sc)) << index;
    EXPECT_EQ(gLastZoneText, "") << index;
    sc.currentDateTime = wallClock(kSummerDay, 23, 0, 1);
    EXPECT_FALSE(inRequestWindow(sc)) << index;
  }
  setZone(19);  // Kolkata, UTC+05:30 all year
  sc.currentDateTime = wallClock(kSummerDay, 4, 0, 0);
  EXPECT_TRUE(inRequestWindow(sc));
  EXPECT_EQ(gLastZoneText, "IST+05:30");
}

}  // namespace
