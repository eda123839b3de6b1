// The majors history answer: the body {"start": S, "end": E} (Unix seconds,
// integers) names a window; the answer holds one snapshot per whole minute
// inside it, up to the current time, computed exactly as the live GEX
// profile's majors at that minute.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tools/standin/market_model.h"

namespace standin {

// The most snapshots one answer holds (three days of minutes).
inline constexpr int64_t kMaxHistoryPoints = 3 * 24 * 60;

struct HistoryWindow {
  int64_t start = 0;
  int64_t end = 0;
};

// The window of a request body, or the text of what is wrong with it: not
// JSON, not an object, "start" or "end" missing or not an integer, end
// before start.
std::variant<HistoryWindow, std::string> parseHistoryWindow(std::string_view body);

// The snapshot times: every multiple of 60 from `start` to the earlier of
// `end` and `now`. Empty when the window lies in the future; the text of the
// problem when it holds more than kMaxHistoryPoints.
std::variant<std::vector<int64_t>, std::string> historyTimes(const HistoryWindow& window, int64_t now);

struct HistoryAnswer {
  std::string body;     // the JSON array, when `problem` is empty
  std::string problem;  // what keeps the window from being served
};

// The whole answer for `ticker`, or the problem as above.
HistoryAnswer majorsHistoryAnswer(const MarketModel& model, std::string_view ticker, const HistoryWindow& window,
                                  int64_t now);

}  // namespace standin
