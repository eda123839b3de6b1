#include "support/market_hours_chart.h"

#include "support/minute_bars.h"
#include "study/study_function.h"

using namespace tarvio;

MarketHoursChart::MarketHoursChart(std::span<const MarketSession> sessions)
    : instance_(chart_, runStudyFunction, 1) {
  for (const MarketSession& session : sessions) {
    for (int32_t minute = session.firstMinute; minute < session.endMinute; ++minute) {
      const float price = 5800.0f + static_cast<float>(minute % 23);
      chart_.appendBar(Bar{session.day * kMicrosecondsPerDay + minute * kBarMinute,
                           price, price + 1, price - 1, price, 100});
    }
  }
  instance_.runSetDefaultsPass();
}

MarketHoursChart::~MarketHoursChart() { instance_.runLastCall(true); }

void MarketHoursChart::call(const std::function<void(HostStudyInterface&)>& body) {
  instance_.runCallWith(callAt(chart_.bars().empty() ? 0 : chart_.barDateTimes().back()), body);
}
