#include "bench/study_call_benchmarks.h"

#include <benchmark/benchmark.h>

#include "bench/chart_setup.h"
#include "host/chart.h"
#include "host/study_instance.h"
#include "study/instance_state.h"
#include "study/study_function.h"

using namespace chart_host;

// The floor's study function: the host's call and nothing else. C linkage
// like a real study function's, and never inlined into the call.
extern "C" __attribute__((noinline)) void emptyStudyFunction(HostStudyInterface&) {}

namespace {

// Calls of a study that has already asked for its profile just now: the
// request is handled and the interval has not passed, so a call neither sends
// nor reads anything. Both instances sit on one chart and take the same
// settings, so the host's share of a call is the same for both.
class StudyCallScene {
 public:
  StudyCallScene()
      : study_(chart_, runStudyFunction, 1), empty_(chart_, emptyStudyFunction, 2),
        settings_(ordinaryCallSettings()) {
    appendMinuteBars(chart_, 3);
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
    if (study_.store().intValue(kRequestStateKey) != kRequestHandled) {
      return "the study call changed the request state";
    }
    if (!study_.log().lines().empty()) {
      return "the study call logged: " + study_.log().lines().front().text;
    }
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
  if (!scene.problem().empty()) {
    state.SkipWithError(scene.problem().c_str());
    return;
  }
  for (auto _ : state) (scene.*Call)();
}

}  // namespace

StudyCallMeasurement registerStudyCallBenchmarks() {
  StudyCallMeasurement set{"call/no_response/study", "call/no_response/empty_study"};
  benchmark::RegisterBenchmark(set.emptyCallName.c_str(),
                               measureCall<&StudyCallScene::callEmpty>);
  benchmark::RegisterBenchmark(set.studyCallName.c_str(),
                               measureCall<&StudyCallScene::callStudy>);
  return set;
}
