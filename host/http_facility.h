// The chart host's asynchronous HTTP facility: what HostMakeHttpRequest
// reaches. It accepts a request, hands it to its transport and keeps the
// answer until a later study call collects it. Every accepted request gets
// exactly one answer: the body, "EMPTY_RESPONSE" for an empty body, or
// "HTTP_REQUEST_ERROR" when the transfer failed. Without a transport every
// request is refused. Answers may arrive on any thread; collecting them is
// for the thread that calls the study.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "host/http_transport.h"

namespace chart_host {

struct HttpAnswer {
  int32_t requestId = 0;
  std::string text;
};

class HttpFacility {
 public:
  HttpFacility();
  ~HttpFacility();
  HttpFacility(const HttpFacility&) = delete;
  HttpFacility& operator=(const HttpFacility&) = delete;

  void setTransport(std::shared_ptr<HttpTransport> transport);
  bool hasTransport() const;

  // Accepts a request: its id (never 0), or 0 when it was refused.
  int32_t submit(const HttpRequest& request);

  // The oldest answer that has arrived, if any. With `waitForOutstanding`
  // set and nothing arrived yet, waits until the oldest outstanding request
  // is answered (the transport bounds how long that can take).
  std::optional<HttpAnswer> takeAnswer(bool waitForOutstanding);

  // Requests accepted whose answer was not yet taken.
  int outstanding() const;
  // Requests accepted so far.
  int accepted() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;  // made in the .cpp, where Shared is complete
  std::shared_ptr<HttpTransport> transport_;
};

}  // namespace chart_host
