// HTTP/1.1 spoken by hand over a loopback socket, for tests of a server's
// answers to what a browser would never send: any method, any Host header,
// connections opened and left idle.
#pragma once

#include <string>

namespace live_test {

struct HttpExchange {
  bool answered = false;  // a status line came back
  int status = 0;
  std::string head;  // the status line and headers
  std::string body;
  // The value of a header of the answer (name in any case), empty when absent.
  std::string header(const std::string& name) const;
};

// Sends `request` as it is to 127.0.0.1:`port` and reads the answer until
// the server closes the connection or `timeout_s` passes.
HttpExchange askServer(int port, const std::string& request, double timeout_s = 5);

// "METHOD PATH HTTP/1.1" with a loopback Host and Connection: close.
std::string requestText(const std::string& method, const std::string& path, const std::string& host = "");

// A connection to 127.0.0.1:`port` that sends nothing; its descriptor, or -1.
int openIdleConnection(int port);
// Sends the text on the connection; false when it could not be sent whole.
bool sendText(int fd, const std::string& text);
void closeConnection(int fd);

}  // namespace live_test
