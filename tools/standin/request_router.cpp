#include "tools/standin/request_router.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <ctime>

#include "tools/standin/endpoint.h"
#include "tools/standin/futures_quote.h"
#include "tools/standin/gex_snapshot.h"
#include "tools/standin/greek_snapshot.h"
#include "tools/standin/majors_history.h"
#include "tools/standin/profile_json.h"
#include "tools/support/json_text.h"

namespace standin {

namespace {

Reply jsonReply(unsigned status, std::string body) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

Reply errorReply(unsigned status, std::string_view text) {
  return jsonReply(status, "{\"error\":" + support::jsonString(text) + "}");
}

// The first header named `name` (case-insensitive), or none.
const std::string* headerValue(const HeaderList& headers, const char* name) {
  for (const auto& [key, value] : headers) {
    if (strcasecmp(key.c_str(), name) == 0) return &value;
  }
  return nullptr;
}

// Profile and history requests carry "Basic KEY", the futures request
// "Bearer KEY", the key raw in both.
bool authorised(const ReceivedRequest& request, Endpoint endpoint, const std::string& api_key) {
  const std::string* value = headerValue(request.headers, "Authorization");
  const std::string scheme = endpoint == Endpoint::Futures ? "Bearer " : "Basic ";
  return value != nullptr && *value == scheme + api_key;
}

bool methodAllowed(const std::string& method, Endpoint endpoint) {
  if (endpoint == Endpoint::History) return method == "POST";
  return method == "GET" || method == "HEAD";
}

// Faults whose answer does not start from the normal one (which is then
// neither computed nor taken from a replay).
bool replacesBody(FaultMode fault) {
  return fault != FaultMode::None && fault != FaultMode::Slow && fault != FaultMode::Truncated &&
         fault != FaultMode::Close;
}

// The expiries a profile word covers, as the study's "Greek" input names
// them: "full" the whole chain, the 0dte words today's, the 1dte words the
// next day's.
ChainExpiry expiryOfWord(const std::string& word) {
  if (word == "zero" || word == "gamma" || word == "delta") return ChainExpiry::ZeroDay;
  if (word == "one" || word.ends_with("_one")) return ChainExpiry::OneDay;
  return ChainExpiry::All;
}

// A careless service's error quotes the request back, key and all: the
// client must keep such a text out of everything it writes.
void echoKey(Reply& reply, const std::string& key) {
  if (reply.fault == FaultMode::Error)
    reply.body = "{\"error\":" + support::jsonString("Service temporarily unavailable for key " + key) + "}";
  if (reply.fault == FaultMode::Http500) reply.body = "Internal Server Error for key " + key + "\n";
}

}  // namespace

Reply refusal(Endpoint endpoint) {
  if (endpoint == Endpoint::Futures) return errorReply(401, "Invalid API Key.");
  return jsonReply(200, R"({"message":"ERROR: Invalid API Key."})");
}

Reply faultReply(FaultMode fault, Endpoint endpoint, Reply normal, double slow_s) {
  Reply reply;
  switch (fault) {
    case FaultMode::None:
    case FaultMode::Random:
      return normal;
    case FaultMode::InvalidKey:
      reply = refusal(endpoint);
      break;
    case FaultMode::Error:
      reply = errorReply(200, "Service temporarily unavailable");
      break;
    case FaultMode::NotFound:
      reply = errorReply(404, "not found");
      break;
    case FaultMode::Http500:
      reply.status = 500;
      reply.content_type = "text/plain";
      reply.body = "Internal Server Error\n";
      break;
    case FaultMode::Empty:
      break;
    case FaultMode::Malformed:
      reply.body = malformedBody();
      break;
    case FaultMode::Nested:
      reply.body = nestedBody();
      break;
    case FaultMode::Truncated:
      reply = std::move(normal);
      reply.delivery = Delivery::CutWithLength;
      break;
    case FaultMode::Close:
      reply = std::move(normal);
      reply.delivery = Delivery::CutChunked;
      break;
    case FaultMode::Slow:
      reply = std::move(normal);
      reply.delay_s = slow_s;
      break;
  }
  reply.fault = fault;
  return reply;
}

std::string exchangeLine(const ReceivedRequest& request, const Reply& reply) {
  return request.method + " " + request.target + " -> " + std::to_string(reply.status) +
         " fault=" + faultName(reply.fault);
}

namespace {

// A ticker as the clocks count it: the futures query writes it in lower case.
std::string tickerKey(std::string ticker) {
  std::transform(ticker.begin(), ticker.end(), ticker.begin(), [](unsigned char c) { return std::toupper(c); });
  return ticker;
}

}  // namespace

int64_t RequestRouter::now(const std::string& ticker) const {
  if (!settings_.fixed_now) return static_cast<int64_t>(std::time(nullptr));
  std::lock_guard lock(answers_mutex_);
  const auto answered = profile_answers_.find(tickerKey(ticker));
  return *settings_.fixed_now + settings_.advance_s * (answered == profile_answers_.end() ? 0 : answered->second);
}

Reply RequestRouter::answer(const ReceivedRequest& request) const {
  const std::optional<RoutedTarget> target = routeTarget(request.target);
  if (!target) return errorReply(404, "not found");
  if (!methodAllowed(request.method, target->endpoint)) return errorReply(405, "method not allowed");
  if (request.body_too_large) return errorReply(413, "request body too large");
  if (!authorised(request, target->endpoint, settings_.api_key)) return refusal(target->endpoint);

  const DrawnFault drawn = faults_.next(target->endpoint);
  Reply reply = answerOrFault(drawn.fault, *target, request);
  if (settings_.echo_key) echoKey(reply, settings_.api_key);
  reply.delay_s += drawn.delay_s;
  return reply;
}

// The answer the request gets with `fault`, from a recording, a replay or
// the model unless the fault replaces it.
Reply RequestRouter::answerOrFault(FaultMode fault, const RoutedTarget& target, const ReceivedRequest& request) const {
  if (replacesBody(fault)) return faultReply(fault, target.endpoint, Reply{}, settings_.slow_s);
  Reply normal;
  if (const RecordingReplay* recording = replays_.recording()) {
    std::optional<Reply> recorded = recordedReply(*recording, request, target.endpoint);
    if (!recorded) return errorReply(404, "not in the recording");
    normal = std::move(*recorded);
  } else if (std::optional<std::string> replayed = replays_.next(target.endpoint)) {
    normal = jsonReply(200, std::move(*replayed));
  } else {
    normal = computedAnswer(target, request);
  }
  return faultReply(fault, target.endpoint, std::move(normal), settings_.slow_s);
}

// The recorded answer as it came then: a failed transfer closes the
// connection before any of its body. None when the path has no answer by now.
std::optional<Reply> RequestRouter::recordedReply(const RecordingReplay& recording, const ReceivedRequest& request,
                                   Endpoint endpoint) const {
  RecordedAnswer recorded = recording.answerAt(request.target, recording.now());
  switch (recorded.kind) {
    case RecordedAnswer::Kind::Delivered:
      return jsonReply(recorded.status, std::move(recorded.body));
    case RecordedAnswer::Kind::Failed:
      return faultReply(FaultMode::Close, endpoint, Reply{}, settings_.slow_s);
    case RecordedAnswer::Kind::NotRecorded:
      break;
  }
  return std::nullopt;
}

Reply RequestRouter::computedAnswer(const RoutedTarget& target, const ReceivedRequest& request) const {
  switch (target.endpoint) {
    case Endpoint::Profile:
      return profileAnswer(target);
    case Endpoint::History: {
      auto window = parseHistoryWindow(request.body);
      if (const auto* problem = std::get_if<std::string>(&window)) return errorReply(400, *problem);
      HistoryAnswer history = majorsHistoryAnswer(model_, target.ticker, std::get<HistoryWindow>(window), now(target.ticker));
      if (!history.problem.empty()) return errorReply(400, history.problem);
      return jsonReply(200, std::move(history.body));
    }
    case Endpoint::Futures: {
      auto quote = futuresQuote(model_, target.ticker, target.future, target.model, now(target.ticker));
      if (const auto* problem = std::get_if<std::string>(&quote)) return errorReply(400, *problem);
      return jsonReply(200, futuresQuoteJson(std::get<FuturesQuote>(quote)));
    }
  }
  return errorReply(404, "not found");
}

Reply RequestRouter::profileAnswer(const RoutedTarget& target) const {
  Reply reply = profileAt(target, now(target.ticker));
  std::lock_guard lock(answers_mutex_);
  ++profile_answers_[tickerKey(target.ticker)];
  return reply;
}

Reply RequestRouter::profileAt(const RoutedTarget& target, int64_t now) const {
  const std::string& word = target.profile;
  if (word == "full" || word == "zero" || word == "one") {
    return jsonReply(200, gexProfileJson(gexSnapshot(model_, target.ticker, expiryOfWord(word), now)));
  }
  if (target.package != "state") {
    return errorReply(200, "Profile " + word + " needs the state package.");
  }
  const Greek greek = word.starts_with("gamma") ? Greek::Gamma : Greek::Delta;
  return jsonReply(200, greekProfileJson(greekSnapshot(model_, target.ticker, greek, expiryOfWord(word), now)));
}

}  // namespace standin
