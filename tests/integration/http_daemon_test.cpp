// The part of the HTTP server library both programs' servers share
// (tools/support/http_daemon.h): which addresses it takes, the port the
// system picked, a port in use refused, a stopped server's port free again,
// and the library's complaints as one line.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "tools/support/http_daemon.h"

namespace {

MHD_Result refuseEveryRequest(void*, MHD_Connection*, const char*, const char*, const char*, const char*, size_t*,
                              void**) {
  return MHD_NO;
}

bool startOn(support::HttpDaemon& daemon, const std::string& ip, uint16_t port) {
  return daemon.start(support::ListenAddress{ip, port}, MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO,
                      &refuseEveryRequest, nullptr, {{MHD_OPTION_CONNECTION_TIMEOUT, 1, nullptr}});
}

std::string complaint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string line = support::libraryComplaintLine(format, arguments);
  va_end(arguments);
  return line;
}

TEST(HttpDaemon, ListensWhereAskedAndRefusesWhatItCannot) {
  const std::vector<std::pair<std::string, bool>> addresses = {
      {"127.0.0.1", true}, {"::1", true},   {"0.0.0.0", true}, {"localhost", false},
      {"[::1]", false},    {"1.2.3", false}, {"", false},       {"127.0.0.1 ", false}};
  for (const auto& [ip, taken] : addresses) EXPECT_EQ(support::HttpDaemon::isIpAddress(ip), taken) << ip;

  support::HttpDaemon first;
  ASSERT_TRUE(startOn(first, "127.0.0.1", 0));
  const uint16_t port = first.port();
  EXPECT_NE(port, 0);
  support::HttpDaemon second;
  EXPECT_FALSE(startOn(second, "127.0.0.1", port)) << "port " << port << " is in use";
  EXPECT_FALSE(second.running());
  EXPECT_FALSE(startOn(second, "localhost", 0));
  first.stop();
  EXPECT_FALSE(first.running());
  ASSERT_TRUE(startOn(second, "127.0.0.1", port)) << "port " << port << " was let go";
  EXPECT_EQ(second.port(), port);

  EXPECT_EQ(complaint("Failed to bind to port %u: %s\r\n", 80u, "in use"), "Failed to bind to port 80: in use");
}

}  // namespace
