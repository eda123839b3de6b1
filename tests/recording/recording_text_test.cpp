// The texts a recording is made of: its checksums and its bars file, which
// the chart program's bar reader reads back to the very bars written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "support/temporary_folder.h"
#include "tools/chart/inputs/bar_file.h"
#include "tools/recording/checksum.h"
#include "tools/recording/recording_files.h"
#include "tools/support/bar_csv.h"

using namespace recording;

namespace {

constexpr HostDateTime kDay20260302 = 46083LL * kMicrosecondsPerDay;

TEST(RecordingChecksum, IsFnv1aOfEveryByte) {
  EXPECT_EQ(checksumText(""), "fnv1a64:cbf29ce484222325");
  EXPECT_EQ(checksumText("a"), "fnv1a64:af63dc4c8601ec8c");
  EXPECT_NE(checksumText(std::string("a\0", 2)), checksumText("a"));
}

// Bars of every kind of float: halves and tenths of prices, tiny and huge
// values, values whose shortest text misreads through a double, times with
// and without fractions of a second.
std::vector<support::PriceBar> oddBars() {
  std::vector<support::PriceBar> bars;
  std::mt19937 random(3);
  std::uniform_int_distribution<uint32_t> anyBits;
  HostDateTime time = kDay20260302 + 9 * kMicrosecondsPerHour;
  auto addBar = [&](std::vector<float> values) {
    std::sort(values.begin(), values.begin() + 4);
    bars.push_back(support::PriceBar{time, values[1], values[3], values[0], values[2], values[4]});
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
  const std::vector<support::PriceBar> bars = oddBars();
  for (const support::BarTimes times : {support::BarTimes::Chart, support::BarTimes::Utc}) {
    const bool utc = times == support::BarTimes::Utc;
    const std::optional<std::string> text = support::barCsvText(bars, times);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(0, text->find('\n', 40) + 1),
              std::string("datetime,open,high,low,close,volume\n2026-03-02") + (utc ? "T09:00:00Z" : " 09:00:00") +
                  ",5800.25,5801.5,5799.75,5801,1250\n");
    std::string error;
    const std::optional<chart_tool::inputs::BarText> read = chart_tool::inputs::readBarText(*text, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->utc, utc);
    ASSERT_EQ(read->bars.size(), bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const chart_host::Bar& back = read->bars[i];
      const support::PriceBar& bar = bars[i];
      EXPECT_EQ(back.dateTime, bar.dateTime) << i;
      EXPECT_TRUE(back.open == bar.open && back.high == bar.high && back.low == bar.low && back.close == bar.close &&
                  back.volume == bar.volume)
          << "bar " << i << " read back other values";
    }
  }
  EXPECT_FALSE(support::barCsvText({support::PriceBar{-800000 * kMicrosecondsPerDay}}));
}

}  // namespace
