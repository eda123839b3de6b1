#include "tools/chart/live/live_view_address.h"

#include <algorithm>
#include <cctype>

#include "tools/support/number_text.h"

namespace chart_tool::live {

namespace {

// Four dotted decimal parts from 0 to 255, no leading zeros beyond a lone 0
// (an address some readers take as octal is refused rather than guessed).
std::optional<int> firstPartOfIpv4(const std::string& text) {
  int parts = 0;
  int first = -1;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t dot = std::min(text.find('.', start), text.size());
    const std::string part = text.substr(start, dot - start);
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0') ||
        !std::all_of(part.begin(), part.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
      return std::nullopt;
    const int value = std::stoi(part);
    if (value > 255) return std::nullopt;
    if (parts++ == 0) first = value;
    start = dot + 1;
  }
  if (parts != 4) return std::nullopt;
  return first;
}

// Up to eight groups of one to four hex digits split by colons, one "::"
// standing for the groups left out, and the last two groups perhaps written
// as an IPv4 address.
bool isIpv6(const std::string& text) {
  const std::size_t gap = text.find("::");
  if (gap != std::string::npos && text.find("::", gap + 1) != std::string::npos) return false;
  int groups = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t colon = std::min(text.find(':', start), text.size());
    const std::string group = text.substr(start, colon - start);
    const bool last = colon == text.size();
    if (group.empty()) {
      // Only the two colons of the gap, and where it starts or ends the text, leave a group empty.
      const bool inGap = gap != std::string::npos && start >= gap && start <= gap + 2;
      if (!inGap) return false;
    } else if (last && group.find('.') != std::string::npos) {
      if (!firstPartOfIpv4(group)) return false;
      groups += 2;
    } else if (group.size() > 4 || !std::all_of(group.begin(), group.end(),
                                                [](unsigned char c) { return std::isxdigit(c) != 0; })) {
      return false;
    } else {
      ++groups;
    }
    start = colon + 1;
  }
  return gap != std::string::npos ? groups < 8 : groups == 8;
}

bool isIpv6Loopback(const std::string& text) { return text == "::1" || text == "0:0:0:0:0:0:0:1"; }

}  // namespace

std::optional<ServeAddress> readServeAddress(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::optional<int64_t> port = support::readWholeNumber(text.substr(colon + 1), 0, 65535);
  if (!port) return std::nullopt;
  ServeAddress address;
  address.port = static_cast<uint16_t>(*port);
  address.host = text.substr(0, colon);
  if (address.host.size() > 2 && address.host.front() == '[' && address.host.back() == ']') {
    address.host = address.host.substr(1, address.host.size() - 2);
    if (!isIpv6(address.host)) return std::nullopt;
    address.ip = address.host;
    address.ipv6 = true;
    address.loopback = isIpv6Loopback(address.host);
    return address;
  }
  std::string lower = address.host;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower == "localhost") {
    address.ip = "127.0.0.1";
    address.loopback = true;
    return address;
  }
  const std::optional<int> first = firstPartOfIpv4(address.host);
  if (!first) return std::nullopt;
  address.ip = address.host;
  address.loopback = *first == 127;
  return address;
}

std::string hostAndPort(const ServeAddress& address, uint16_t port) {
  const std::string host = address.ipv6 ? "[" + address.host + "]" : address.host;
  return host + ":" + std::to_string(port);
}

std::string pageUrl(const ServeAddress& address, uint16_t port) { return "http://" + hostAndPort(address, port) + "/"; }

}  // namespace chart_tool::live
