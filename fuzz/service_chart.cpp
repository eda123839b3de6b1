#include "fuzz/service_chart.h"

#include "fuzz/fuzz_host.h"
#include "study/study_function.h"

namespace fuzz {

namespace {

// 2024-06-06 and 2024-06-07 (Thursday, Friday), days since 1899-12-30, so
// that Unix seconds of those days (1717632000 on) land on bars.
constexpr int64_t kThursday = 45449;
constexpr int64_t kFriday = kThursday + 1;
constexpr int32_t kStudyId = 1;

HostDateTime atMinuteOfDay(int64_t day, int32_t minute) {
  return day * kMicrosecondsPerDay + minute * kMicrosecondsPerMinute;
}

}  // namespace

ServiceChart::ServiceChart(bool withBars) : instance_(chart_, runStudyFunction, kStudyId) {
  // The last half hour of Thursday's market hours, then all of Friday's (09:30
  // to 16:00): a history maps times in the night between onto Thursday's last bar.
  auto appendMarketHours = [&](int64_t day, int32_t firstMinute) {
    for (int32_t minute = firstMinute; minute < 16 * 60; ++minute) {
      const float price = 5350.0f + static_cast<float>(minute % 17);
      chart_.appendBar(Bar{atMinuteOfDay(day, minute), price, price + 1, price - 1, price, 100});
    }
  };
  if (withBars) {
    appendMarketHours(kThursday, 15 * 60 + 30);
    appendMarketHours(kFriday, 9 * 60 + 30);
  }
  instance_.runSetDefaultsPass();
}

void ServiceChart::call(const std::function<void(HostStudyInterface&)>& body) {
  CallSettings settings;
  settings.currentDateTime = chart_.bars().empty() ? 0 : chart_.barDateTimes().back();
  settings.clockDateTime = settings.currentDateTime;
  resetLoggedLines();
  instance_.runCallWith(settings, [&](HostStudyInterface& sc) {
    // The checking log verifies every text as the host relies on it; the
    // chart's own log is put back once the body is done.
    const auto chartLog = sc.ops.HostAddMessageToLog;
    sc.ops.HostAddMessageToLog = fuzzHost().ops.HostAddMessageToLog;
    body(sc);
    sc.ops.HostAddMessageToLog = chartLog;
  });
}

ServiceChart& serviceChart() {
  static ServiceChart* const chart = new ServiceChart(true);
  return *chart;
}

ServiceChart& serviceChartWithoutBars() {
  static ServiceChart* const chart = new ServiceChart(false);
  return *chart;
}

}  // namespace fuzz
