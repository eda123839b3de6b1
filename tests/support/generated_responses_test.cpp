// The generated answers the benchmarks measure and the tests share: a seed
// must keep naming the same bytes (or figures of different builds stop being
// comparable), and every answer must be read whole by the module's readers
// (or a figure would time an early exit).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "service/majors_history.h"
#include "support/generated_responses.h"
#include "support/log_only_host.h"
#include "support/market_hours_chart.h"

using namespace tarvio;

namespace {

uint64_t fingerprint(const std::string& text) {
  uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
  return hash;
}

TEST(GeneratedResponses, SeedsKeepNamingTheBytesFiguresWereMeasuredOn) {
  struct Case {
    std::string text;
    std::size_t size;
    uint64_t hash;
  };
  const Case cases[] = {
      {makeProfileResponse(ProfileKind::Gex, 100, 1), 8899, 0x79845c0dca262ec8ULL},
      {makeProfileResponse(ProfileKind::Greek, 100, 1), 7745, 0xafc908989f95d537ULL},
      {makeHistoryResponse(390, 1), 36627, 0xe57c7e969abf4ff8ULL},
      {makeConversionResponse(1), 59, 0x620023303954dd94ULL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text.size(), c.size) << c.text.substr(0, 80);
    EXPECT_EQ(fingerprint(c.text), c.hash) << c.text.substr(0, 80);
  }
  EXPECT_NE(makeConversionResponse(1), makeConversionResponse(2));
  EXPECT_NE(makeHistoryResponse(390, 1), makeHistoryResponse(390, 2));
}

template <class Profile>
void expectReadWhole(ProfileKind kind, int rows,
                     ReadOutcome (*parse)(HostStudyInterface&, const char*, Profile*)) {
  HostStudyInterface sc = logOnlyHost(dropLogLine);
  for (uint64_t seed : {1, 7, 32}) {
    Profile profile;
    ASSERT_EQ(parse(sc, makeProfileResponse(kind, rows, seed).c_str(), &profile),
              ReadOutcome::Parsed);
    EXPECT_EQ(profile.strikes.size(), static_cast<std::size_t>(rows));
    EXPECT_EQ(profile.priors.size(), static_cast<std::size_t>(rows * priorsPerRow(kind)));
  }
}

TEST(GeneratedResponses, ProfilesAreReadWholeAtEverySize) {
  for (int rows : {1, 100, 5000}) {
    SCOPED_TRACE(rows);
    expectReadWhole<GexProfile>(ProfileKind::Gex, rows, parse_gex_profile);
    expectReadWhole<GreekProfile>(ProfileKind::Greek, rows, parse_greek_profile);
  }
}

// Every snapshot falls on a bar of its own on the market-hours chart, so each
// level series is set on exactly as many bars, the latest ones.
TEST(GeneratedResponses, HistoriesFillOneMarketHoursBarPerSnapshot) {
  MarketHoursChart chart;
  ASSERT_EQ(chart.barCount(), kTradingDays * kMinutesPerTradingDay);
  for (int snapshots : {kMinutesPerTradingDay, kTradingDays * kMinutesPerTradingDay}) {
    const std::string body = makeHistoryResponse(snapshots, 3);
    chart.call([&](HostStudyInterface& sc) {
      for (int series = 0; series < 3; ++series) {
        for (int32_t bar = 0; bar < sc.barCount; ++bar)
          subgraphValueAt(subgraphAt(sc, series), bar) = 0.0f;
      }
      sc.earliestChangedBarIndex = -1;
      ASSERT_EQ(readMajorsHistory(sc, body.c_str(), 0.0f, 1.0f), ReadOutcome::Parsed);
      EXPECT_EQ(sc.earliestChangedBarIndex, sc.barCount - snapshots);
      for (int series = 0; series < 3; ++series) {
        int filled = 0;
        for (int32_t bar = 0; bar < sc.barCount; ++bar)
          filled += subgraphValueAt(subgraphAt(sc, series), bar) != 0.0f ? 1 : 0;
        EXPECT_EQ(filled, snapshots) << "series " << series;
      }
    });
  }
}

}  // namespace
