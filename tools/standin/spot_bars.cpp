#include "tools/standin/spot_bars.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/support/bar_csv.h"
#include "tools/support/date_time_text.h"

namespace standin {

namespace {

double onQuarter(double price) { return std::round(price * 4.0) / 4.0; }

// 9999-12-31 23:59:59 UTC: the last second a bar file's time can show.
constexpr int64_t kLastUnixSecond = 253402300799;

}  // namespace

std::optional<std::string> spotBarsCsv(const MarketModel& model, const std::string& ticker, int64_t from, int64_t to) {
  const TickerTraits traits = tickerTraits(ticker);
  std::vector<support::PriceBar> bars;
  for (int64_t minute = (from + 59) / 60 * 60; minute < to; minute += 60) {
    if (minute > kLastUnixSecond) return std::nullopt;
    // The spot sampled every second of the minute.
    double open = model.spot(traits, minute);
    double high = open, low = open, close = open;
    for (int64_t second = 1; second < 60; ++second) {
      close = model.spot(traits, minute + second);
      high = std::max(high, close);
      low = std::min(low, close);
    }
    const double volume = 600.0 + std::round(900.0 * model.unit(traits, static_cast<uint64_t>(minute)));
    bars.push_back(support::PriceBar{support::kHostDateTimeOf1970 + minute * kMicrosecondsPerSecond,
                                     static_cast<float>(onQuarter(open)), static_cast<float>(onQuarter(high)),
                                     static_cast<float>(onQuarter(low)), static_cast<float>(onQuarter(close)),
                                     static_cast<float>(volume)});
  }
  return support::barCsvText(bars, support::BarTimes::Utc);
}

}  // namespace standin
