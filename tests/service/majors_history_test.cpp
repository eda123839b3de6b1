// Reading the majors history into output series 0 to 2 at the bars of their
// times. The chart has one-minute bars from 10:00 New York (15:00 UTC).
#include "service/majors_history.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/study_fixture.h"

using namespace tarvio;

namespace {

constexpr int kBars = 10;

std::string at(int minute, const std::string& levels) {
  return "{\"timestamp\":" + std::to_string(1772463600 + 60 * minute) + levels + "}";
}

struct HistoryCase {
  const char* name;
  std::string text;
  int32_t result;
  int32_t earliest;     // -1: left unchanged
  int bar;              // where to look
  float zeroGamma;      // expected at `bar`
  const char* message;  // null: nothing logged
};

TEST(MajorsHistoryTest, WritesSnapshotsAtTheirBars) {
  const HistoryCase cases[] = {
      {"two snapshots",
       "[" + at(3, ",\"zero_gamma\":500") + "," + at(5, ",\"zero_gamma\":510") + "]", kHistoryRead,
       3, 5, 540.0f, nullptr},
      {"later snapshot on a bar wins",
       "[" + at(3, ",\"zero_gamma\":500") + "," + at(3, ",\"zero_gamma\":505") + "]", kHistoryRead,
       3, 3, 535.0f, nullptr},
      {"empty array", "[]", kHistoryRead, -1, 3, 0.0f, nullptr},
      {"timestamp with a fraction", "[{\"timestamp\":1772463780.0,\"zero_gamma\":500}]",
       kHistoryRead, -1, 3, 0.0f, nullptr},
      {"timestamp with an exponent", "[{\"timestamp\":1.77246378e9,\"zero_gamma\":500}]",
       kHistoryRead, -1, 3, 0.0f, nullptr},
      {"level not a number", "[" + at(3, ",\"zero_gamma\":\"500\"") + "]", kHistoryRead, 3, 3, 0.0f,
       nullptr},
      {"elements that are not snapshots", "[1,null,{},[]," + at(4, ",\"zero_gamma\":1") + "]",
       kHistoryRead, 4, 4, 31.0f, nullptr},
      {"object with a timestamp", at(3, ",\"zero_gamma\":500"), kHistoryRead, -1, 3, 0.0f, nullptr},
      {"message and error", R"({"message":"over quota","error":"nope"})", kHistoryNotRead, -1, 3,
       0.0f, "Tarvio History: API message: over quota. Skipping."},
      {"error only", R"({"message":5,"error":"nope"})", kHistoryNotRead, -1, 3, 0.0f,
       "Tarvio History: API error: nope. Skipping."},
      {"empty object", "{}", kHistoryNotRead, -1, 3, 0.0f, nullptr},
      {"bare number", "42", kHistoryNotRead, -1, 3, 0.0f, nullptr},
      {"not JSON", "EMPTY_RESPONSE", kHistoryNotRead, -1, 3, 0.0f,
       "Tarvio History: JSON parse error. Skipping."},
  };
  for (const HistoryCase& c : cases) {
    StudyFixture fixture(kBars);
    int32_t result = -1;
    fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      sc.earliestChangedBarIndex = -1;
      result = parseMajorsHistory(sc, c.text.c_str(), 30.0f, 1.0f);
    });
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(fixture.instance.record().earliestChangedBarIndex, c.earliest) << c.name;
    EXPECT_EQ(fixture.instance.subgraph(2).values[c.bar], c.zeroGamma) << c.name;
    const auto& lines = fixture.instance_log().lines();
    ASSERT_EQ(lines.size(), c.message ? 1u : 0u) << c.name;
    if (c.message) {
      EXPECT_EQ(lines[0].text, c.message);
      EXPECT_EQ(lines[0].alert, c.result == kHistoryNotRead &&
                                    std::string(c.message).find("API") != std::string::npos);
    }
  }
}

TEST(MajorsHistoryTest, SkipsSnapshotsTheHostPlacesOutsideTheChart) {
  for (int32_t answer : {-1, kBars, INT32_MIN}) {
    StudyFixture fixture(kBars);
    const std::string text = "[" + at(3, ",\"zero_gamma\":500") + "]";
    fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      static int32_t hostAnswer;
      hostAnswer = answer;
      sc.ops.HostDateTimeToBarIndex = [](int32_t, HostDateTime) { return hostAnswer; };
      sc.earliestChangedBarIndex = -1;
      EXPECT_EQ(parseMajorsHistory(sc, text.c_str(), 0.0f, 1.0f), kHistoryRead);
    });
    EXPECT_EQ(fixture.instance.record().earliestChangedBarIndex, -1) << answer;
    for (int bar = 0; bar < kBars; ++bar) EXPECT_EQ(fixture.instance.subgraph(2).values[bar], 0.0f);
  }
}

