// The texts a recording is made of: its times to the microsecond, refused
// when they are no real time, and its bars file, which the chart program's
// bar reader reads back to the very bars written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "support/temporary_folder.h"
#include "tools/chart/bar_file.h"
#include "tools/recording/bars_text.h"
#include "tools/recording/checksum.h"
#include "tools/recording/recording_files.h"
#include "tools/recording/recording_time.h"

using namespace recording;

namespace {

constexpr HostDateTime kDay20260302 = 46083LL * kMicrosecondsPerDay;

TEST(RecordingTime, WritesAndReadsEveryMicrosecond) {
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
    EXPECT_EQ(formatRecordingTime(c.time).value_or("nothing"), c.text);
    EXPECT_EQ(readRecordingTime(c.text).value_or(-999), c.time) << c.text;
  }
  EXPECT_TRUE(formatRecordingTime(readRecordingTime("0001-01-01 00:00:00.000000").value()));
  EXPECT_FALSE(formatRecordingTime(*readRecordingTime("0001-01-01 00:00:00.000000") - 1));
  EXPECT_TRUE(formatRecordingTime(readRecordingTime("9999-12-31 23:59:59.999999").value()));
  EXPECT_FALSE(formatRecordingTime(*readRecordingTime("9999-12-31 23:59:59.999999") + 1));
  EXPECT_FALSE(formatRecordingTime(INT64_MIN));
  EXPECT_FALSE(formatRecordingTime(INT64_MAX));
}

TEST(RecordingTime, RefusesWhatIsNoTime) {
  for (const char* text : {"", "2026-03-02 10:15:00", "2026-03-02 10:15:00.00000", "2026-03-02T10:15:00.000000",
                           "2026-02-29 10:15:00.000000", "2026-13-02 10:15:00.000000", "2026-03-00 10:15:00.000000",
                           "0000-03-02 10:15:00.000000", "2026-03-02 24:00:00.000000", "2026-03-02 10:60:00.000000",
                           "2026-03-02 10:15:60.000000", "2026-03-02 10:15:00.-00000", "+026-03-02 10:15:00.000000",
                           "2026-03-02 10:15:00.0000000"})
    EXPECT_FALSE(readRecordingTime(text)) << text;
}

TEST(RecordingChecksum, IsFnv1aOfEveryByte) {
  EXPECT_EQ(checksumText(""), "fnv1a64:cbf29ce484222325");
  EXPECT_EQ(checksumText("a"), "fnv1a64:af63dc4c8601ec8c");
  EXPECT_NE(checksumText(std::string("a\0", 2)), checksumText("a"));
}

// Bars of every kind of float: halves and tenths of prices, tiny and huge
// values, values whose shortest text misreads through a double, times with
// and without fractions of a second.
std::vector<RecordedBar> oddBars() {
  std::vector<RecordedBar> bars;
  std::mt19937 random(3);
  std::uniform_int_distribution<uint32_t> anyBits;
  HostDateTime time = kDay20260302 + 9 * kMicrosecondsPerHour;
  auto addBar = [&](std::vector<float> values) {
    std::sort(values.begin(), values.begin() + 4);
    bars.push_back(RecordedBar{time, values[1], values[3], values[0], values[2], values[4]});
    time += bars.size() % 3 ? kMicrosecondsPerMinute : 1234567;
  };
  addBar({5800.25f, 5801.5f, 5799.75f, 5801.0f, 1250.0f});
  addBar({5801.1f, 5801.3f, 5800.7f, 5800.9f, 0.0f});
  addBar({1e-7f, 3e-38f, 1.4e-45f, 2e-40f, 3.4e38f});
  while (bars.size() < 2000) {
    std::vector<float> values;
    while (values.size() < 5) {
      const uint32_t bits = anyBits(random) & 0x7fffffffU;  // no negative volume
      float value;
      std::memcpy(&value, &bits, sizeof value);
      if (std::isfinite(value)) values.push_back(value);
    }
    addBar(values);
  }
  return bars;
}

TEST(RecordingBars, TheChartProgramReadsBackTheVeryBarsWritten) {
  const std::vector<RecordedBar> bars = oddBars();
  const std::optional<std::string> text = barsCsvText(bars);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, text->find('\n', 40) + 1),
            "datetime,open,high,low,close,volume\n2026-03-02 09:00:00,5800.25,5801.5,5799.75,5801,1250\n");
  std::string error;
  const std::optional<chart_tool::BarText> read = chart_tool::readBarText(*text, error);
  ASSERT_TRUE(read) << error;
  EXPECT_FALSE(read->utc);
  ASSERT_EQ(read->bars.size(), bars.size());
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const chart_host::Bar& back = read->bars[i];
    const RecordedBar& bar = bars[i];
    EXPECT_EQ(back.dateTime, bar.dateTime) << i;
    EXPECT_TRUE(back.open == bar.open && back.high == bar.high && back.low == bar.low && back.close == bar.close &&
                back.volume == bar.volume)
        << "bar " << i << " read back other values";
  }
  EXPECT_FALSE(barsCsvText({RecordedBar{-800000 * kMicrosecondsPerDay}}));
}

}  // namespace
