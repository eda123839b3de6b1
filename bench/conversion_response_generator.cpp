#include "bench/conversion_response_generator.h"

#include "bench/seeded_random.h"

namespace {

constexpr const char* kFutureRoots[] = {"ES", "MES", "NQ", "MNQ", "RTY", "YM"};
// March, June, September, December.
constexpr char kQuarterlyMonthCodes[] = {'H', 'M', 'U', 'Z'};

void appendCents(std::string& out, int cents) {
  if (cents < 0) {
    out += '-';
    cents = -cents;
  }
  out += std::to_string(cents / 100);
  if (cents % 100 == 0) return;
  out += '.';
  out += static_cast<char>('0' + cents / 10 % 10);
  if (cents % 10 != 0) out += static_cast<char>('0' + cents % 10);
}

}  // namespace

std::string makeConversionResponse(uint64_t seed) {
  SeededRandom random(seed);
  std::string out = "{\"future_contract\":\"";
  out += kFutureRoots[random.between(0, 5)];
  out += kQuarterlyMonthCodes[random.between(0, 3)];
  out += static_cast<char>('5' + random.between(0, 1));
  out += "\",\"multiplier\":";
  // Either the premium is all additive, or a carry factor with a small rest.
  const bool additiveOnly = random.coin();
  if (additiveOnly) {
    out += random.coin() ? "1" : "1.0";
  } else {
    out += "1.00";
    out += std::to_string(random.between(1000, 9999));
  }
  out += ",\"additive\":";
  appendCents(out, additiveOnly ? random.between(500, 25000) : random.between(-999, 999));
  out += '}';
  return out;
}
