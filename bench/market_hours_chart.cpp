#include "bench/market_hours_chart.h"

#include "bench/trading_days.h"
#include "study/study_function.h"

MarketHoursChart::MarketHoursChart() : instance_(chart_, runStudyFunction, 1) {
  for (int day = 0; day < kTradingDays; ++day) {
    for (int minute = 0; minute < kMinutesPerTradingDay; ++minute) {
      const float price = 5800.0f + static_cast<float>(minute % 23);
      chart_.appendBar(Bar{marketMinuteChartTime(day, minute), price, price + 1, price - 1, price,
                           100});
    }
  }
  instance_.runSetDefaultsPass();
}

MarketHoursChart::~MarketHoursChart() { instance_.runLastCall(true); }

void MarketHoursChart::call(const std::function<void(HostStudyInterface&)>& body) {
  CallSettings settings;
  settings.currentDateTime = chart_.barDateTimes().back();
  settings.clockDateTime = settings.currentDateTime;
  instance_.runCallWith(settings, body);
}
