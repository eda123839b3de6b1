// Majors histories and futures conversions: see generated_responses.h.
#include "support/generated_responses.h"
#include "support/market_hours_chart.h"
#include "support/seeded_random.h"

namespace {

// Prices are held in ten-thousandths of a point.
constexpr int64_t kPoint = 10000;
constexpr int64_t kStrikeStep = 5 * kPoint;

// A level with `decimals` decimals, trailing zeros dropped as the service does.
void appendLevel(std::string& out, int64_t level, int decimals) {
  out += std::to_string(level / kPoint);
  int64_t fraction = level % kPoint;
  for (int drop = 4 - decimals; drop > 0; --drop) fraction /= 10;
  if (fraction == 0) return;
  std::string digits = std::to_string(fraction);
  digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
  while (digits.back() == '0') digits.pop_back();
  out += '.';
  out += digits;
}

// The majors sit on strikes and move a few times an hour; zero gamma follows
// the spot from a distance that drifts.
class MarketLevels {
 public:
  explicit MarketLevels(SeededRandom& random)
      : random_(random), spot_(random.between(565000, 595000) * (kPoint / 100)) {
    drawMajors();
  }

  void advanceOneMinute() {
    spot_ += random_.between(-150, 150) * (kPoint / 100);
    zeroGammaOffset_ += random_.between(-30, 30) * (kPoint / 100);
    if (zeroGammaOffset_ > 40 * kPoint || zeroGammaOffset_ < -60 * kPoint) zeroGammaOffset_ /= 2;
    if (random_.between(0, 19) == 0) drawMajors();
  }

  void appendSnapshot(std::string& out, int64_t unixSeconds) {
    out += "{\"timestamp\":";
    out += std::to_string(unixSeconds);
    out += ",\"major_call_gamma\":";
    appendLevel(out, callMajor_, 0);
    out += ",\"major_put_gamma\":";
    appendLevel(out, putMajor_, 0);
    out += ",\"zero_gamma\":";
    // The last digits of zero gamma are its own, not the spot's. The draws
    // are made one by one, in the order the pinned seeds were measured in, so
    // every compiler names the same bytes.
    const int decimals = random_.between(2, 4);
    const int64_t ownDigits = random_.between(0, 9999);
    appendLevel(out, spot_ + zeroGammaOffset_ + ownDigits, decimals);
    out += '}';
  }

 private:
  void drawMajors() {
    const int64_t atTheMoney = spot_ / kStrikeStep * kStrikeStep;
    callMajor_ = atTheMoney + random_.between(1, 12) * kStrikeStep;
    putMajor_ = atTheMoney - random_.between(0, 12) * kStrikeStep;
  }

  SeededRandom& random_;
  int64_t spot_;
  int64_t zeroGammaOffset_ = 0;
  int64_t callMajor_ = 0;
  int64_t putMajor_ = 0;
};

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

std::string makeHistoryResponse(int snapshots, uint64_t seed) {
  SeededRandom random(seed);
  MarketLevels levels(random);
  const int firstDay = kTradingDays - snapshots / kMinutesPerTradingDay;
  std::string out;
  out.reserve(static_cast<size_t>(snapshots) * 104 + 2);
  out += '[';
  for (int i = 0; i < snapshots; ++i) {
    if (i > 0) out += ',';
    const int day = firstDay + i / kMinutesPerTradingDay;
    levels.appendSnapshot(out, marketMinuteUnixSeconds(day, i % kMinutesPerTradingDay));
    levels.advanceOneMinute();
  }
  out += ']';
  return out;
}

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
