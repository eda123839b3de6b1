#include "tools/standin/greek_snapshot.h"

#include "tools/standin/gex_snapshot.h"
#include "tools/standin/option_chain.h"

namespace standin {

namespace {

struct StrikeGreeks {
  double call_gamma, put_gamma;  // gamma exposure, puts negative
  double call_delta, put_delta;  // delta exposure x spot x 0.01, puts negative
};

StrikeGreeks strikeGreeks(const MarketModel& model, const TickerTraits& traits, ChainExpiry expiry, double strike,
                          int64_t unix_seconds) {
  const StrikePositions positions = strikePositions(model, traits, expiry, strike, unix_seconds);
  const double calls = positions.call_oi + positions.call_volume;
  const double puts = positions.put_oi + positions.put_volume;
  const double spot = model.spot(traits, unix_seconds);
  const double years = yearsToExpiry(expiry, unix_seconds);
  const double call_delta = blackScholesCallDelta(spot, strike, impliedVolatility(traits, spot, strike), years);
  return {gammaExposure(traits, spot, strike, years, calls), gammaExposure(traits, spot, strike, years, -puts),
          call_delta * calls * spot * 0.01, (call_delta - 1) * puts * spot * 0.01};
}

double netOf(const StrikeGreeks& greeks, Greek greek) {
  return greek == Greek::Gamma ? greeks.call_gamma + greeks.put_gamma : greeks.call_delta + greeks.put_delta;
}

}  // namespace

GreekSnapshot greekSnapshot(const MarketModel& model, std::string_view ticker, Greek greek, ChainExpiry expiry,
                            int64_t unix_seconds) {
  const TickerTraits traits = tickerTraits(ticker);
  GreekSnapshot snapshot;
  snapshot.ticker = std::string(ticker);
  snapshot.timestamp = unix_seconds;
  snapshot.spot = model.spot(traits, unix_seconds);

  double highest = 0, lowest = 0, highest_gamma = 0, lowest_gamma = 0;
  for (const double strike : strikeGrid(traits, snapshot.spot, kHalfStrikeCount)) {
    const StrikeGreeks now = strikeGreeks(model, traits, expiry, strike, unix_seconds);
    GreekRow row;
    row.strike = strike;
    row.call_value = greek == Greek::Gamma ? now.call_gamma : now.call_delta;
    row.put_value = greek == Greek::Gamma ? now.put_gamma : now.put_delta;
    row.greek_value = row.call_value + row.put_value;
    for (size_t p = 0; p < kGreekPriorMinutes.size(); ++p) {
      const int64_t then = unix_seconds - 60LL * kGreekPriorMinutes[p];
      row.priors[p] = netOf(strikeGreeks(model, traits, expiry, strike, then), greek);
    }
    const double net_gamma = now.call_gamma + now.put_gamma;
    const bool first = snapshot.rows.empty();
    if (first || row.greek_value > highest) highest = row.greek_value, snapshot.major_positive = strike;
    if (first || row.greek_value < lowest) lowest = row.greek_value, snapshot.major_negative = strike;
    if (first || net_gamma > highest_gamma) highest_gamma = net_gamma, snapshot.major_long_gamma = strike;
    if (first || net_gamma < lowest_gamma) lowest_gamma = net_gamma, snapshot.major_short_gamma = strike;
    snapshot.rows.push_back(row);
  }
  return snapshot;
}

}  // namespace standin
