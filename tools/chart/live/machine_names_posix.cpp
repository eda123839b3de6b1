#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "tools/chart/live/machine_names.h"

namespace chart_tool::live {

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The host name and the fully qualified name it resolves to.
void addHostNames(std::vector<std::string>& names) {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') return;
  names.push_back(lower(host));
  addrinfo hints{};
  hints.ai_flags = AI_CANONNAME;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0) return;
  if (found != nullptr && found->ai_canonname != nullptr) names.push_back(lower(found->ai_canonname));
  freeaddrinfo(found);
}

void addInterfaceAddresses(std::vector<std::string>& names) {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return;
  for (const ifaddrs* at = interfaces; at != nullptr; at = at->ifa_next) {
    if (at->ifa_addr == nullptr) continue;
    char text[INET6_ADDRSTRLEN] = {};
    if (at->ifa_addr->sa_family == AF_INET) {
      const auto* v4 = reinterpret_cast<const sockaddr_in*>(at->ifa_addr);
      if (inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text) != nullptr) names.push_back(text);
    } else if (at->ifa_addr->sa_family == AF_INET6) {
      const auto* v6 = reinterpret_cast<const sockaddr_in6*>(at->ifa_addr);
      if (inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text) != nullptr)
        names.push_back("[" + lower(text) + "]");
    }
  }
  freeifaddrs(interfaces);
}

}  // namespace

std::vector<std::string> machineNames() {
  std::vector<std::string> names;
  addHostNames(names);
  addInterfaceAddresses(names);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace chart_tool::live
