// Faults on demand: which broken answer, if any, a request gets. One mode
// for every request, or "random", where each request draws a fault with a
// given probability from a sequence fixed by the seed (the n-th request
// drawn for gets the n-th draw). Faults can be limited to one endpoint, and
// to a run of requests (the 3rd to the 6th, say), so a client sees answers,
// then failures, then answers again. Or a schedule: several runs of
// requests, each with its own fault, and runs whose answers are sent late,
// so one run of a client meets answers at uneven delays, a failed transfer
// and an HTTP 500 where a test wants them. draw() and next() are
// thread-safe.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/standin/endpoint.h"

namespace standin {

enum class FaultMode {
  None,
  InvalidKey,  // the refusal of a wrong key
  Error,       // 200 {"error": "Service temporarily unavailable"}
  Http500,     // status 500, short text body
  Empty,       // 200, empty body
  Malformed,   // 200, JSON cut off in the middle
  Truncated,   // Content-Length larger than what is sent, then the connection closes
  Nested,      // 200, 100000 nested arrays
  Slow,        // the normal answer, after a delay beyond the clients' timeouts
  Close,       // chunked answer; the connection closes after part of the body
  NotFound,    // 404 {"error": "not found"}; never drawn at random
  Random,      // each request draws one of the above or none
};

const char* faultName(FaultMode mode);  // "none", "invalid-key", ... "random"
std::optional<FaultMode> faultFromName(std::string_view name);
// Every name, separated by '|', for help and error texts.
std::string faultNames();

// Requests counted from 1 at the endpoints faults apply to, both ends included.
struct RequestRun {
  uint64_t first = 1;
  uint64_t last = UINT64_MAX;
};

// "N" or "N-M" (N from 1, M not below N); nothing for any other text.
std::optional<RequestRun> requestRunFromText(std::string_view text);

// One entry of a fault schedule: the requests of `run` get `mode`.
struct ScheduledFault {
  RequestRun run;
  FaultMode mode = FaultMode::None;
};

// One entry of a delay schedule: the answers to the requests of `run` are
// sent `seconds` late.
struct ScheduledDelay {
  RequestRun run;
  double seconds = 0;
};

// What the next request gets: its fault (never Random) and how late its
// answer is sent, on top of any delay the fault itself brings.
struct DrawnFault {
  FaultMode fault = FaultMode::None;
  double delay_s = 0;
};

class FaultPlan {
 public:
  // `only`: the endpoint faults apply to; none means every endpoint.
  // `rate`: with Random, the chance that a request gets a fault.
  // `run`: the requests at those endpoints that get faults; the others, and
  // all with none given, as the mode says.
  FaultPlan(FaultMode mode, double rate, uint64_t seed, std::optional<Endpoint> only,
            std::optional<RequestRun> run = std::nullopt);
  // A schedule: each entry's requests get its fault or its delay; the runs
  // of `faults` do not overlap, nor do those of `delays`. Requests are
  // counted as with one mode; those in no entry are answered normally.
  FaultPlan(std::vector<ScheduledFault> faults, std::vector<ScheduledDelay> delays, double rate, uint64_t seed,
            std::optional<Endpoint> only);

  // The fault and the delay for the next request at `endpoint`.
  DrawnFault next(Endpoint endpoint);
  // The fault for the next request at `endpoint`; never Random.
  FaultMode draw(Endpoint endpoint) { return next(endpoint).fault; }

 private:
  FaultMode drawRandom();

  std::vector<ScheduledFault> faults_;
  std::vector<ScheduledDelay> delays_;
  double rate_;
  uint64_t seed_;
  std::optional<Endpoint> only_;
  std::atomic<uint64_t> requests_{0};  // at the endpoints faults apply to
  std::atomic<uint64_t> draws_{0};
};

// The bodies of the faults that have one of their own.
std::string malformedBody();
std::string nestedBody();

}  // namespace standin
