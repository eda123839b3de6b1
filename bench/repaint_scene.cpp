#include "bench/repaint_scene.h"

#include <algorithm>
#include <map>

#include "bench/chart_setup.h"
#include "bench/counting_canvas.h"
#include "bench/response_corpus.h"
#include "data/greek_profile.h"
#include "host/call_context.h"
#include "study/instance_state.h"
#include "study/study_function.h"
#include "study/study_inputs.h"

using namespace chart_host;

namespace {

constexpr int32_t kGexDisplayBoth = 2;
// A full-screen chart's plotting area.
constexpr PlotArea kPlotArea{60, 40, 1860, 1040};

bool nonZero(float value) { return value != 0.0f; }

}  // namespace

RepaintScene::RepaintScene(int strikes) {
  chart_.setPlotArea(kPlotArea);
  appendMinuteBars(chart_, 3);
  problem_ = setUp(strikes);
  if (problem_.empty()) problem_ = checkDrawing();
}

RepaintScene::~RepaintScene() {
  for (auto& instance : instances_) instance->runLastCall(true);
}

std::string RepaintScene::setUp(int strikes) {
  const ResponseCorpus& corpus = responseCorpus(ProfileKind::Gex, strikes);
  if (!corpus.problem.empty()) return corpus.problem;
  const CallSettings settings = ordinaryCallSettings();
  float lowest = corpus.bodies.empty() ? 0.0f : 1e30f;
  float highest = 0.0f;
  for (int i = 0; i < kRepaintProfiles && i < static_cast<int>(corpus.bodies.size()); ++i) {
    auto instance = std::make_unique<StudyInstance>(chart_, runStudyFunction, i + 1);
    instance->runSetDefaultsPass();
    instance->input(kGexDisplayInput).intValue = kGexDisplayBoth;
    // The call registers the graphics callback.
    instance->runCall(settings);

    // Owned by the instance from here on: its last call deletes both.
    auto* gex = new GexProfile;
    instance->store().pointerValue(kGexProfileKey) = gex;
    instance->store().pointerValue(kGreekProfileKey) = new GreekProfile;
    ProfileParseResult outcome = ProfileParseResult::Retry;
    instance->runCallWith(settings, [&](HostStudyInterface& sc) {
      outcome = parse_gex_profile(sc, corpus.bodies[i].c_str(), gex);
    });
    instance->store().intValue(kProfileReadyKey) = 1;
    instances_.push_back(std::move(instance));
    profiles_.push_back(gex);
    if (outcome != ProfileParseResult::Parsed) return "a GEX response did not parse";
    if (instances_.back()->record().graphicsCallback == nullptr) {
      return "the study registered no graphics callback";
    }
    const auto [low, high] = std::minmax_element(gex->strikes.begin(), gex->strikes.end());
    lowest = std::min(lowest, *low);
    highest = std::max(highest, *high);
  }
  // A margin, so the outermost strikes' bars lie inside the plotting area.
  const float margin = (highest - lowest) * 0.02f + 1.0f;
  chart_.setPriceRange(lowest - margin, highest + margin);
  return {};
}

// With the default bar style every value of both series but 0 fills one
// rectangle: fewer means the repaint returned early or drew one series only.
std::string RepaintScene::checkDrawing() {
  for (std::size_t i = 0; i < instances_.size(); ++i) {
    const GexProfile& gex = *profiles_[i];
    const auto bars = std::count_if(gex.gex_vol.begin(), gex.gex_vol.end(), nonZero) +
                      std::count_if(gex.gex_oi.begin(), gex.gex_oi.end(), nonZero);
    CountingCanvas canvas;
    instances_[i]->paint(&canvas);
    if (canvas.rectangles < bars) {
      return "a repaint of " + std::to_string(gex.strikes.size()) + " strikes filled " +
             std::to_string(canvas.rectangles) + " rectangles for " + std::to_string(bars) +
             " bars";
    }
  }
  return {};
}

// The callback is called directly rather than through StudyInstance::paint,
// which first brings the record's bar arrays and plotting area up to date
// with the chart: that is this test host's bookkeeping, not the study's, and
// nothing it refreshes changes between repaints here (the set-up's calls and
// the drawing check already filled the record).
void RepaintScene::repaint(std::size_t i) {
  StudyInstance& instance = *instances_[i];
  CallScope scope(instance, nullptr);
  instance.record().graphicsCallback(nullptr, nullptr, instance.record());
}

RepaintScene& repaintScene(int strikes) {
  static std::map<int, std::unique_ptr<RepaintScene>> built;
  std::unique_ptr<RepaintScene>& slot = built[strikes];
  if (!slot) slot = std::make_unique<RepaintScene>(strikes);
  return *slot;
}
