// Response bodies shaped like the service's GEX and greek profile answers, for
// measuring the parsers on data that looks like the real thing: compact JSON,
// strikes on a regular grid around the spot, values with 6 to 10 significant
// digits and mixed signs, every summary member present. A (kind, rows, seed)
// triple always gives the same bytes, on every platform.
#pragma once

#include <cstdint>
#include <string>

enum class ProfileKind { Gex, Greek };

// "gex" or "greek", as benchmark names and reports spell the kind.
const char* profileKindName(ProfileKind kind);

// Numbers in each row's priors array and entries of "max_priors", as the
// service sends them.
inline constexpr int kGexPriorsPerRow = 5;
inline constexpr int kGreekPriorsPerRow = 3;
inline constexpr int kGexMaxPriorEntries = 5;

int priorsPerRow(ProfileKind kind);

// One response body with `rows` strike rows ("strikes" for GEX,
// "mini_contracts" for greek). Different seeds give different documents.
std::string makeProfileResponse(ProfileKind kind, int rows, uint64_t seed);
