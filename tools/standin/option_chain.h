// The synthetic option chain: open interest and volume of calls and puts at
// each strike, and their Black-Scholes gamma and delta, as functions of
// (ticker, expiry group, strike, time). Gamma exposure of a position is
// gamma x contracts x spot^2 x 0.01 (the value change per 1% move), calls
// counted positive and puts negative. Pure functions; thread-safe.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/standin/market_model.h"

namespace standin {

// Which expiries a profile covers: all of them, today's, or the next day's.
enum class ChainExpiry { All, ZeroDay, OneDay };

struct StrikePositions {
  double call_oi = 0, put_oi = 0;          // contracts open
  double call_volume = 0, put_volume = 0;  // contracts traded today
};

// Positions at `strike` at `unix_seconds`. Open interest is centred on the
// slow anchor and heavier at round strikes, calls above and puts below;
// volume follows the spot closely and changes within minutes.
StrikePositions strikePositions(const MarketModel& model, const TickerTraits& traits, ChainExpiry expiry,
                                double strike, int64_t unix_seconds);

// Years to expiry of the group at `unix_seconds` (today's expiry shrinks
// towards the 21:00 UTC close, never below half an hour).
double yearsToExpiry(ChainExpiry expiry, int64_t unix_seconds);

// Implied volatility at `strike` for spot `spot`: the at-the-money level
// with a downward skew.
double impliedVolatility(const TickerTraits& traits, double spot, double strike);

double blackScholesGamma(double spot, double strike, double volatility, double years);
double blackScholesCallDelta(double spot, double strike, double volatility, double years);

// Gamma exposure (x spot^2 x 0.01) of `net_contracts` at `strike` for a
// hypothetical `spot`.
double gammaExposure(const TickerTraits& traits, double spot, double strike, double years,
                     double net_contracts);

// The listed strikes around `spot`: `2 * half_count + 1` strikes, ascending,
// centred on the strike nearest the spot.
std::vector<double> strikeGrid(const TickerTraits& traits, double spot, int half_count);

}  // namespace standin