std::string atSeconds(int64_t unixSeconds, const std::string& levels) {
  return "[{\"timestamp\":" + std::to_string(unixSeconds) + levels + "}]";
}

struct OffChartCase {
  const char* name;
  std::string text;
  float multiplier;
  int writtenBar;  // -1: nothing written
};

// The chart host answers the nearest bar for any time, as real hosts commonly
// do: the history itself must keep snapshots off the chart away from the
// first and last bars, and skip those whose levels are beyond the float range.
TEST(MajorsHistoryTest, SkipsSnapshotsOffTheChartOrBeyondTheFloatRange) {
  constexpr int64_t kFirstBar = 1772463600;  // 10:00 New York
  const std::string level = ",\"zero_gamma\":500,\"major_call_gamma\":510";
  const OffChartCase cases[] = {
      {"time 0", atSeconds(0, level), 1.0f, -1},
      {"a year before", atSeconds(kFirstBar - 365 * 86400, level), 1.0f, -1},
      {"in milliseconds", atSeconds(kFirstBar * 1000 + 180000, level), 1.0f, -1},
      {"a second before the first bar", atSeconds(kFirstBar - 1, level), 1.0f, -1},
      {"the end of the last bar's minute", atSeconds(kFirstBar + 600, level), 1.0f, -1},
      {"within the last bar's minute", atSeconds(kFirstBar + 599, level), 1.0f, kBars - 1},
      {"level beyond the float range", atSeconds(kFirstBar + 180, ",\"zero_gamma\":1e300,\"major_call_gamma\":510"),
       1.0f, -1},
      {"premiums carry it beyond", atSeconds(kFirstBar + 180, ",\"zero_gamma\":3e38"), 2.0f, -1},
      {"a usable snapshot", atSeconds(kFirstBar + 180, level), 1.0f, 3},
  };
  for (const OffChartCase& c : cases) {
    StudyFixture fixture(kBars);
    fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      sc.earliestChangedBarIndex = -1;
      EXPECT_EQ(parseMajorsHistory(sc, c.text.c_str(), 0.0f, c.multiplier), kHistoryRead) << c.name;
    });
    EXPECT_EQ(fixture.instance.record().earliestChangedBarIndex, c.writtenBar) << c.name;
    for (int bar = 0; bar < kBars; ++bar) {
      const bool written = bar == c.writtenBar;
      EXPECT_EQ(fixture.instance.subgraph(2).values[bar], written ? 500.0f : 0.0f) << c.name << " " << bar;
      EXPECT_EQ(fixture.instance.subgraph(0).values[bar], written ? 510.0f : 0.0f) << c.name << " " << bar;
    }
  }
}

TEST(MajorsHistoryTest, ServiceTextsAreEscapedAndCutInTheLog) {
  StudyFixture fixture(kBars);
  const std::string longError(100000, 'e');
  const std::string text = "{\"message\":\"over\\nTarvio History: API error: forged. Skipping.\\u001b[2J" +
                           longError + "\"}";
  fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    parseMajorsHistory(sc, text.c_str(), 0.0f, 1.0f);
  });
  const auto& lines = fixture.instance_log().lines();
  ASSERT_EQ(lines.size(), 1u);
  const std::string& line = lines[0].text;
  EXPECT_EQ(line.rfind("Tarvio History: API message: over\\nTarvio History: API error: forged. "
                       "Skipping.\\x1b[2Jeee",
                       0),
            0u)
      << line;
  EXPECT_NE(line.find("... (99753 more bytes). Skipping."), std::string::npos) << line;
  EXPECT_LT(line.size(), 500u);
}

TEST(MajorsHistoryTest, AppliesThePremiumsToEachLevel) {
  StudyFixture fixture(kBars);
  const std::string text =
      "[" + at(2, ",\"major_call_gamma\":5850,\"major_put_gamma\":5750.5,\"zero_gamma\":5790") +
      "]";
  fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    parseMajorsHistory(sc, text.c_str(), -12.5f, 1.001f);
  });
  EXPECT_EQ(fixture.instance.subgraph(0).values[2], 5850.0f * 1.001f - 12.5f);
  EXPECT_EQ(fixture.instance.subgraph(1).values[2], 5750.5f * 1.001f - 12.5f);
  EXPECT_EQ(fixture.instance.subgraph(2).values[2], 5790.0f * 1.001f - 12.5f);
  EXPECT_EQ(fixture.instance.subgraph(2).values[1], 0.0f);
}

}  // namespace
