// Thousands of study calls of the real module against the stand-in serving a
// random mix of faults, under the sanitizers. After every call: at most one
// request outstanding and none left unanswered, requests resume after every
// fault that does not halt, a halt comes exactly from a refused key and ends
// with the next full recalculation, and the last good snapshot stays drawn
// unless the answer was a failed or empty transfer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <string>

#include "host/recording_canvas.h"
#include "integration/module_on_standin.h"
#include "integration/recorded_request.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

using namespace chart_host;
using namespace tarvio;

namespace {

constexpr const char* kInvalidKey = "{\"message\":\"ERROR: Invalid API Key.\"}";

int soakCalls() {
  const char* calls = std::getenv("TARVIO_SOAK_CALLS");
  return calls != nullptr && std::atoi(calls) > 0 ? std::atoi(calls) : 5000;
}

// What the study was handed on one call, by kind.
std::string classify(const std::string& text, int32_t historyState, int32_t requestState) {
  const char* request = historyState == kHistoryWaiting   ? "history"
                        : requestState == kRequestWaiting ? "profile"
                                                          : "stray";
  std::string kind;
  if (text == "HTTP_REQUEST_ERROR" || text == "EMPTY_RESPONSE") {
    kind = text;
  } else if (text == kInvalidKey) {
    kind = "invalid key";
  } else if (text.rfind("{\"error\"", 0) == 0) {
    kind = "service error";
  } else if (text.rfind("{\"timestamp\"", 0) == 0 || text.rfind("[{\"timestamp\"", 0) == 0 ||
             text == "[]") {
    kind = "good";
  } else {
    kind = "unreadable";
  }
  return std::string(request) + ": " + kind;
}

int paintedShapes(StudyInstance& instance) {
  RecordingCanvas canvas;
  instance.paint(&canvas);
  return static_cast<int>(canvas.shapes().size());
}

TEST(FaultSoakTest, StudyStaysSoundUnderRandomFaults) {
  CurlTransportOptions transport;
  transport.connectTimeoutMs = 300;
  transport.totalTimeoutMs = 300;
  ModuleOnStandin f(
      {"--fault", "random", "--fault-rate", "0.35", "--seed", "20261207", "--slow-seconds", "0.6"},
      transport);
  ASSERT_TRUE(f.setupError().empty()) << f.setupError();
  f.instance->input(kRequestIntervalInput).intValue = 1;
  f.setText(kFuturesTargetInput, "ES");
  StudyFunction study = f.module->studyFunction();
  PersistentStore& store = f.instance->store();

  std::map<std::string, int> outcomes;
  int halts = 0, recalculations = 0, stalls = 0, keptDrawn = 0, cleared = 0;
  bool fullRecalculation = true;
  int callsSinceAnswer = 0;
  const int calls = soakCalls();
  for (int call = 0; call < calls; ++call) {
    const int32_t historyBefore = store.intValue(kHistoryRequestStateKey);
    const int32_t stateBefore = store.intValue(kRequestStateKey);
    const int32_t haltedBefore = store.intValue(kRequestsHaltedKey);
    const int32_t readyBefore = store.intValue(kProfileReadyKey);
    const int shapesBefore = readyBefore != 0 ? paintedShapes(*f.instance) : 0;
    std::string delivered;
    bool answered = false;

    CallSettings settings;
    settings.currentDateTime = settings.clockDateTime = mondayNewYork(10, 0) + call * 1000000LL;
    settings.fullRecalculation = fullRecalculation;
    settings.waitForHttpAnswer = true;
    f.instance->runCallWith(settings, [&](HostStudyInterface& sc) {
      answered = sc.httpResponseRequestId != 0;
      if (answered) delivered = hostStringText(sc.httpResponseText);
      study(sc);
    });
    if (fullRecalculation) ++recalculations;
    fullRecalculation = false;

    // Never more than one request waits, and each is answered on the next call.
    ASSERT_LE(f.instance->http().outstanding(), 1) << "call " << call;
    callsSinceAnswer = answered || f.instance->http().outstanding() == 0 ? 0 : callsSinceAnswer + 1;
    ASSERT_LE(callsSinceAnswer, 1) << "request stuck at call " << call;

    const int32_t halted = store.intValue(kRequestsHaltedKey);
    if (answered) {
      const std::string kind = classify(delivered, historyBefore, stateBefore);
      ++outcomes[kind];
      if (kind == "profile: invalid key") {
        ASSERT_EQ(halted, 1) << "call " << call;
      } else if (haltedBefore == 0) {
        ASSERT_EQ(halted, 0) << kind << " halted at call " << call;
      }
      // A service error or an unreadable body keeps the last good levels drawn;
      // a failed or empty transfer clears them.
      if (stateBefore == kRequestWaiting && haltedBefore == 0 && readyBefore != 0 &&
          shapesBefore > 0) {
        const int shapesAfter = paintedShapes(*f.instance);
        if (kind == "profile: service error" || kind == "profile: unreadable") {
          ASSERT_EQ(shapesAfter, shapesBefore) << kind << " at call " << call;
          ++keptDrawn;
        } else if (kind == "profile: HTTP_REQUEST_ERROR" || kind == "profile: EMPTY_RESPONSE") {
          ASSERT_EQ(shapesAfter, 0) << kind << " at call " << call;
          ++cleared;
        }
      }
    }
    if (halted != 0) {
      // A refused key stops requests until a full recalculation lifts it.
      ++halts;
      ASSERT_EQ(f.instance->http().outstanding(), 0);
      fullRecalculation = true;
    } else if (!answered && f.instance->http().outstanding() == 0 &&
               store.intValue(kHistoryRequestStateKey) != kHistoryWaiting) {
      // Nothing in flight and not halted: the next request is due within the interval.
      ++stalls;
      ASSERT_LE(stalls, 2) << "requests did not resume by call " << call;
    } else {
      stalls = 0;
    }
  }

  std::map<std::string, int> faults;
  for (const RecordedRequest& request : parseRecordedRequests(f.standin.recordedRequests())) {
    ++faults[request.path.rfind("/v2/futures", 0) == 0 ? "futures " + request.fault
                                                       : request.fault];
  }
  std::cout << "soak: " << calls << " calls, " << recalculations << " full recalculations, "
            << halts << " halted calls; last good snapshot still drawn " << keptDrawn
            << " times, cleared " << cleared << " times\nfaults served:";
  for (const auto& [fault, count] : faults) std::cout << " " << fault << "=" << count;
  std::cout << "\noutcomes:";
  for (const auto& [kind, count] : outcomes) std::cout << " [" << kind << "]=" << count;
  std::cout << std::endl;
  EXPECT_GT(outcomes["profile: good"], calls / 10);
  EXPECT_GT(outcomes["profile: invalid key"], 0);
}

}  // namespace
