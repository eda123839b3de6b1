#include "tools/standin/market_model.h"

#include <cctype>
#include <cmath>
#include <numbers>

namespace standin {

namespace {

// Relative amplitude and period (seconds) of the waves that move the spot;
// the first one is slow enough to count as the anchor of open interest.
struct Wave {
  double amplitude;
  double period_s;
};
constexpr Wave kWaves[] = {
    {0.012, 3.1 * 86400}, {0.005, 4.3 * 3600}, {0.0025, 47 * 60}, {0.0008, 7.3 * 60}, {0.0002, 83},
};
constexpr int kWaveCount = static_cast<int>(sizeof kWaves / sizeof kWaves[0]);

std::string upperCased(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

uint64_t mixBits(uint64_t value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

uint64_t hashText(std::string_view text, uint64_t salt) {
  uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ULL;
  }
  return mixBits(hash ^ mixBits(salt));
}

double unitFromBits(uint64_t bits) { return static_cast<double>(bits >> 11) * 0x1.0p-53; }

TickerTraits tickerTraits(std::string_view ticker) {
  TickerTraits traits{upperCased(ticker), 0, 0, 0};
  const std::string& s = traits.symbol;
  if (s == "SPX" || s == "ES_SPX" || s == "SPXW" || s == "ES") {
    traits.base_spot = 5800, traits.strike_step = 5, traits.volatility = 0.15;
  } else if (s == "NDX" || s == "NQ_NDX" || s == "NQ") {
    traits.base_spot = 20000, traits.strike_step = 25, traits.volatility = 0.19;
  } else {
    // Not seeded: a ticker keeps its price level whatever the seed.
    const double u = unitFromBits(hashText(s, 0));
    traits.base_spot = std::round((100 + 400 * u) * 100) / 100;
    traits.strike_step = traits.base_spot < 250 ? 0.5 : 1;
    traits.volatility = 0.22 + 0.2 * unitFromBits(hashText(s, 1));
  }
  return traits;
}

double MarketModel::unit(const TickerTraits& traits, uint64_t key) const {
  return unitFromBits(hashText(traits.symbol, seed_ ^ mixBits(key)));
}

double MarketModel::wave(const TickerTraits& traits, int64_t unix_seconds, int first, int last) const {
  double sum = 0;
  for (int i = first; i < last; ++i) {
    const double phase = 2 * std::numbers::pi * unit(traits, 1000 + static_cast<uint64_t>(i));
    sum += kWaves[i].amplitude *
           std::sin(2 * std::numbers::pi * static_cast<double>(unix_seconds) / kWaves[i].period_s + phase);
  }
  return sum;
}

double MarketModel::spot(const TickerTraits& traits, int64_t unix_seconds) const {
  return traits.base_spot * std::exp(wave(traits, unix_seconds, 0, kWaveCount));
}

double MarketModel::anchor(const TickerTraits& traits, int64_t unix_seconds) const {
  return traits.base_spot * std::exp(wave(traits, unix_seconds, 0, 1));
}

double MarketModel::riskReversal(const TickerTraits& traits, int64_t unix_seconds) const {
  const double phase = 2 * std::numbers::pi * unit(traits, 2000);
  return -0.035 + 0.02 * std::sin(2 * std::numbers::pi * static_cast<double>(unix_seconds) / 9000.0 + phase);
}

}  // namespace standin
