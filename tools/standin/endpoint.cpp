#include "tools/standin/endpoint.h"

#include <array>
#include <vector>

namespace standin {

namespace {

constexpr std::array<std::string_view, 7> kProfileWords = {"full",      "zero",  "one",      "gamma",
                                                          "gamma_one", "delta", "delta_one"};

std::vector<std::string_view> pathSegments(std::string_view path) {
  std::vector<std::string_view> segments;
  if (path.empty() || path.front() != '/') return segments;
  path.remove_prefix(1);
  for (;;) {
    const size_t slash = path.find('/');
    segments.push_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return segments;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool isProfileWord(std::string_view word) {
  for (const std::string_view known : kProfileWords) {
    if (word == known) return true;
  }
  return false;
}

}  // namespace

const char* endpointName(Endpoint endpoint) {
  switch (endpoint) {
    case Endpoint::Profile: return "profile";
    case Endpoint::History: return "history";
    case Endpoint::Futures: return "futures";
  }
  return "?";
}

std::optional<Endpoint> endpointFromName(std::string_view name) {
  for (const Endpoint endpoint : {Endpoint::Profile, Endpoint::History, Endpoint::Futures}) {
    if (name == endpointName(endpoint)) return endpoint;
  }
  return std::nullopt;
}

std::string queryValue(std::string_view query, std::string_view key) {
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const size_t equals = pair.find('=');
    if (pair.substr(0, equals) == key) {
      return equals == std::string_view::npos ? std::string() : percentDecoded(pair.substr(equals + 1));
    }
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return {};
}

std::optional<RoutedTarget> routeTarget(std::string_view target) {
  const size_t question = target.find('?');
  const std::string_view path = target.substr(0, question);
  const std::string_view query = question == std::string_view::npos ? "" : target.substr(question + 1);
  const std::vector<std::string_view> s = pathSegments(path);

  RoutedTarget routed;
  if (s.size() == 3 && s[0] == "v2" && s[1] == "futures" && s[2] == "conversion") {
    routed.endpoint = Endpoint::Futures;
    routed.ticker = queryValue(query, "ticker");
    routed.future = queryValue(query, "future");
    routed.model = queryValue(query, "model");
    return routed;
  }
  if (s.size() < 2 || s[0] != "v2" || s[1] != "sierra") return std::nullopt;
  if (s.size() == 8 && s[2] == "hist" && !s[3].empty() && s[4] == "classic" && s[5] == "gex_full" &&
      s[6] == "majors" && s[7] == "7") {
    routed.endpoint = Endpoint::History;
    routed.ticker = std::string(s[3]);
    return routed;
  }
  if (s.size() == 5 && !s[2].empty() && (s[3] == "classic" || s[3] == "state") && isProfileWord(s[4])) {
    routed.endpoint = Endpoint::Profile;
    routed.ticker = std::string(s[2]);
    routed.package = std::string(s[3]);
    routed.profile = std::string(s[4]);
    return routed;
  }
  return std::nullopt;
}

}  // namespace standin
