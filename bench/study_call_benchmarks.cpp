// How much an ordinary study call costs: the study function on a chart update
// that brings no answer and owes no request, as most calls are, over its
// floor, an empty study function called through the same host record in the
// same way. The difference is what the study itself spends on such a call.
#include <cstdio>

#include "bench/families.h"
#include "study/instance_state.h"
#include "study/study_function.h"

using namespace chart_host;
using namespace tarvio;

// The floor's study function: the host's call and nothing else. C linkage
// like a real study function's, and never inlined into the call.
extern "C" __attribute__((noinline)) void emptyStudyFunction(HostStudyInterface&) {}

namespace {

constexpr const char* kStudyCallName = "call/no_response/study";
constexpr const char* kEmptyCallName = "call/no_response/empty_study";

// Calls of a study that has already asked for its profile just now: the
// request is handled and the interval has not passed, so a call neither sends
// nor reads anything. Both instances sit on one chart and take the same
// settings, so the host's share of a call is the same for both.
class StudyCallScene {
 public:
  StudyCallScene()
      : study_(chart_, runStudyFunction, 1), empty_(chart_, emptyStudyFunction, 2),
        settings_(callAt(kBenchCallTime)) {
    appendBenchBars(chart_);
    for (StudyInstance* instance : {&study_, &empty_}) {
      instance->runSetDefaultsPass();
      instance->runCall(settings_);
    }
    study_.store().intValue(kRequestStateKey) = kRequestHandled;
    study_.store().int64Value(kLastRequestTimeKey) = settings_.currentDateTime;
    problem_ = checkQuiet();
  }

  ~StudyCallScene() {
    study_.runLastCall(true);
    empty_.runLastCall(true);
  }

  // Empty when further calls leave the request handled and log nothing;
  // otherwise the call measured would not be the quiet one.
  const std::string& problem() const { return problem_; }

  void callStudy() { study_.runCall(settings_); }
  void callEmpty() { empty_.runCall(settings_); }

 private:
  std::string checkQuiet() {
    study_.log().clear();
    for (int i = 0; i < 3; ++i) callStudy();
    if (study_.store().intValue(kRequestStateKey) != kRequestHandled)
      return "the study call changed the request state";
    if (!study_.log().lines().empty())
      return "the study call logged: " + study_.log().lines().front().text;
    return {};
  }

  Chart chart_;
  StudyInstance study_;
  StudyInstance empty_;
  CallSettings settings_;
  std::string problem_;
};

template <void (StudyCallScene::*Call)()>
void measureCall(benchmark::State& state) {
  StudyCallScene scene;
  if (!worthMeasuring(state, scene.problem())) return;
  for (auto _ : state) (scene.*Call)();
}

void printStudyCallTable(FigureReporter& figures) {
  const auto study = figures.cpuNanoseconds(kStudyCallName);
  const auto empty = figures.cpuNanoseconds(kEmptyCallName);
  if (!study || !empty) return;
  const double ratio = *study / *empty;
  std::printf("\nOrdinary call without a response over an empty study call (median CPU time)\n");
  std::printf("%13s %13s %9s %12s\n", "study call ns", "empty call ns", "study/", "study's own");
  std::printf("%13s %13s %9s %12s\n", "", "", "empty", "ns");
  std::printf("%13.1f %13.1f %9.3f %12.1f\n", *study, *empty, ratio, *study - *empty);
  std::fflush(stdout);
  // A whole call has no rows; its kind column reads "call".
  figures.record("study_call_ns", "call", 0, *study);
  figures.record("empty_call_ns", "call", 0, *empty);
  figures.record("study_call_ratio", "call", 0, ratio);
}

}  // namespace

FigureTable registerStudyCallBenchmarks() {
  benchmark::RegisterBenchmark(kEmptyCallName, measureCall<&StudyCallScene::callEmpty>);
  benchmark::RegisterBenchmark(kStudyCallName, measureCall<&StudyCallScene::callStudy>);
  return printStudyCallTable;
}
