#include "tools/standin/gex_snapshot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace standin {

namespace {

struct StrikeGex {
  double by_volume;
  double by_open_interest;
};

StrikeGex strikeGex(const MarketModel& model, const TickerTraits& traits, ChainExpiry expiry, double strike,
                    int64_t unix_seconds) {
  const StrikePositions positions = strikePositions(model, traits, expiry, strike, unix_seconds);
  const double spot = model.spot(traits, unix_seconds);
  const double years = yearsToExpiry(expiry, unix_seconds);
  return {gammaExposure(traits, spot, strike, years, positions.call_volume - positions.put_volume),
          gammaExposure(traits, spot, strike, years, positions.call_oi - positions.put_oi)};
}

// Net open-interest gamma exposure if the spot stood at `spot`.
double netExposureAt(const TickerTraits& traits, const std::vector<double>& strikes,
                     const std::vector<double>& net_open_interest, double years, double spot) {
  double sum = 0;
  for (size_t i = 0; i < strikes.size(); ++i) {
    sum += gammaExposure(traits, spot, strikes[i], years, net_open_interest[i]);
  }
  return sum;
}

// Strikes of the largest and smallest value of `values` (first one on ties).
std::pair<double, double> extremeStrikes(const std::vector<double>& strikes, const std::vector<double>& values) {
  size_t high = 0, low = 0;
  for (size_t i = 1; i < values.size(); ++i) {
    if (values[i] > values[high]) high = i;
    if (values[i] < values[low]) low = i;
  }
  return {strikes[high], strikes[low]};
}

}  // namespace

double zeroGammaLevel(const MarketModel& model, const TickerTraits& traits, ChainExpiry expiry,
                      const std::vector<double>& strikes, int64_t unix_seconds) {
  const double years = yearsToExpiry(expiry, unix_seconds);
  std::vector<double> net(strikes.size());
  for (size_t i = 0; i < strikes.size(); ++i) {
    const StrikePositions positions = strikePositions(model, traits, expiry, strikes[i], unix_seconds);
    net[i] = positions.call_oi - positions.put_oi;
  }
  const double spot = model.spot(traits, unix_seconds);
  const auto exposure = [&](double x) { return netExposureAt(traits, strikes, net, years, x); };

  // Scan every other strike for sign changes; keep the one nearest the spot.
  double best_low = 0, best_high = 0, best_distance = std::numeric_limits<double>::infinity();
  double smallest_at = spot, smallest = std::numeric_limits<double>::infinity();
  double previous_x = strikes.front(), previous = exposure(previous_x);
  for (size_t i = 2; i < strikes.size() + 1; i += 2) {
    const double x = strikes[std::min(i, strikes.size() - 1)];
    const double value = exposure(x);
    if (std::fabs(value) < smallest) smallest = std::fabs(value), smallest_at = x;
    if ((previous < 0) != (value < 0)) {
      const double distance = std::fabs(0.5 * (previous_x + x) - spot);
      if (distance < best_distance) best_distance = distance, best_low = previous_x, best_high = x;
    }
    previous_x = x, previous = value;
  }
  if (!std::isfinite(best_distance)) return smallest_at;

  double low = best_low, high = best_high;
  const bool low_negative = exposure(low) < 0;
  for (int step = 0; step < 30; ++step) {
    const double middle = 0.5 * (low + high);
    if ((exposure(middle) < 0) == low_negative) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return 0.5 * (low + high);
}

GexSnapshot gexSnapshot(const MarketModel& model, std::string_view ticker, ChainExpiry expiry,
                        int64_t unix_seconds) {
  const TickerTraits traits = tickerTraits(ticker);
  GexSnapshot snapshot;
  snapshot.ticker = std::string(ticker);
  snapshot.timestamp = unix_seconds;
  snapshot.spot = model.spot(traits, unix_seconds);
  snapshot.delta_risk_reversal = model.riskReversal(traits, unix_seconds);

  const std::vector<double> strikes = strikeGrid(traits, snapshot.spot, kHalfStrikeCount);
  std::vector<double> by_volume(strikes.size()), by_open_interest(strikes.size());
  std::array<double, kGexPriorMinutes.size()> largest_change{};
  for (size_t i = 0; i < strikes.size(); ++i) {
    const StrikeGex now = strikeGex(model, traits, expiry, strikes[i], unix_seconds);
    GexRow row;
    row.strike = strikes[i];
    row.gex_vol = by_volume[i] = now.by_volume;
    row.gex_oi = by_open_interest[i] = now.by_open_interest;
    for (size_t p = 0; p < kGexPriorMinutes.size(); ++p) {
      const int64_t then = unix_seconds - 60LL * kGexPriorMinutes[p];
      row.priors[p] = strikeGex(model, traits, expiry, strikes[i], then).by_volume;
      const double change = row.gex_vol - row.priors[p];
      if (i == 0 || std::fabs(change) > largest_change[p]) {
        largest_change[p] = std::fabs(change);
        snapshot.max_priors[p] = {row.strike, change};
      }
    }
    snapshot.sum_gex_vol += row.gex_vol;
    snapshot.sum_gex_oi += row.gex_oi;
    snapshot.rows.push_back(row);
  }
  std::tie(snapshot.major_pos_vol, snapshot.major_neg_vol) = extremeStrikes(strikes, by_volume);
  std::tie(snapshot.major_pos_oi, snapshot.major_neg_oi) = extremeStrikes(strikes, by_open_interest);
  snapshot.zero_gamma = zeroGammaLevel(model, traits, expiry, strikes, unix_seconds);
  return snapshot;
}

MajorsPoint majorsPoint(const MarketModel& model, const TickerTraits& traits, int64_t unix_seconds) {
  const std::vector<double> strikes = strikeGrid(traits, model.spot(traits, unix_seconds), kHalfStrikeCount);
  std::vector<double> by_volume(strikes.size());
  for (size_t i = 0; i < strikes.size(); ++i) {
    by_volume[i] = strikeGex(model, traits, ChainExpiry::All, strikes[i], unix_seconds).by_volume;
  }
  MajorsPoint point;
  point.timestamp = unix_seconds;
  std::tie(point.major_call_gamma, point.major_put_gamma) = extremeStrikes(strikes, by_volume);
  point.zero_gamma = zeroGammaLevel(model, traits, ChainExpiry::All, strikes, unix_seconds);
  return point;
}

}  // namespace standin
