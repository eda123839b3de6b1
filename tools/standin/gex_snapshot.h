// A GEX profile of one ticker at one moment, computed from the synthetic
// option chain: per strike the gamma exposure by volume and by open interest
// with the volume values of 1, 5, 10, 15 and 30 minutes earlier; the zero
// gamma level; the major levels; the net sums; and the strike and value of
// the largest change per prior interval. The majors history is the same
// computation at each snapshot time, so the two always agree.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/standin/market_model.h"
#include "tools/standin/option_chain.h"

namespace standin {

// Minutes before the snapshot that the priors of a GEX row stand for.
inline constexpr std::array<int, 5> kGexPriorMinutes = {1, 5, 10, 15, 30};
// Strikes on each side of the one nearest the spot.
inline constexpr int kHalfStrikeCount = 50;

struct GexRow {
  double strike = 0;
  double gex_vol = 0;
  double gex_oi = 0;
  std::array<double, kGexPriorMinutes.size()> priors{};  // gex_vol that long ago
};

struct GexSnapshot {
  std::string ticker;  // as asked for
  int64_t timestamp = 0;
  double spot = 0, zero_gamma = 0;
  double major_pos_vol = 0, major_pos_oi = 0, major_neg_vol = 0, major_neg_oi = 0;
  double sum_gex_vol = 0, sum_gex_oi = 0, delta_risk_reversal = 0;
  std::vector<GexRow> rows;  // ascending strikes
  // Per prior interval: (strike, gex_vol now minus gex_vol then) of the
  // strike whose volume value changed most in magnitude.
  std::array<std::pair<double, double>, kGexPriorMinutes.size()> max_priors{};
};

// The three levels of the majors history at one moment.
struct MajorsPoint {
  int64_t timestamp = 0;
  double major_call_gamma = 0;  // the GEX profile's major_pos_vol
  double major_put_gamma = 0;   // the GEX profile's major_neg_vol
  double zero_gamma = 0;
};

GexSnapshot gexSnapshot(const MarketModel& model, std::string_view ticker, ChainExpiry expiry,
                        int64_t unix_seconds);

// The majors of the all-expiries GEX profile at `unix_seconds`.
MajorsPoint majorsPoint(const MarketModel& model, const TickerTraits& traits, int64_t unix_seconds);

// The spot at which the net open-interest gamma exposure of the positions
// at `unix_seconds` changes sign, nearest the current spot and searched
// between the lowest and highest of `strikes`. Without a sign change, the
// spot of the smallest magnitude on the strike grid.
double zeroGammaLevel(const MarketModel& model, const TickerTraits& traits, ChainExpiry expiry,
                      const std::vector<double>& strikes, int64_t unix_seconds);

}  // namespace standin
