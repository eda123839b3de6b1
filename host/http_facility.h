// The chart host's asynchronous HTTP facility: what HostMakeHttpRequest
// reaches. It accepts a request, hands it to its transport and keeps the
// answer until a later study call collects it. Every accepted request gets
// exactly one answer: the body, "EMPTY_RESPONSE" for an empty body, or
// "HTTP_REQUEST_ERROR" when the transfer failed. Without a transport every
// request is refused. Answers may arrive on any thread; collecting them is
// for the thread that calls the study. Facilities of different instances
// may be used on different threads at once and may share one transport.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "host/http_transport.h"

namespace chart_host {

// What the study reads for a failed transfer, and for an empty body.
constexpr const char* kFailedTransferText = "HTTP_REQUEST_ERROR";
constexpr const char* kEmptyBodyText = "EMPTY_RESPONSE";

// An answer as the study reads it, with what the transfer came to: the
// host's own reports (the service's status, data age) need what the study
// never sees.
struct HttpAnswer {
  int32_t requestId = 0;
  std::string text;        // what the study reads
  std::string url;         // of the request answered
  bool delivered = false;  // false: the transfer failed
  long status = 0;         // the HTTP status, when delivered
  std::string error;       // why the transfer failed, when it did
  TransferFailure failure = TransferFailure::ServiceNotReached;  // when not delivered
};

// What a bounded wait for an answer came to.
struct AnswerWait {
  std::optional<HttpAnswer> answer;  // the oldest arrived answer, taken
  // Nothing arrived before the deadline although requests were outstanding;
  // they stay outstanding and their answers come on later takes.
  bool deadlinePassed = false;
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
  // set and nothing arrived yet, waits until an outstanding request is
  // answered, but no longer than the answer wait limit.
  std::optional<HttpAnswer> takeAnswer(bool waitForOutstanding);
  // The oldest answer, waiting for one until `deadline` while requests are
  // outstanding. Returns at once when nothing is outstanding.
  AnswerWait takeAnswerBy(std::chrono::steady_clock::time_point deadline);

  // How long takeAnswer(true) waits at most. The default is well beyond the
  // longest transfer the transports allow by default, so it only ends the
  // wait on a transport that never completes a request.
  static constexpr std::chrono::milliseconds kDefaultAnswerWaitLimit{60000};
  void setAnswerWaitLimit(std::chrono::milliseconds limit) { answerWaitLimit_ = limit; }

  // Requests accepted whose answer was not yet taken.
  int outstanding() const;
  // Requests accepted so far.
  int accepted() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;  // made in the .cpp, where Shared is complete
  std::shared_ptr<HttpTransport> transport_;
  std::chrono::milliseconds answerWaitLimit_ = kDefaultAnswerWaitLimit;
};

}  // namespace chart_host
