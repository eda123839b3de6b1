#include "study/input_readers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace tarvio;

namespace {

char gTextBuffer[] = "abc";
char gEmptyBuffer[] = "";

HostInput makeInput(HostInputKind kind) {
  HostInput input{};
  input.kind = kind;
  input.timeZoneIndex = -1;
  return input;
}

HostInput intInput(HostInputKind kind, int32_t value) {
  HostInput input = makeInput(kind);
  input.intValue = value;
  return input;
}

HostInput floatInput(float value) {
  HostInput input = makeInput(kInputFloat);
  input.floatValue = value;
  return input;
}

HostInput timeOfDayInput(double dayFraction) {
  HostInput input = makeInput(kInputTimeOfDay);
  input.dateTimeValue = dayFraction;
  return input;
}

HostInput textInput(char* text) {
  HostInput input = makeInput(kInputText);
  input.textValue.text = text;
  input.textValue.length = text != nullptr ? static_cast<uint32_t>(std::strlen(text)) : 0;
  return input;
}

// Date and date-time inputs hold whole days; a date-time may carry a zone.
HostInput dayInput(HostInputKind kind, double days, int32_t zoneIndex) {
  HostInput input = makeInput(kind);
  input.dateTimeValue = days;
  input.timeZoneIndex = zoneIndex;
  return input;
}

struct ReaderRow {
  const char* label;
  HostInput input;
  int32_t index;
  int32_t integer;
  float number;
  int32_t yesNo;
  HostDateTime dateTime;
  const char* text;
  HostColor color;
};

// Every reader against every kind, with a value that tells the kinds' fields
// apart and a zero value where "not 0" matters.
std::vector<ReaderRow> readerRows() {
  return {
      {"list", intInput(kInputList, 4), 4, 4, 4.0f, 1, 0, "Unset", 4},
      {"list first option", intInput(kInputList, 0), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"integer", intInput(kInputInteger, -7), -7, -7, -7.0f, 1, 0, "Unset", 0xFFFFFFF9u},
      {"float", floatInput(2.5f), 3, 3, 2.5f, 1, 0, "Unset", 0},
      {"small float", floatInput(-0.4f), 0, 0, -0.4f, 1, 0, "Unset", 0},
      {"zero float", floatInput(0.0f), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"yes", intInput(kInputYesNo, 1), 1, 1, 1.0f, 1, 0, "Unset", 0xFFFFFF},
      {"no", intInput(kInputYesNo, 0), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"colour", intInput(kInputColor, 0x123456), 0x123456, 0x123456, 0.0f, 1, 0, "Unset",
       0x123456},
      {"time of day", timeOfDayInput(0.75), 0, 64800, 0.0f, 1, 64800000000LL, "Unset", 0},
      {"midnight", timeOfDayInput(0.0), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"time zone", intInput(kInputTimeZone, 12), 12, 12, 12.0f, 1, 0, "Unset", 12},
      {"first time zone", intInput(kInputTimeZone, 0), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"text", textInput(gTextBuffer), 0, 0, 0.0f, 0, 0, "abc", 0},
      {"text holding none", textInput(nullptr), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"empty text", textInput(gEmptyBuffer), 0, 0, 0.0f, 0, 0, "", 0},
      {"date-time with zone", dayInput(kInputDateTime, 45000.5, 5), 5, 0, 0.0f, 0, 0, "Unset", 0},
      {"date-time without zone", dayInput(kInputDateTime, 45000.5, -1), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"date", dayInput(kInputDate, 45000.5, 3), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"undeclared", intInput(kInputNone, 9), 0, 0, 0.0f, 0, 0, "Unset", 0},
      {"unknown kind", intInput(static_cast<HostInputKind>(42), 9), 0, 0, 0.0f, 0, 0, "Unset", 0},
  };
}

TEST(InputReaders, EveryReaderAgainstEveryKind) {
  for (ReaderRow& row : readerRows()) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(readIndex(row.input), row.index);
    EXPECT_EQ(readInteger(row.input), row.integer);
    EXPECT_EQ(readFloat(row.input), row.number);
    EXPECT_EQ(readYesNo(row.input), row.yesNo);
    EXPECT_EQ(readDateTime(row.input), row.dateTime);
    EXPECT_STREQ(readText(row.input), row.text);
    EXPECT_EQ(readColor(row.input), row.color);
  }
}

