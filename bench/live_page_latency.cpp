// How soon the live page shows a chart's change: the time from a chart's
// publication of a change to its new picture loaded in a real headless
// browser showing the board's page, over many changes on the real clock.
// Not a Google Benchmark and not a test: it prints the median, the 95th
// percentile and the largest, for a person to read.
//
// Two charts (the study on a chart of minute bars), each on its own thread
// with its own WaitWork and LiveOutputs as a run's charts are: each adds a
// bar every `--every` ms (the two half a period apart) and publishes the
// change after its call, and draws the page's size between calls. The page
// learns of each change from the events, fetches the board's status, then
// the chart's picture at the size it shows it, which the chart's thread
// draws. Publication and load are stamped on the same wall clock.
//   tarvio_live_latency [CHANGES] [EVERY_MS]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <rapidjson/document.h>
#include <stdlib.h>

#include "integration/headless_browser.h"
#include "support/minute_bars.h"
#include "support/study_fixture.h"
#include "tools/chart/live/live_view.h"
#include "tools/chart/live/live_view_outputs.h"

namespace {

using namespace chart_tool;
using SystemClock = std::chrono::system_clock;

int64_t wallMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(SystemClock::now().time_since_epoch()).count();
}

// Publication times of each chart's changes, by chart and change.
struct Published {
  std::mutex mutex;
  std::map<std::pair<std::string, int64_t>, int64_t> at_ms;
};

// One chart of the run: its study on minute bars, its thread and its page feed.
class BenchChart {
 public:
  BenchChart(std::string name, live::LiveBoard& board, Published& published)
      : name_(std::move(name)), study_(240), published_(published) {
    picture_.width = 1100;
    picture_.height = 640;
    picture_.title = name_;
    std::string error;
    live_.open(&board, "", &wait_, [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }, error);
  }
  ~BenchChart() { live_.stop(); }

  // Changes every `every`, from `offset`, until `running` is false.
  void run(std::chrono::milliseconds every, std::chrono::milliseconds offset, const std::atomic<bool>& running) {
    auto next = std::chrono::steady_clock::now() + offset;
    int64_t bar = 240;
    for (int64_t changes = 1; running; ++changes) {
      while (running && std::chrono::steady_clock::now() < next)
        wait_.napFor(std::chrono::duration_cast<std::chrono::microseconds>(next - std::chrono::steady_clock::now()));
      next += every;
      const float price = 5000.0f + 20.0f * std::sin(static_cast<float>(bar) / 9.0f);
      appendMinuteBars(study_.chart, atTimeOfDay(kMonday2026_03_02, 6, 0) + bar++ * kBarMinute, 1, price);
      study_.call();
      publish(changes);
    }
  }

 private:
  void publish(int64_t changes) {
    run::ServiceRecord service;
    run::PriceRecord price(true, true);
    run::MessageCounts messages;
    run::CallRecord call(changes, 0, study_.instance, service, price, messages, picture_);
    call.changed = true;
    call.changes = changes;
    call.status = "{\"title\":\"" + name_ + "\",\"changes\":" + std::to_string(changes) + "}\n";
    {
      std::lock_guard lock(published_.mutex);
      published_.at_ms[{name_, changes}] = wallMs();
    }
    live_.afterCall(call);
  }

  const std::string name_;
  StudyFixture study_;
  chart_host::ChartPictureOptions picture_;
  run::WaitWork wait_;
  live::LiveOutputs live_;
  Published& published_;
};

// Records, in the page, when each chart's picture of a change has loaded.
constexpr const char* kWatchLoads = R"((() => {
  window.loads = [];
  for (const name of ['ES', 'NQ']) {
    const shown = window.liveBoard.charts[name];
    let value = shown.changesShown;
    Object.defineProperty(shown, 'changesShown', {
      get() { return value; },
      set(changes) { value = changes; window.loads.push([name, changes, Date.now()]); },
    });
  }
  return true;
})())";

double percentile(std::vector<int64_t> values, double share) {
  std::sort(values.begin(), values.end());
  const double at = share * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(std::floor(at));
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return static_cast<double>(values[low]) + (at - static_cast<double>(low)) * static_cast<double>(values[high] - values[low]);
}

// Each load's time after its change's publication: the median, the 95th
// percentile and the largest. Changes a later one overtook before their
// picture loaded are not counted.
int report(const std::string& loads, Published& published, std::chrono::milliseconds every) {
  rapidjson::Document shown;
  shown.Parse(loads.c_str());
  if (!shown.IsArray()) return 1;
  std::vector<int64_t> latencies_ms;
  std::lock_guard lock(published.mutex);
  for (const auto& load : shown.GetArray()) {
    const auto found = published.at_ms.find({load[0].GetString(), load[1].GetInt64()});
    if (found != published.at_ms.end()) latencies_ms.push_back(load[2].GetInt64() - found->second);
  }
  if (latencies_ms.empty()) return 1;
  std::printf("changes shown: %zu (of %zu published, a change every %lld ms per chart, two charts)\n",
              latencies_ms.size(), published.at_ms.size(), static_cast<long long>(every.count()));
  std::printf("publication to picture loaded: median %.0f ms, 95th percentile %.0f ms, largest %.0f ms\n",
              percentile(latencies_ms, 0.5), percentile(latencies_ms, 0.95), percentile(latencies_ms, 1.0));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int wanted = argc > 1 ? std::atoi(argv[1]) : 100;
  const std::chrono::milliseconds every(argc > 2 ? std::atoi(argv[2]) : 600);
  const std::string browserProgram = live_test::HeadlessBrowser::find();
  if (browserProgram.empty()) {
    std::fprintf(stderr, "tarvio_live_latency: no headless browser (chromium-headless-shell or chromium)\n");
    return 1;
  }
  std::string error;
  std::unique_ptr<live::LiveView> view =
      live::LiveView::start(live::LivePageSettings{live::readServeAddress("127.0.0.1:0"), false}, {"ES", "NQ"}, error);
  if (!view) {
    std::fprintf(stderr, "tarvio_live_latency: %s\n", error.c_str());
    return 1;
  }
  Published published;
  BenchChart es("ES", view->board(0), published);
  BenchChart nq("NQ", view->board(1), published);
  std::atomic<bool> running{true};
  std::thread esThread([&] { es.run(every, std::chrono::milliseconds(0), running); });
  std::thread nqThread([&] { nq.run(every, every / 2, running); });

  char profile[] = "/tmp/tarvio_live_latency.XXXXXX";
  if (mkdtemp(profile) == nullptr) return 1;
  std::optional<std::string> loads;
  {
    live_test::HeadlessBrowser browser(browserProgram, profile);
    if (!browser.open(view->url(), 1600, 1000, error) ||
        !browser.waitFor("window.liveBoard.charts.ES?.pictures > 0 && window.liveBoard.charts.NQ?.pictures > 0", 20) ||
        !browser.evaluate(kWatchLoads)) {
      std::fprintf(stderr, "tarvio_live_latency: the page did not show both charts: %s\n", error.c_str());
    } else {
      const double longest_s = 10.0 + wanted * every.count() / 2000.0 * 1.5;
      browser.waitFor("window.loads.length >= " + std::to_string(wanted), longest_s);
      loads = browser.evaluate("window.loads");
    }
  }
  running = false;
  esThread.join();
  nqThread.join();
  std::filesystem::remove_all(profile);
  if (!loads) return 1;

  return report(*loads, published, every);
}
