// The three endpoints of the service and how a request target names one:
//   GET  /v2/sierra/{TICKER}/{classic|state}/{profile word}
//   POST /v2/sierra/hist/{TICKER}/classic/gex_full/majors/7
//   GET  /v2/futures/conversion?ticker=t&future=F&model=m
// The host name plays no part. Pure functions; thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace standin {

enum class Endpoint { Profile, History, Futures };

const char* endpointName(Endpoint endpoint);  // "profile", "history", "futures"
std::optional<Endpoint> endpointFromName(std::string_view name);

struct RoutedTarget {
  Endpoint endpoint = Endpoint::Profile;
  std::string ticker;   // from the path, or the futures query's "ticker"
  std::string package;  // profile: "classic" or "state"
  std::string profile;  // profile: "full", "zero", "one", "gamma", "gamma_one", "delta", "delta_one"
  std::string future;   // futures: "future" query value
  std::string model;    // futures: "model" query value
};

// The endpoint a request target ("/path?query", as received) names, or none
// for any other path (an unknown package or profile word included). Query
// values are percent-decoded; a query on the profile and history paths is
// ignored.
std::optional<RoutedTarget> routeTarget(std::string_view target);

// The value of `key` in a query text ("a=1&b=2"), percent-decoded; empty
// when absent. The first occurrence wins.
std::string queryValue(std::string_view query, std::string_view key);

}  // namespace standin
