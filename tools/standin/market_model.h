// The synthetic market behind every answer: for each ticker a spot price that
// drifts as a smooth, deterministic function of Unix time and the seed, the
// strike step of its option chain and its at-the-money volatility. The same
// (ticker, time, seed) always gives the same numbers, so live answers, priors
// and history agree. Immutable after construction; safe to share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin {

struct TickerTraits {
  std::string symbol;  // the ticker upper-cased
  double base_spot;    // centre of the spot's wandering
  double strike_step;  // distance between listed strikes
  double volatility;   // annualised implied volatility at the money
};

// SPX and ES_SPX trade around 5800 with 5-point strikes, NDX and NQ_NDX
// around 20000 with 25-point strikes; any other ticker gets a base between
// 100 and 500 taken from a hash of its upper-cased text.
TickerTraits tickerTraits(std::string_view ticker);

// A 64-bit mix of the bits of `value` (splitmix64 finaliser).
uint64_t mixBits(uint64_t value);
// FNV-1a of `text`, mixed with `salt`.
uint64_t hashText(std::string_view text, uint64_t salt);
// A number in [0, 1) drawn from `bits`.
double unitFromBits(uint64_t bits);

class MarketModel {
 public:
  explicit MarketModel(uint64_t seed) : seed_(seed) {}

  uint64_t seed() const { return seed_; }
  // Spot price at `unix_seconds`: the base moved by a few sine waves whose
  // periods run from about a minute to days (a few percent at most).
  double spot(const TickerTraits& traits, int64_t unix_seconds) const;
  // The slow part of the spot alone: where open interest is centred.
  double anchor(const TickerTraits& traits, int64_t unix_seconds) const;
  // A small, slowly changing 25-delta risk reversal (volatility points).
  double riskReversal(const TickerTraits& traits, int64_t unix_seconds) const;
  // A per-(ticker, key) number in [0, 1), fixed for the seed.
  double unit(const TickerTraits& traits, uint64_t key) const;

 private:
  double wave(const TickerTraits& traits, int64_t unix_seconds, int first, int last) const;
  uint64_t seed_;
};

}  // namespace standin
