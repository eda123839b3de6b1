// Which recorded answer a replay gives: the exchanges of a recording by
// route, each route's in the order of their request times. A request to a
// route at a clock time is answered by the latest exchange of that route
// requested at or before that time, as the service stood then. Shared by the
// chart program's replay and the stand-in's, so both answer alike.
// Immutable once built: safe to read from many threads.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tools/recording/recorded_exchange.h"

namespace recording {

// The route a request's URL names: its path, without scheme, host, query or
// fragment ("/v2/sierra/ES_SPX/classic/full"); "/" when it has none.
inline std::string routeOfRequest(const std::string& url) {
  const std::size_t scheme = url.find("://");
  const std::size_t pathStart = scheme == std::string::npos ? 0 : url.find('/', scheme + 3);
  if (pathStart == std::string::npos) return "/";
  const std::size_t pathEnd = url.find_first_of("?#", pathStart);
  const std::string path = url.substr(pathStart, pathEnd == std::string::npos ? std::string::npos : pathEnd - pathStart);
  return path.empty() ? "/" : path;
}

class ReplayTimeline {
 public:
  // What a request to a route at some time finds.
  struct Found {
    const RecordedExchange* exchange = nullptr;  // null: nothing recorded by then
    bool routeRecorded = false;                  // the route has exchanges at all
    HostDateTime firstRequestedAt = 0;           // its earliest, when it has
  };

  ReplayTimeline() = default;
  explicit ReplayTimeline(std::vector<RecordedExchange> exchanges) {
    for (RecordedExchange& exchange : exchanges) routes_[exchange.route].push_back(std::move(exchange));
    // Equal times keep the recording's order, so the later exchange is the latest.
    for (auto& [route, list] : routes_)
      std::stable_sort(list.begin(), list.end(), [](const RecordedExchange& a, const RecordedExchange& b) {
        return a.requestedAt < b.requestedAt;
      });
  }

  Found at(const std::string& route, HostDateTime time) const {
    Found found;
    const auto entry = routes_.find(route);
    if (entry == routes_.end()) return found;
    const std::vector<RecordedExchange>& list = entry->second;
    found.routeRecorded = true;
    found.firstRequestedAt = list.front().requestedAt;
    const auto after = std::upper_bound(list.begin(), list.end(), time, [](HostDateTime t, const RecordedExchange& e) {
      return t < e.requestedAt;
    });
    if (after != list.begin()) found.exchange = &*(after - 1);
    return found;
  }

  // The earliest request time of all routes; 0 for an empty timeline.
  HostDateTime firstRequestedAt() const {
    HostDateTime first = 0;
    bool any = false;
    for (const auto& [route, list] : routes_) {
      if (!any || list.front().requestedAt < first) first = list.front().requestedAt;
      any = true;
    }
    return first;
  }

  bool empty() const { return routes_.empty(); }

 private:
  std::map<std::string, std::vector<RecordedExchange>> routes_;
};

}  // namespace recording
