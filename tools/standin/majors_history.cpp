#include "tools/standin/majors_history.h"

#include <rapidjson/document.h>

#include <algorithm>

#include "tools/standin/gex_snapshot.h"
#include "tools/standin/profile_json.h"

namespace standin {

std::variant<HistoryWindow, std::string> parseHistoryWindow(std::string_view body) {
  rapidjson::Document document;
  document.Parse(body.data(), body.size());
  if (document.HasParseError()) return std::string("body is not valid JSON");
  if (!document.IsObject()) return std::string("body is not a JSON object");
  HistoryWindow window;
  for (const auto& [key, target] : {std::pair{"start", &window.start}, std::pair{"end", &window.end}}) {
    const auto member = document.FindMember(key);
    if (member == document.MemberEnd() || !member->value.IsInt64()) {
      return std::string("\"") + key + "\" must be an integer of Unix seconds";
    }
    *target = member->value.GetInt64();
  }
  if (window.end < window.start) return std::string("\"end\" is before \"start\"");
  return window;
}

std::variant<std::vector<int64_t>, std::string> historyTimes(const HistoryWindow& window, int64_t now) {
  const int64_t last = std::min(window.end, now);
  // The first multiple of 60 at or after start (floor division for negatives).
  const int64_t first = window.start >= 0 ? (window.start + 59) / 60 * 60 : -((-window.start) / 60 * 60);
  std::vector<int64_t> times;
  if (last < first) return times;
  const int64_t count = (last - first) / 60 + 1;
  if (count > kMaxHistoryPoints) {
    return "the window holds " + std::to_string(count) + " minutes; at most " +
           std::to_string(kMaxHistoryPoints) + " are served";
  }
  times.reserve(static_cast<size_t>(count));
  for (int64_t t = first; t <= last; t += 60) times.push_back(t);
  return times;
}

HistoryAnswer majorsHistoryAnswer(const MarketModel& model, std::string_view ticker, const HistoryWindow& window,
                                  int64_t now) {
  auto times = historyTimes(window, now);
  if (auto* problem = std::get_if<std::string>(&times)) return {"", *problem};
  const TickerTraits traits = tickerTraits(ticker);
  std::vector<MajorsPoint> points;
  for (const int64_t t : std::get<std::vector<int64_t>>(times)) points.push_back(majorsPoint(model, traits, t));
  return {majorsHistoryJson(points), ""};
}

}  // namespace standin
