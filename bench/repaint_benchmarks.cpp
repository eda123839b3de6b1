// How much one repaint of the GEX "Both" family costs, through a host whose
// graphics operations do nothing, over its floor, a plain sort of the values
// of both series, at each size. The repaint must rank every series by value,
// so no drawing of it can cost less than that sort; the ratio says how much
// the rest of the repaint adds.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "bench/families.h"
#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "host/call_context.h"
#include "host/recording_canvas.h"
#include "study/instance_state.h"
#include "study/study_function.h"
#include "study/study_inputs.h"

using namespace chart_host;
using namespace tarvio;

namespace {

constexpr int kRepaintStrikeCounts[] = {500, 2000, 5000};
constexpr int kInstructionStrikes = 2000;
constexpr int kInstructionPasses = 2;
// Instances of one scene: one profile sorted and drawn over and over is learnt
// by the branch predictor, so repaints cycle through several.
constexpr int kRepaintProfiles = 8;
constexpr int32_t kGexDisplayBoth = 2;
// A full-screen chart's plotting area.
constexpr PlotArea kPlotArea{60, 40, 1860, 1040};

// Study instances on one chart, each holding a GEX profile parsed from a
// different generated response of one size, the chart's price range covering
// every strike. Built and checked once by the measuring thread, then kept.
class RepaintScene {
 public:
  explicit RepaintScene(int strikes) {
    chart_.setPlotArea(kPlotArea);
    appendBenchBars(chart_);
    problem_ = setUp(strikes);
    if (problem_.empty()) problem_ = checkDrawing();
  }
  // The last call of every instance releases its profiles.
  ~RepaintScene() {
    for (auto& instance : instances_) instance->runLastCall(true);
  }

  // Empty when every instance holds its profile and a repaint draws every bar
  // of both series; otherwise what went wrong, and nothing is worth measuring.
  const std::string& problem() const { return problem_; }
  std::size_t size() const { return instances_.size(); }
  const GexProfile& profile(std::size_t i) const { return *profiles_[i]; }

  // The callback is called directly rather than through StudyInstance::paint,
  // which first brings the record's bar arrays and plotting area up to date
  // with the chart: that is this test host's bookkeeping, not the study's,
  // and nothing it refreshes changes between repaints here. No canvas: every
  // graphics operation does nothing, while prices still map to pixels.
  void repaint(std::size_t i) {
    StudyInstance& instance = *instances_[i];
    CallScope scope(instance, nullptr);
    instance.record().graphicsCallback(nullptr, nullptr, instance.record());
  }

 private:
  std::string setUp(int strikes) {
    std::vector<std::string> bodies;
    for (int seed = 1; seed <= kRepaintProfiles; ++seed)
      bodies.push_back(makeProfileResponse(ProfileKind::Gex, strikes, static_cast<uint64_t>(seed)));
    float lowest = 1e30f;
    float highest = 0.0f;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
      auto instance = std::make_unique<StudyInstance>(chart_, runStudyFunction, int32_t(i) + 1);
      instance->runSetDefaultsPass();
      instance->input(kGexDisplayInput).intValue = kGexDisplayBoth;
      // The call registers the graphics callback.
      instance->runCall(callAt(kBenchCallTime));
      // Owned by the instance from here on: its last call deletes both.
      auto* gex = new GexProfile;
      instance->store().pointerValue(kGexProfileKey) = gex;
      instance->store().pointerValue(kGreekProfileKey) = new GreekProfile;
      ReadOutcome outcome = ReadOutcome::Retry;
      instance->runCallWith(callAt(kBenchCallTime), [&](HostStudyInterface& sc) {
        outcome = parse_gex_profile(sc, bodies[i].c_str(), gex);
      });
      instance->store().intValue(kProfileReadyKey) = 1;
      instances_.push_back(std::move(instance));
      profiles_.push_back(gex);
      if (outcome != ReadOutcome::Parsed) return "a GEX response did not parse";
      if (instances_.back()->record().graphicsCallback == nullptr)
        return "the study registered no graphics callback";
      const auto [low, high] = std::minmax_element(gex->strikes.begin(), gex->strikes.end());
      lowest = std::min(lowest, *low);
      highest = std::max(highest, *high);
    }
    // A margin, so the outermost strikes' bars lie inside the plotting area.
    const float margin = (highest - lowest) * 0.02f + 1.0f;
    chart_.setPriceRange(lowest - margin, highest + margin);
    return {};
  }

  // Checked once, outside any timing: with the default bar style every value
  // of both series but 0 fills one rectangle; fewer means the repaint
  // returned early or drew one series only.
  std::string checkDrawing() {
    for (std::size_t i = 0; i < instances_.size(); ++i) {
      const GexProfile& gex = *profiles_[i];
      const auto nonZero = [](float value) { return value != 0.0f; };
      const auto bars = std::count_if(gex.gex_vol.begin(), gex.gex_vol.end(), nonZero) +
                        std::count_if(gex.gex_oi.begin(), gex.gex_oi.end(), nonZero);
      RecordingCanvas canvas;
      instances_[i]->paint(&canvas);
      const auto rectangles = canvas.shapesOf(ShapeKind::Rectangle).size();
      if (rectangles < static_cast<std::size_t>(bars)) {
        return "a repaint of " + std::to_string(gex.strikes.size()) + " strikes filled " +
               std::to_string(rectangles) + " rectangles for " + std::to_string(bars) + " bars";
      }
    }
    return {};
  }