TEST(InputReaders, ListIndexOutsideItsOptionsIsReturnedUnchanged) {
  for (int32_t value : {7, 99, -1}) {
    HostInput list = intInput(kInputList, value);
    list.listOptions.text = gTextBuffer;
    EXPECT_EQ(readIndex(list), value);
  }
}

TEST(InputReaders, RoundsHalvesAwayFromZero) {
  const double kInf = std::numeric_limits<double>::infinity();
  const int64_t kMax = std::numeric_limits<int64_t>::max();
  const int64_t kMin = std::numeric_limits<int64_t>::min();
  const struct {
    double value;
    int64_t expected;
  } cases[] = {
      {2.5, 3},   {-2.5, -3}, {1.5, 2},     {-0.5, -1},   {0.49999999999999994, 0},
      {-0.49999999999999994, 0}, {2.4, 2}, {-2.6, -3}, {0.0, 0}, {1e30, kMax}, {-1e30, kMin},
      {kInf, kMax}, {-kInf, kMin}, {std::nan(""), 0}, {9223372036854775808.0, kMax},
      {-9223372036854775808.0, kMin},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(roundHalfAwayFromZero(c.value), c.expected);
  }
}

// Floats the user may type that do not fit an integer must clamp, not wrap.
TEST(InputReaders, FloatsBeyondTheIntegerRangeClamp) {
  const int32_t kMax = std::numeric_limits<int32_t>::max();
  const int32_t kMin = std::numeric_limits<int32_t>::min();
  const float kInf = std::numeric_limits<float>::infinity();
  const struct {
    float value;
    int32_t expected;
  } cases[] = {
      {2.5f, 3},         {-2.5f, -3},   {1e30f, kMax},           {-1e30f, kMin},
      {kInf, kMax},      {-kInf, kMin}, {std::nanf(""), 0},      {2147483520.0f, 2147483520},
      {2147483648.0f, kMax},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(readIndex(floatInput(c.value)), c.expected);
    EXPECT_EQ(readInteger(floatInput(c.value)), c.expected);
  }
}

TEST(InputReaders, TimeOfDayAsSecondsAndMicrosecondsIntoTheDay) {
  const struct {
    double dayFraction;
    int32_t seconds;
    HostDateTime microseconds;
  } cases[] = {
      {0.0, 0, 0},
      {0.3958333333333333, 34200, 34200000000LL},  // 09:30
      {0.9583333333333334, 82800, 82800000000LL},  // 23:00
      {1.25, 21600, 108000000000LL},                // beyond a day wraps for seconds
      {std::nan(""), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dayFraction);
    EXPECT_EQ(readInteger(timeOfDayInput(c.dayFraction)), c.seconds);
    EXPECT_EQ(readDateTime(timeOfDayInput(c.dayFraction)), c.microseconds);
  }
}

TEST(InputReaders, HugeTimeOfDayStaysWithinOneDay) {
  const int32_t seconds = readInteger(timeOfDayInput(1e300));
  EXPECT_GE(seconds, 0);
  EXPECT_LT(seconds, 86400);
  EXPECT_EQ(readDateTime(timeOfDayInput(1e300)), std::numeric_limits<int64_t>::max());
}

TEST(InputReaders, YesNoReadsAnyNonZeroValueAsOne) {
  EXPECT_EQ(readIndex(intInput(kInputYesNo, 5)), 1);
  EXPECT_EQ(readFloat(intInput(kInputYesNo, -3)), 1.0f);
  EXPECT_EQ(readColor(intInput(kInputYesNo, 5)), 0xFFFFFFu);
}

}  // namespace
