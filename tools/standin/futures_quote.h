// The futures conversion answer: the front quarterly contract of the asked
// future and the parameters that carry the index price over to it, either a
// pure additive basis ("additive") or a multiplier near 1 with a small
// additive ("affine"). Both follow a carry over the days left to the
// contract's expiry, so they drift slowly with the clock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "tools/standin/market_model.h"

namespace standin {

struct FuturesQuote {
  std::string future_contract;  // e.g. "ESZ6"
  double multiplier = 1;
  double additive = 0;
};

// The contract that trades at `unix_seconds` for root `future` (ES, NQ...):
// the root, the month letter of the nearest March/June/September/December
// expiry not within eight days of its third Friday, and the year's last digit.
// A `future` that already ends in a month letter and digits is kept.
std::string frontQuarterlyContract(std::string_view future, int64_t unix_seconds);

// The quote for the query values, or the text of what is wrong with them (an
// empty ticker or future, or a model other than "additive" and "affine").
std::variant<FuturesQuote, std::string> futuresQuote(const MarketModel& model, std::string_view ticker,
                                                     std::string_view future, std::string_view model_word,
                                                     int64_t unix_seconds);

// {"future_contract": ..., "multiplier": ..., "additive": ...}
std::string futuresQuoteJson(const FuturesQuote& quote);

}  // namespace standin