  Chart chart_;
  std::vector<std::unique_ptr<StudyInstance>> instances_;
  std::vector<const GexProfile*> profiles_;
  std::string problem_;
};

RepaintScene& repaintScene(int strikes) {
  static std::map<int, std::unique_ptr<RepaintScene>> built;
  std::unique_ptr<RepaintScene>& slot = built[strikes];
  if (!slot) slot = std::make_unique<RepaintScene>(strikes);
  return *slot;
}

// The floor: each series' values copied into a scratch buffer and sorted, as
// the repaint ranks each series on its own. One ascending sort orders both
// signs of a series, all the ranking the drawing needs; the repaint's split by
// sign into (strike, value, index) entries is a cost of its design the floor
// leaves out. The copy stays in: the repaint gathers the values too. One sort
// of both series together would be no closer: the repaint never ranks one
// series against the other, and one sort of twice the values costs more.
KEPT_APART void sortSeriesValues(const GexProfile& profile, std::vector<float>& scratch) {
  for (const std::vector<float>* series : {&profile.gex_vol, &profile.gex_oi}) {
    scratch.assign(series->begin(), series->end());
    std::sort(scratch.begin(), scratch.end());
    // Each sort's result counts, not only the last one.
    benchmark::DoNotOptimize(scratch.data());
    benchmark::ClobberMemory();
  }
}

std::string repaintName(int strikes) { return "gex_both/" + std::to_string(strikes) + "/repaint"; }
std::string floorName(int strikes) { return "gex_both/" + std::to_string(strikes) + "/sort_floor"; }

// The scene is built on the first call, before any timed iteration.
template <bool Floor>
void measureRepaint(benchmark::State& state, int strikes) {
  RepaintScene& scene = repaintScene(strikes);
  if (!worthMeasuring(state, scene.problem())) return;
  std::vector<float> scratch;
  std::size_t next = 0;
  for (auto _ : state) {
    if constexpr (Floor) {
      sortSeriesValues(scene.profile(next), scratch);
    } else {
      scene.repaint(next);
    }
    next = (next + 1) % scene.size();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * strikes);
}

// Each repaint over its sort floor, and the repaint's cost per strike, which
// stays near flat while the repaint grows like the sort it contains.
void printRepaintTable(FigureReporter& figures) {
  bool headed = false;
  for (int strikes : kRepaintStrikeCounts) {
    const auto repaint = figures.cpuNanoseconds(repaintName(strikes));
    const auto floor = figures.cpuNanoseconds(floorName(strikes));
    if (!repaint || !floor) continue;
    if (!std::exchange(headed, true)) {
      std::printf("\nGEX Both repaint over a sort of both series' values (median CPU time)\n");
      std::printf("%7s %11s %9s %9s %15s\n", "strikes", "repaint us", "sort us", "repaint/",
                  "repaint ns/strike");
      std::printf("%7s %11s %9s %9s\n", "", "", "", "sort");
    }
    const double ratio = *repaint / *floor;
    std::printf("%7d %11.1f %9.1f %9.3f %15.1f\n", strikes, *repaint / 1000, *floor / 1000, ratio,
                *repaint / strikes);
    figures.record("repaint_us", "gex", strikes, *repaint / 1000);
    figures.record("repaint_floor_us", "gex", strikes, *floor / 1000);
    figures.record("repaint_ratio", "gex", strikes, ratio);
  }
  std::fflush(stdout);
}

}  // namespace

// The loops callgrind counts alone (--toggle-collect='repaintLoop*' or
// 'sortFloorLoop*'). Instructions favour the floor: its sort loses its time
// to mispredicted branches rather than to instructions, so this ratio reads
// higher than the time ratio; it is for seeing where the repaint's work goes.
KEPT_APART void repaintLoop(RepaintScene& scene, int passes) {
  for (int pass = 0; pass < passes; ++pass)
    for (std::size_t i = 0; i < scene.size(); ++i) scene.repaint(i);
}

KEPT_APART void sortFloorLoop(const RepaintScene& scene, int passes) {
  std::vector<float> scratch;
  for (int pass = 0; pass < passes; ++pass)
    for (std::size_t i = 0; i < scene.size(); ++i) sortSeriesValues(scene.profile(i), scratch);
}

FigureTable registerRepaintBenchmarks() {
  for (int strikes : kRepaintStrikeCounts) {
    benchmark::RegisterBenchmark(floorName(strikes).c_str(), measureRepaint<true>, strikes)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(repaintName(strikes).c_str(), measureRepaint<false>, strikes)
        ->Unit(benchmark::kMicrosecond);
  }
  return printRepaintTable;
}

int runRepaintInstructionLoops() {
  RepaintScene& scene = repaintScene(kInstructionStrikes);
  if (!scene.problem().empty()) {
    std::fprintf(stderr, "tarvio_bench: %s\n", scene.problem().c_str());
    return 1;
  }
  sortFloorLoop(scene, kInstructionPasses);
  repaintLoop(scene, kInstructionPasses);
  std::printf("gex both, %d strikes: %zu profiles sorted and repainted %d times each\n",
              kInstructionStrikes, scene.size(), kInstructionPasses);
  return 0;
}
