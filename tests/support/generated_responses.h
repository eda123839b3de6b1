// Service answers generated for measuring and exercising the readers, shaped
// like the service's: compact JSON, numbers with as many digits as it sends.
// A seed always gives the same bytes on every platform, so figures measured
// on them stay comparable from one change to the next.
#pragma once

#include <cstdint>
#include <string>

enum class ProfileKind { Gex, Greek };

// "gex" or "greek", as benchmark names and reports spell the kind.
const char* profileKindName(ProfileKind kind);

// Numbers in each row's priors array and entries of "max_priors".
inline constexpr int kGexPriorsPerRow = 5;
inline constexpr int kGreekPriorsPerRow = 3;
inline constexpr int kGexMaxPriorEntries = 5;

int priorsPerRow(ProfileKind kind);

// A GEX or greek profile with `rows` strike rows ("strikes" for GEX,
// "mini_contracts" for greek) on a regular grid around the spot, values with
// 6 to 10 significant digits and mixed signs, every summary member present.
std::string makeProfileResponse(ProfileKind kind, int rows, uint64_t seed);

// A majors history: one snapshot per market minute ("timestamp",
// "major_call_gamma", "major_put_gamma", "zero_gamma") of the latest
// `snapshots` / kMinutesPerTradingDay days of market_hours_chart.h, the
// majors on the 5-point strike grid near a wandering spot, zero gamma with 2
// to 4 decimals. `snapshots` is a whole number of days, at most all of them.
std::string makeHistoryResponse(int snapshots, uint64_t seed);

// A futures conversion: "future_contract" (a quarterly contract of a common
// index future), "multiplier" (1, or 1 plus a carry of up to 6 decimals) and
// "additive" (a premium in cents of either sign).
std::string makeConversionResponse(uint64_t seed);
