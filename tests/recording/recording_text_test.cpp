// The texts a recording is made of: its checksums, its bars file, which the
// chart program's bar reader reads back to the very bars written, and its
// call lines among the exchanges' in the index.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "support/temporary_folder.h"
#include "tools/chart/inputs/bar_file.h"
#include "tools/recording/call_lines.h"
#include "tools/recording/checksum.h"
#include "tools/recording/index_reading.h"
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

// Call lines: a call keeps its bars exactly and reads back the same; calls
// end before the first one handed an exchange the index does not hold (a run
// killed before writing it); out of order, handed twice, or in a recording of
// version 1 they are refused.
TEST(RecordingCalls, ReadBackExactlyAndEndAtTheLastWholeExchange) {
  RecordedCall call;
  call.number = 1;
  call.at = kDay20260302 + 10 * kMicrosecondsPerHour + 123457;
  call.barsFrom = 3;
  call.bars = {{kDay20260302, 5801.25f, 5802.0f, 5800.5f, 5801.75f, 1200.0f}, {kDay20260302 + 60000000, 0.1f, 1e30f, -3.5f, 7.0f, 0.0f}};
  call.handed = 1;
  call.barsTold = {"--bars: bars.csv:7: a bar of 2026-03-02 09:20:00 after the newest, of 09:31:00: skipped"};
  call.barsWarning = call.barsTold[0].substr(8);
  std::string line;
  std::string error;
  ASSERT_TRUE(callLine(call, line, error)) << error;
  RecordedCall read;
  ASSERT_TRUE(readCallLine(line.substr(0, line.size() - 1), read, error)) << error;
  EXPECT_TRUE(isCallLine(line));
  EXPECT_EQ(read.at, call.at);
  ASSERT_EQ(read.bars.size(), 2u);
  EXPECT_EQ(read.bars[1].high, 1e30f);
  EXPECT_EQ(read.bars[0].close, 5801.75f);
  EXPECT_EQ(read.barsTold, call.barsTold);
  EXPECT_EQ(read.barsWarning, call.barsWarning);

  const std::string header = R"({"version":2,"chartZone":"UTC+00","clock":"real","firstCall":"2026-03-02 10:00:00.000000",)"
                             R"("lastCall":"2026-03-02 11:00:00.000000","stepMicroseconds":1000000,"inputs":[]})" "\n";
  const auto callOf = [](int number, int handed, const char* at = "10:00:01") {
    return "{\"call\":" + std::to_string(number) + ",\"at\":\"2026-03-02 " + at + ".000000\",\"barsFrom\":0,\"bars\":[],"
           "\"handed\":" + std::to_string(handed) + "}\n";
  };
  struct Case {
    std::string calls;
    std::size_t kept;
    const char* error;
  };
  const Case cases[] = {
      {callOf(1, 0) + callOf(2, 0), 2, ""},
      {callOf(1, 0) + callOf(2, 1) + callOf(3, 0), 1, ""},  // exchange 1 never written: the calls end before it
      {callOf(2, 0), 0, "line 2: call 2 where call 1 was due"},
      {callOf(1, 0, "10:00:05") + callOf(2, 0, "10:00:04"), 0, "line 3: call 2 is earlier than the call before it"},
      {callOf(1, 1) + callOf(2, 1), 0, "line 3: call 2 was handed exchange 1, which an earlier call was handed"},
      {R"({"call":1,"at":"2026-03-02 10:00:01.000000","barsFrom":0,"bars":[[1,2]],"handed":0})" "\n", 0,
       "line 2: call 1: a bar is not"},
  };
  for (const Case& c : cases) {
    IndexContents index;
    const bool ok = readIndexText(header + c.calls, "exchanges.jsonl", index, error);
    EXPECT_EQ(ok, *c.error == '\0') << c.calls << error;
    if (ok) {
      EXPECT_EQ(index.calls.size(), c.kept) << c.calls;
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
  IndexContents older;
  std::string version1 = header;
  version1.replace(version1.find("\"version\":2"), 11, "\"version\":1");
  EXPECT_FALSE(readIndexText(version1 + callOf(1, 0), "exchanges.jsonl", older, error));
  EXPECT_NE(error.find("a call's line in a recording of version 1"), std::string::npos) << error;
}

}  // namespace
