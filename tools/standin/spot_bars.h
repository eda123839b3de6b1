// One-minute price bars that follow a ticker's spot in the market model, so
// a demo chart's candles move with the same price the answers are built
// around.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/standin/market_model.h"

namespace standin {

// Bar CSV (tools/support/bar_csv.h), one bar per whole minute in [from, to),
// times in UTC ("2026-03-02T14:30:00Z"), prices rounded to a quarter point;
// nothing when a minute falls after the year 9999, which bar files cannot show.
std::optional<std::string> spotBarsCsv(const MarketModel& model, const std::string& ticker, int64_t from, int64_t to);

}  // namespace standin
