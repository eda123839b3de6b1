#include "tools/standin/option_chain.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace standin {

namespace {

struct ExpiryShape {
  double oi_scale;      // contracts at the busiest strike
  double oi_width;      // relative width of the open interest around the anchor
  double volume_scale;  // contracts traded at the busiest strike
  double volume_width;  // relative width of the volume around the spot
};

ExpiryShape shapeOf(ChainExpiry expiry) {
  switch (expiry) {
    case ChainExpiry::ZeroDay: return {2500, 0.012, 6000, 0.006};
    case ChainExpiry::OneDay: return {3500, 0.02, 2500, 0.01};
    case ChainExpiry::All: break;
  }
  return {9000, 0.045, 4000, 0.015};
}

double logistic(double x) { return 1 / (1 + std::exp(-x)); }

double normalDensity(double x) { return std::exp(-0.5 * x * x) / std::sqrt(2 * std::numbers::pi); }

// Round strikes draw more open interest: every 10th, and more every 50th.
double roundness(double strike, double step) {
  const long long index = std::llround(strike / step);
  double weight = 1;
  if (index % 2 == 0) weight *= 1.3;
  if (index % 10 == 0) weight *= 2.2;
  if (index % 50 == 0) weight *= 1.8;
  return weight;
}

}  // namespace

double yearsToExpiry(ChainExpiry expiry, int64_t unix_seconds) {
  constexpr double kSecondsPerYear = 365.0 * 86400;
  switch (expiry) {
    case ChainExpiry::ZeroDay: {
      const int64_t close_s = 21 * 3600;
      const int64_t time_of_day_s = ((unix_seconds % 86400) + 86400) % 86400;
      int64_t left_s = close_s - time_of_day_s;
      if (left_s < 0) left_s += 86400;
      return std::max<double>(static_cast<double>(left_s), 1800) / kSecondsPerYear;
    }
    case ChainExpiry::OneDay: return 1.5 * 86400 / kSecondsPerYear;
    case ChainExpiry::All: break;
  }
  return 21 * 86400 / kSecondsPerYear;
}

double impliedVolatility(const TickerTraits& traits, double spot, double strike) {
  const double moneyness = std::log(strike / spot);
  return traits.volatility * std::clamp(1 - 2.5 * moneyness, 0.6, 2.5);
}

double blackScholesGamma(double spot, double strike, double volatility, double years) {
  const double scale = volatility * std::sqrt(years);
  const double d1 = (std::log(spot / strike) + 0.5 * volatility * volatility * years) / scale;
  return normalDensity(d1) / (spot * scale);
}

double blackScholesCallDelta(double spot, double strike, double volatility, double years) {
  const double scale = volatility * std::sqrt(years);
  const double d1 = (std::log(spot / strike) + 0.5 * volatility * volatility * years) / scale;
  return 0.5 * std::erfc(-d1 / std::sqrt(2.0));
}

double gammaExposure(const TickerTraits& traits, double spot, double strike, double years,
                     double net_contracts) {
  const double gamma = blackScholesGamma(spot, strike, impliedVolatility(traits, spot, strike), years);
  return gamma * net_contracts * spot * spot * 0.01;
}

StrikePositions strikePositions(const MarketModel& model, const TickerTraits& traits, ChainExpiry expiry,
                                double strike, int64_t unix_seconds) {
  const ExpiryShape shape = shapeOf(expiry);
  const uint64_t index = static_cast<uint64_t>(std::llround(strike / traits.strike_step));
  const uint64_t group = static_cast<uint64_t>(expiry) << 40;
  const double t = static_cast<double>(unix_seconds);

  // Open interest: fixed per strike up to a slow breathing over hours.
  const double anchor = model.anchor(traits, unix_seconds);
  const double from_anchor = (strike - anchor) / anchor;
  const double jitter = 0.7 + 0.6 * model.unit(traits, group | index);
  const double breathing =
      1 + 0.15 * std::sin(2 * std::numbers::pi * (t / (6 * 3600.0) + model.unit(traits, group | index | 1ULL << 48)));
  const double open_interest = shape.oi_scale * std::exp(-std::pow(from_anchor / shape.oi_width, 2)) *
                               roundness(strike, traits.strike_step) * jitter * breathing;
  const double call_share = 0.15 + 0.7 * logistic(from_anchor / (0.3 * shape.oi_width));

  // Volume: near the spot, changing within minutes.
  const double spot = model.spot(traits, unix_seconds);
  const double from_spot = (strike - spot) / spot;
  const double pulse =
      0.6 + 0.4 * std::sin(2 * std::numbers::pi * (t / (23 * 60.0) + model.unit(traits, group | index | 2ULL << 48)));
  const double volume = shape.volume_scale * std::exp(-std::pow(from_spot / shape.volume_width, 2)) *
                        std::sqrt(roundness(strike, traits.strike_step)) * pulse;
  const double call_volume_share = 0.5 + 0.35 * std::tanh(from_spot / (0.5 * shape.volume_width));

  StrikePositions positions;
  positions.call_oi = open_interest * call_share;
  positions.put_oi = open_interest * (1 - call_share);
  positions.call_volume = volume * call_volume_share;
  positions.put_volume = volume * (1 - call_volume_share);
  return positions;
}

std::vector<double> strikeGrid(const TickerTraits& traits, double spot, int half_count) {
  const long long centre = std::llround(spot / traits.strike_step);
  std::vector<double> strikes;
  strikes.reserve(static_cast<size_t>(2 * half_count + 1));
  for (long long i = centre - half_count; i <= centre + half_count; ++i) {
    strikes.push_back(static_cast<double>(i) * traits.strike_step);
  }
  return strikes;
}

}  // namespace standin
