#include "service/futures_request.h"

#include <cstring>
#include <string>

#include "service/service_endpoint.h"

namespace tarvio {

namespace {

bool startsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isOneOf(const char* text, const char* first, const char* second) {
  return std::strcmp(text, first) == 0 || std::strcmp(text, second) == 0;
}

std::string lowerCased(const char* text) {
  std::string lower = text != nullptr ? text : "";
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

const char* futuresModel(const char* lowerTicker, const char* futuresTarget) {
  const char* ticker = lowerTicker != nullptr ? lowerTicker : "";
  const char* target = futuresTarget != nullptr ? futuresTarget : "";
  if (isOneOf(ticker, "spx", "es_spx") && startsWith(target, "ES")) return "additive";
  if (isOneOf(ticker, "ndx", "nq_ndx") && startsWith(target, "NQ")) return "additive";
  return "affine";
}

void formatFuturesPathAndQuery(HostString& target, const char* ticker, const char* futuresTarget) {
  const std::string lowerTicker = lowerCased(ticker);
  const char* future = futuresTarget != nullptr ? futuresTarget : "";
  formatHostString(target, "/v2/futures/conversion?ticker=%s&future=%s&model=%s",
                   lowerTicker.c_str(), future, futuresModel(lowerTicker.c_str(), future));
}

void formatFuturesHeaderBlock(HostString& target, const char* apiKey) {
  formatHostString(target, "Authorization: Bearer %s\r\nAccept: %s\r\n%s: %s\r\n",
                   apiKey != nullptr ? apiKey : "", kJsonMediaType, kPluginVersionHeader,
                   kPluginVersion);
}

}  // namespace tarvio
