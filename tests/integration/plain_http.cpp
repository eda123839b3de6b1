#include "integration/plain_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace live_test {

namespace {

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::string HttpExchange::header(const std::string& name) const {
  const std::string wanted = "\r\n" + lowered(name) + ":";
  const std::string lower = lowered(head);
  const std::size_t at = lower.find(wanted);
  if (at == std::string::npos) return {};
  const std::size_t start = head.find_first_not_of(' ', at + wanted.size());
  return head.substr(start, head.find("\r\n", start) - start);
}

int openIdleConnection(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool sendText(int fd, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t count = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (count <= 0) return false;
    sent += static_cast<std::size_t>(count);
  }
  return true;
}

void closeConnection(int fd) {
  if (fd >= 0) close(fd);
}

std::string requestText(const std::string& method, const std::string& path, const std::string& host) {
  return method + " " + path + " HTTP/1.1\r\nHost: " + (host.empty() ? "127.0.0.1" : host) +
         "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
}

HttpExchange askServer(int port, const std::string& request, double timeout_s) {
  HttpExchange result;
  const int fd = openIdleConnection(port);
  if (fd < 0) return result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(timeout_s * 1000));
  sendText(fd, request);
  std::string answer;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) break;
    pollfd waiting{fd, POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(left)) <= 0) continue;
    char buffer[8192];
    const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
    if (count <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(count));
  }
  close(fd);
  const std::size_t headEnd = answer.find("\r\n\r\n");
  if (answer.rfind("HTTP/1.", 0) != 0 || headEnd == std::string::npos) return result;
  result.answered = true;
  result.status = std::atoi(answer.c_str() + answer.find(' ') + 1);
  result.head = answer.substr(0, headEnd);
  result.body = answer.substr(headEnd + 4);
  return result;
}

}  // namespace live_test
