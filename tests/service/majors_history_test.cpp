// Reading the majors history into output series 0 to 2 at the bars of their
// times. The chart has one-minute bars from 10:00 New York (15:00 UTC).
#include "service/majors_history.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/study_fixture.h"

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
