// The real module against the loopback stand-in over real TLS: the requests
// exactly as the service expects them, a whole profile cycle ending in drawn
// level lines and written outputs, the history filling the first three
// output series, and the futures conversion rewriting the premiums.
#include <gtest/gtest.h>

#include <string>

#include "integration/module_on_standin.h"
#include "integration/recorded_request.h"
#include "service/service_endpoint.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

using namespace tarvio;

namespace {

using Headers = std::vector<std::pair<std::string, std::string>>;

#define SKIP_UNLESS_READY(f) \
  if (!(f).setupError().empty()) FAIL() << (f).setupError()

TEST(ServiceCycleTest, HistoryThenProfileEndInDrawnLevelsAndOutputs) {
  ModuleOnStandin f;
  SKIP_UNLESS_READY(f);
  f.callAt(mondayNewYork(10, 30), true);  // the history goes out
  f.callAt(mondayNewYork(10, 30, 1));     // its answer arrives; the profile goes out
  f.callAt(mondayNewYork(10, 30, 2));     // the profile arrives
  ASSERT_EQ(f.alerts(), 0) << f.logText();

  // History: the bars since 09:30 carry the three levels, the earlier ones not.
  HostSubgraph& zeroGamma = f.instance->subgraph(2);
  EXPECT_EQ(zeroGamma.values[29], 0.0f);
  for (int bar = 30; bar < 89; ++bar) {
    EXPECT_GT(f.instance->subgraph(0).values[bar], 0.0f) << bar;
    EXPECT_GT(f.instance->subgraph(1).values[bar], 0.0f) << bar;
    EXPECT_GT(zeroGamma.values[bar], 0.0f) << bar;
  }
  EXPECT_EQ(f.instance->record().earliestChangedBarIndex, 30);

  // Profile: a parsed snapshot, five level lines and the outputs of the last bar.
  PersistentStore& store = f.instance->store();
  EXPECT_EQ(store.intValue(kProfileReadyKey), 1);
  EXPECT_EQ(store.intValue(kRequestStateKey), kRequestHandled);
  ASSERT_EQ(f.chart.drawings().all().size(), 5u);
  const int last = ModuleOnStandin::kBars - 1;
  EXPECT_GT(zeroGamma.values[last], 0.0f);
  for (const ChartDrawing& drawing : f.chart.drawings().all()) {
    EXPECT_EQ(drawing.record.drawingKind, kDrawingKindHorizontalLine);
    EXPECT_GT(drawing.record.price, 0.0f);
  }

  const auto requests = parseRecordedRequests(f.standin.recordedRequests());
  ASSERT_EQ(requests.size(), 2u);
  const RecordedRequest& history = requests[0];
  EXPECT_EQ(history.method, "POST");
  EXPECT_EQ(history.path, "/v2/sierra/hist/ES_SPX/classic/gex_full/majors/7");
  // 09:30 to 10:30 New York is 14:30 to 15:30 UTC.
  EXPECT_EQ(history.body, "{\"start\": 1772461800, \"end\": 1772465400}");
  EXPECT_EQ(history.senderHeaders(), (Headers{{"Authorization", "Basic it-key-42"},
                                              {"Accept", "application/json"},
                                              {"Content-Type", "application/json"},
                                              {"X-tarvio-plugin", "v2.2026.03.05"},
                                              {"User-Agent", "Sierra Chart 2911 (Hist)"}}));
  const RecordedRequest& profile = requests[1];
  EXPECT_EQ(profile.method, "GET");
  EXPECT_EQ(profile.path, "/v2/sierra/ES_SPX/classic/full");
  EXPECT_EQ(profile.body, "");
  EXPECT_EQ(profile.senderHeaders(), (Headers{{"User-Agent", "Sierra Chart 2911"},
                                              {"X-tarvio-plugin", "v2.2026.03.05"},
                                              {"Authorization", "Basic it-key-42"},
                                              {"Accept", "application/json"}}));
}

TEST(ServiceCycleTest, GreekProfileOfTheStatePackage) {
  ModuleOnStandin f;
  SKIP_UNLESS_READY(f);
  f.instance->input(kPackageInput).intValue = 1;
  f.instance->input(kGreekInput).intValue = 3;  // gamma
  f.callAt(mondayNewYork(10, 30), true);
  f.callAt(mondayNewYork(10, 30, 1));
  f.callAt(mondayNewYork(10, 30, 2));
  ASSERT_EQ(f.alerts(), 0) << f.logText();
  EXPECT_EQ(f.instance->store().intValue(kProfileReadyKey), 1);
  EXPECT_EQ(f.chart.drawings().all().size(), 2u);  // the two gamma levels
  const auto requests = parseRecordedRequests(f.standin.recordedRequests());
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].path, "/v2/sierra/ES_SPX/state/gamma");
}

