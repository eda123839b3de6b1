// Majors history answers shaped like the service's: a compact JSON array of
// one snapshot per minute ("timestamp", "major_call_gamma",
// "major_put_gamma", "zero_gamma"), the majors on the 5-point strike grid near
// a wandering spot, zero gamma with 2 to 4 decimals. A (snapshots, seed) pair
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>

// The history of the latest `snapshots` / kMinutesPerTradingDay days of
// trading_days.h, one snapshot per market minute in time order. `snapshots`
// is a whole number of days, at most all of them.
std::string makeHistoryResponse(int snapshots, uint64_t seed);
