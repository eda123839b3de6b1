// A gamma or delta profile of one ticker at one moment ("state" package):
// per strike the call part, the put part and their net greek exposure, with
// the net values of 5, 15 and 30 minutes earlier, and the summary majors.
// Positions are open interest plus the day's volume of the synthetic chain.
// The net value is what a chart draws as bars, so a gamma profile's majors
// sit on its longest bars.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/standin/market_model.h"
#include "tools/standin/option_chain.h"

namespace standin {

inline constexpr std::array<int, 3> kGreekPriorMinutes = {5, 15, 30};

enum class Greek { Gamma, Delta };

struct GreekRow {
  double strike = 0;
  double call_value = 0;   // calls' exposure (positive)
  double put_value = 0;    // puts' exposure (negative)
  double greek_value = 0;  // their sum
  std::array<double, kGreekPriorMinutes.size()> priors{};  // greek_value that long ago
};

struct GreekSnapshot {
  std::string ticker;  // as asked for
  int64_t timestamp = 0;
  double spot = 0;
  double major_positive = 0, major_negative = 0;        // strikes of the largest and smallest greek value
  double major_long_gamma = 0, major_short_gamma = 0;   // the same by net gamma, for either greek
  std::vector<GreekRow> rows;                           // ascending strikes
};

// `expiry` is the group of the chain the profile covers: today's for the
// "0dte" words ("gamma", "delta"), the next day's for "gamma_one" and
// "delta_one".
GreekSnapshot greekSnapshot(const MarketModel& model, std::string_view ticker, Greek greek, ChainExpiry expiry,
                            int64_t unix_seconds);

}  // namespace standin
