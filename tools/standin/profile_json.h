// The service's answer texts for the computed snapshots: the GEX profile
// object, the greek profile object and the majors history array, with the
// member names and row layouts the study reads. Numbers are plain decimals;
// "timestamp" is an integer of Unix seconds.
#pragma once

#include <string>
#include <vector>

#include "tools/standin/gex_snapshot.h"
#include "tools/standin/greek_snapshot.h"

namespace standin {

// {"timestamp", "ticker", "spot", "zero_gamma", "major_pos_vol", "major_pos_oi",
//  "major_neg_vol", "major_neg_oi", "sum_gex_vol", "sum_gex_oi",
//  "delta_risk_reversal", "strikes": [[strike, vol, oi, [5 priors]], ...],
//  "max_priors": [[strike, change], x5]}
std::string gexProfileJson(const GexSnapshot& snapshot);

// {"timestamp", "ticker", "spot", "major_positive", "major_negative",
//  "major_long_gamma", "major_short_gamma",
//  "mini_contracts": [[strike, call, put, net, [3 priors]], ...]}
std::string greekProfileJson(const GreekSnapshot& snapshot);

// [{"timestamp", "major_call_gamma", "major_put_gamma", "zero_gamma"}, ...]
std::string majorsHistoryJson(const std::vector<MajorsPoint>& points);

}  // namespace standin
