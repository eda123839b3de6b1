#include "tools/standin/spot_bars.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace standin {

namespace {

double onQuarter(double price) { return std::round(price * 4.0) / 4.0; }

}  // namespace

std::string spotBarsCsv(const MarketModel& model, const std::string& ticker, int64_t from, int64_t to) {
  const TickerTraits traits = tickerTraits(ticker);
  std::string csv = "datetime,open,high,low,close,volume\n";
  for (int64_t minute = (from + 59) / 60 * 60; minute < to; minute += 60) {
    // The spot sampled every second of the minute.
    double open = model.spot(traits, minute);
    double high = open, low = open, close = open;
    for (int64_t second = 1; second < 60; ++second) {
      close = model.spot(traits, minute + second);
      high = std::max(high, close);
      low = std::min(low, close);
    }
    const double volume = 600.0 + std::round(900.0 * model.unit(traits, static_cast<uint64_t>(minute)));
    const std::time_t at = static_cast<std::time_t>(minute);
    std::tm utc{};
    gmtime_r(&at, &utc);
    char line[160];
    std::snprintf(line, sizeof line, "%04d-%02d-%02dT%02d:%02d:00Z,%.2f,%.2f,%.2f,%.2f,%.0f\n",
                  utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, onQuarter(open),
                  onQuarter(high), onQuarter(low), onQuarter(close), volume);
    csv += line;
  }
  return csv;
}

}  // namespace standin
