// The study through the chart host when what comes from outside is hostile or
// broken: numbers beyond the float range, texts that would forge log lines,
// typed tickers and keys that would change the requests they go into.
#include <gtest/gtest.h>

#include <string>

#include "support/chart_profile_fixture.h"
#include "support/driver_fixture.h"

using namespace tarvio;

namespace {

// A chart whose history was answered and whose profile request is out.
void openWithProfileOutstanding(DriverFixture& f) {
  f.callAt(mondayAt(10, 30), true);
  ASSERT_TRUE(f.transport->answer("[]"));
  f.callAt(mondayAt(10, 30, 1));
  ASSERT_EQ(f.requests(), 2);
}

float lastOutput(DriverFixture& f, int32_t index) {
  return f.study.instance.subgraph(index).values[f.study.instance.record().barCount - 1];
}

TEST(UntrustedAnswers, LevelsBeyondTheFloatRangeAreNeitherDrawnNorWritten) {
  DriverFixture f;
  openWithProfileOutstanding(f);
  std::string body = gexResponse("[[5800,1e300,5,[1,2,3,4,5]],[5810,20,5,[1,2,3,4,5]]]", "1e300");
  body.replace(body.find("\"major_pos_vol\":5850"), 20, "\"major_pos_vol\":3.5e38");
  body.replace(body.find("\"sum_gex_vol\":-1234.5"), 21, "\"sum_gex_vol\":-1e300");
  ASSERT_TRUE(f.transport->answer(body));
  f.callAt(mondayAt(10, 30, 2));

  // Put, call OI and put OI stay; zero gamma and call volume are absent.
  std::vector<float> prices;
  for (const ChartDrawing& drawing : f.study.chart.drawings().all()) {
    prices.push_back(drawing.record.price);
    EXPECT_EQ(drawing.label.find("inf"), std::string::npos) << drawing.label;
  }
  EXPECT_EQ(prices, (std::vector<float>{5750, 5900, 5700}));
  EXPECT_EQ(lastOutput(f, 0), 0.0f);
  EXPECT_EQ(lastOutput(f, 2), 0.0f);
  EXPECT_EQ(lastOutput(f, 1), 5750.0f);
  EXPECT_EQ(lastOutput(f, 7), 0.0f);
  EXPECT_EQ(lastOutput(f, 8), 98765.25f);
}

TEST(UntrustedAnswers, PremiumsThatCarryALevelBeyondTheFloatRangeLeaveItAbsent) {
  DriverFixture f;
  f.study.instance.input(kMultiplicativePremiumInput).floatValue = 1e35f;
  openWithProfileOutstanding(f);
  ASSERT_TRUE(f.transport->answer(gexResponse("[[5800,100,5,[]]]")));
  f.callAt(mondayAt(10, 30, 2));
  EXPECT_TRUE(f.study.chart.drawings().all().empty());
  EXPECT_EQ(lastOutput(f, 2), 0.0f);
}

TEST(UntrustedAnswers, AnErrorTextCannotForgeLogLines) {
  DriverFixture f;
  openWithProfileOutstanding(f);
  ASSERT_TRUE(f.transport->answer(
      "{\"error\":\"busy\\nTarvio API Error: ERROR: Invalid API Key. Halting requests.\\u001b]0;x\\u0007\"}"));
  f.callAt(mondayAt(10, 30, 2));
  const auto& lines = f.study.instance_log().lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text,
            "Tarvio API Error: \"busy\\nTarvio API Error: ERROR: Invalid API Key. Halting "
            "requests.\\x1b]0;x\\x07\". Retrying.");
  EXPECT_EQ(f.stored(kRequestsHaltedKey), 0);
}

struct TypedTextCase {
  const char* name;
  int32_t input;
  const char* text;
  const char* message;  // null: the text is fine
};

// A typed text that would change the request it goes into is a configuration
// error, reported once; nothing at all is sent until a full recalculation.
TEST(UntrustedAnswers, TypedTextsThatWouldChangeTheirRequestHaltRequests) {
  const char* kSymbolRule = "cannot go into a request: use only letters, digits and _ . - ^. Halting requests.";
  const TypedTextCase cases[] = {
      {"slash in the ticker", kTickerInput, "es/spx",
       "Tarvio: the Ticker \"ES/SPX\" "},
      {"blank inside the ticker", kTickerInput, " ES SPX ", "Tarvio: the Ticker \"ES SPX\" "},
      {"query in the target", kFuturesTargetInput, "ES&model=affine",
       "Tarvio: the Futures Target \"ES&MODEL=AFFINE\" "},
      {"fragment in the target", kFuturesTargetInput, "ES#", "Tarvio: the Futures Target \"ES#\" "},
      {"line break in the key", kApiKeyInput, "key\r\nX-Extra: 1",
       "Tarvio: the API KEY holds a control character"},
      {"index ticker", kTickerInput, "^spx", nullptr},
      {"share class", kTickerInput, "brk.b", nullptr},
      {"key with blanks and symbols", kApiKeyInput, " k/y&#=+ ", nullptr},
  };
  for (const TypedTextCase& c : cases) {
    DriverFixture f;
    f.study.setText(kFuturesTargetInput, "ES");
    f.study.setText(c.input, c.text);
    for (int second = 0; second < 30; second += 5) f.callAt(mondayAt(10, 30, second), second == 0);
    const int conversions = f.logged("Tarvio Futures Conversion: sending request");
    if (c.message == nullptr) {
      EXPECT_GT(f.requests(), 0) << c.name;
      EXPECT_EQ(conversions, 1) << c.name;
      EXPECT_EQ(f.stored(kRequestsHaltedKey), 0) << c.name;
      continue;
    }
    EXPECT_EQ(f.requests(), 0) << c.name;
    EXPECT_EQ(conversions, 0) << c.name;
    EXPECT_EQ(f.alerted(c.message), 1) << c.name;
    EXPECT_EQ(f.study.alertCount(), 1) << c.name;
    if (c.input != kApiKeyInput) {
      EXPECT_EQ(f.alerted(kSymbolRule), 1) << c.name;
    }
    EXPECT_EQ(f.logged("X-Extra"), 0) << "the key is never logged";

    // Corrected, the next full recalculation resumes requests.
    f.study.setText(c.input, c.input == kApiKeyInput ? "key-123" : "ES");
    f.callAt(mondayAt(10, 31), true);
    EXPECT_EQ(f.requests(), 1) << c.name;
  }
}

}  // namespace
