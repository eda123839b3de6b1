#include "tools/standin/fault_plan.h"

#include <array>

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

FaultPlan::FaultPlan(FaultMode mode, double rate, uint64_t seed, std::optional<Endpoint> only)
    : mode_(mode), rate_(rate), seed_(seed), only_(only) {}

FaultMode FaultPlan::draw(Endpoint endpoint) {
  if (mode_ == FaultMode::None || (only_ && *only_ != endpoint)) return FaultMode::None;
  if (mode_ != FaultMode::Random) return mode_;
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
