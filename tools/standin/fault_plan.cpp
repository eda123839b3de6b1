#include "tools/standin/fault_plan.h"

#include <array>
#include <charconv>
#include <utility>

#include "tools/standin/market_model.h"

namespace standin {

namespace {

constexpr std::array<FaultMode, 12> kAllModes = {
    FaultMode::None,      FaultMode::InvalidKey, FaultMode::Error,     FaultMode::Http500,
    FaultMode::Empty,     FaultMode::Malformed,  FaultMode::Truncated, FaultMode::Nested,
    FaultMode::Slow,      FaultMode::Close,      FaultMode::NotFound,  FaultMode::Random};

// What a random draw picks from, with equal chances.
constexpr std::array<FaultMode, 9> kDrawnFaults = {
    FaultMode::InvalidKey, FaultMode::Error,  FaultMode::Http500, FaultMode::Empty, FaultMode::Malformed,
    FaultMode::Truncated,  FaultMode::Nested, FaultMode::Slow,    FaultMode::Close};

constexpr size_t kNestingDepth = 100000;

}  // namespace

const char* faultName(FaultMode mode) {
  switch (mode) {
    case FaultMode::None: return "none";
    case FaultMode::InvalidKey: return "invalid-key";
    case FaultMode::Error: return "error";
    case FaultMode::Http500: return "http500";
    case FaultMode::Empty: return "empty";
    case FaultMode::Malformed: return "malformed";
    case FaultMode::Truncated: return "truncated";
    case FaultMode::Nested: return "nested";
    case FaultMode::Slow: return "slow";
    case FaultMode::Close: return "close";
    case FaultMode::NotFound: return "not-found";
    case FaultMode::Random: return "random";
  }
  return "?";
}

std::optional<FaultMode> faultFromName(std::string_view name) {
  for (const FaultMode mode : kAllModes) {
    if (name == faultName(mode)) return mode;
  }
  return std::nullopt;
}

std::string faultNames() {
  std::string names;
  for (const FaultMode mode : kAllModes) {
    if (!names.empty()) names += '|';
    names += faultName(mode);
  }
  return names;
}

std::optional<RequestRun> requestRunFromText(std::string_view text) {
  const auto number = [](std::string_view digits) -> std::optional<uint64_t> {
    uint64_t value = 0;
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (failure != std::errc() || end != digits.data() + digits.size() || value == 0) return std::nullopt;
    return value;
  };
  const std::size_t dash = text.find('-');
  const std::optional<uint64_t> first = number(text.substr(0, dash));
  const std::optional<uint64_t> last = dash == std::string_view::npos ? first : number(text.substr(dash + 1));
  if (!first || !last || *last < *first) return std::nullopt;
  return RequestRun{*first, *last};
}

// One mode is a schedule of one entry: its run, or every request.
FaultPlan::FaultPlan(FaultMode mode, double rate, uint64_t seed, std::optional<Endpoint> only,
                     std::optional<RequestRun> run)
    : rate_(rate), seed_(seed), only_(only) {
  if (mode != FaultMode::None) faults_.push_back({run.value_or(RequestRun{}), mode});
}

FaultPlan::FaultPlan(std::vector<ScheduledFault> faults, std::vector<ScheduledDelay> delays, double rate,
                     uint64_t seed, std::optional<Endpoint> only)
    : faults_(std::move(faults)), delays_(std::move(delays)), rate_(rate), seed_(seed), only_(only) {}

DrawnFault FaultPlan::next(Endpoint endpoint) {
  DrawnFault drawn;
  if ((faults_.empty() && delays_.empty()) || (only_ && *only_ != endpoint)) return drawn;
  const uint64_t request = requests_.fetch_add(1, std::memory_order_relaxed) + 1;
  const auto within = [request](const RequestRun& run) { return request >= run.first && request <= run.last; };
  for (const ScheduledFault& entry : faults_) {
    if (!within(entry.run)) continue;
    drawn.fault = entry.mode == FaultMode::Random ? drawRandom() : entry.mode;
    break;
  }
  for (const ScheduledDelay& entry : delays_) {
    if (!within(entry.run)) continue;
    drawn.delay_s = entry.seconds;
    break;
  }
  return drawn;
}

// The n-th draw of the seed's sequence, n counting the requests drawn for.
FaultMode FaultPlan::drawRandom() {
  const uint64_t n = draws_.fetch_add(1, std::memory_order_relaxed);
  const uint64_t bits = mixBits(mixBits(seed_ ^ 0x5EEDFA17ULL) + n);
  if (unitFromBits(bits) >= rate_) return FaultMode::None;
  return kDrawnFaults[mixBits(bits) % kDrawnFaults.size()];
}

std::string malformedBody() {
  return R"({"timestamp": 1772463600, "ticker": "ES_SPX", "spot": 5812.25, "strikes": [[5800, -15.25, 120.5, [-14.0, )";
}

std::string nestedBody() { return std::string(kNestingDepth, '[') + std::string(kNestingDepth, ']'); }

}  // namespace standin