TEST(ServiceCycleTest, FuturesConversionRewritesThePremiums) {
  ModuleOnStandin f;
  SKIP_UNLESS_READY(f);
  f.setText(kFuturesTargetInput, " es ");
  f.instance->input(kRequestEndTimeInput).dateTimeValue = 0.0;  // no profile requests
  f.callAt(mondayNewYork(10, 30));
  ASSERT_EQ(f.alerts(), 0) << f.logText();
  EXPECT_NE(f.logText().find("Tarvio Futures Conversion: -> ES"), std::string::npos) << f.logText();
  const float additive = f.instance->input(kAdditivePremiumInput).floatValue;
  EXPECT_NE(additive, 0.0f);
  EXPECT_EQ(f.instance->input(kMultiplicativePremiumInput).floatValue, 1.0f);

  // From the next call on the levels are placed with the new premiums.
  f.instance->input(kRequestEndTimeInput).dateTimeValue = 23.0 / 24.0;
  f.callAt(mondayNewYork(10, 30, 1), true);
  f.callAt(mondayNewYork(10, 30, 2));
  f.callAt(mondayNewYork(10, 30, 3));
  ASSERT_EQ(f.instance->store().intValue(kProfileReadyKey), 1) << f.logText();

  const auto requests = parseRecordedRequests(f.standin.recordedRequests());
  ASSERT_GE(requests.size(), 1u);
  const RecordedRequest& conversion = requests[0];
  EXPECT_EQ(conversion.method, "GET");
  EXPECT_EQ(conversion.path, "/v2/futures/conversion?ticker=es_spx&future=ES&model=additive");
  EXPECT_EQ(conversion.senderHeaders(), (Headers{{"User-Agent", "SierraChart-Tarvio/1.0"},
                                                 {"Authorization", "Bearer it-key-42"},
                                                 {"Accept", "application/json"},
                                                 {"X-tarvio-plugin", "v2.2026.03.05"}}));
}

struct AnswerCase {
  const char* fault;
  const char* expected;  // what the study is handed
};

TEST(ServiceCycleTest, TransportTurnsBrokenAnswersIntoTheHostsTexts) {
  const AnswerCase cases[] = {
      {"empty", "EMPTY_RESPONSE"},
      {"truncated", "HTTP_REQUEST_ERROR"},
      {"close", "HTTP_REQUEST_ERROR"},
      {"slow", "HTTP_REQUEST_ERROR"},
  };
  for (const AnswerCase& c : cases) {
    CurlTransportOptions options;
    options.totalTimeoutMs = 500;
    ModuleOnStandin f({"--fault", c.fault, "--slow-seconds", "2", "--fault-endpoint", "profile"},
                      options);
    SKIP_UNLESS_READY(f);
    f.callAt(mondayNewYork(10, 30), true);
    f.callAt(mondayNewYork(10, 30, 1));
    f.callAt(mondayNewYork(10, 30, 2));
    EXPECT_NE(f.logText().find("There was an error requesting data from the server."),
              std::string::npos)
        << c.fault << "\n"
        << f.logText();
    const bool emptyNote =
        f.logText().find("There are no TarVio levels for the given parameters.") !=
        std::string::npos;
    EXPECT_EQ(emptyNote, std::string(c.expected) == "EMPTY_RESPONSE") << c.fault;
    EXPECT_EQ(f.instance->store().intValue(kProfileReadyKey), 0) << c.fault;
    EXPECT_EQ(f.instance->http().outstanding(), 0) << c.fault;
  }
}

}  // namespace
