// Turns one received request into the reply the service would give: finds
// the endpoint, checks the method, the body size and the API key, draws a
// fault (and a delay), and otherwise serves a recorded answer, a replayed body or the
// computed answer for the current time. Knows nothing of sockets: the server delivers the Reply.
// answer() is thread-safe.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "tools/standin/fault_plan.h"
#include "tools/standin/market_model.h"
#include "tools/standin/replay_book.h"
#include "tools/standin/request_record.h"

namespace standin {

// How the server hands over a reply's body.
enum class Delivery {
  Whole,                // the whole body with its Content-Length
  CutWithLength,        // Content-Length of the whole body, half of it sent, then the connection closes
  CutChunked,           // chunked, half of the body sent, then the connection closes
};

struct Reply {
  unsigned status = 200;
  std::string content_type = "application/json";
  std::string body;
  Delivery delivery = Delivery::Whole;
  double delay_s = 0;  // wait this long before answering
  FaultMode fault = FaultMode::None;
};

struct ServiceSettings {
  std::string api_key = "standin-key";
  std::optional<int64_t> fixed_now;  // Unix seconds; none: the real clock
  double slow_s = 12;                // delay of the slow fault
  int64_t advance_s = 0;             // fixed clock's step per profile answer of the same ticker
  bool echo_key = false;             // the error and http500 faults quote the key
};

class RequestRouter {
 public:
  // The model, plan and book must outlive the router.
  RequestRouter(const MarketModel& model, ServiceSettings settings, FaultPlan& faults, ReplayBook& replays)
      : model_(model), settings_(std::move(settings)), faults_(faults), replays_(replays) {}

  Reply answer(const ReceivedRequest& request) const;

  // The service's time for a request on `ticker`. A fixed clock moves on by
  // its step with each profile answer of that ticker, so charts of several
  // tickers against one stand-in each see the clock they would see alone.
  int64_t now(const std::string& ticker) const;

 private:
  Reply answerOrFault(FaultMode fault, const RoutedTarget& target, const ReceivedRequest& request) const;
  Reply computedAnswer(const RoutedTarget& target, const ReceivedRequest& request) const;
  Reply profileAnswer(const RoutedTarget& target) const;
  Reply profileAt(const RoutedTarget& target, int64_t now) const;
  std::optional<Reply> recordedReply(const RecordingReplay& recording, const ReceivedRequest& request, Endpoint endpoint) const;

  // Profile answers so far, by ticker.
  mutable std::mutex answers_mutex_;
  mutable std::map<std::string, int64_t> profile_answers_;
  const MarketModel& model_;
  ServiceSettings settings_;
  FaultPlan& faults_;
  ReplayBook& replays_;
};

// The reply a fault gives at `endpoint` in place of the answer `normal`
// (which the slow fault delivers late and the cut faults deliver in part).
Reply faultReply(FaultMode fault, Endpoint endpoint, Reply normal, double slow_s);

// The refusal of a missing or wrong API key at `endpoint`.
Reply refusal(Endpoint endpoint);

// One line for the log: "GET /path -> 200 fault=none".
std::string exchangeLine(const ReceivedRequest& request, const Reply& reply);

}  // namespace standin
