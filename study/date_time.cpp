// Unix-time conversions. They use integer arithmetic: the same formula in
// 64-bit floating point, (t / one day - 25569) x 86400, lands a hair below the
// whole second for about a quarter of all whole-second instants and would then
// truncate to the second before.
#include "study/date_time.h"

#include <limits>

namespace tarvio {

namespace {

constexpr int64_t kUnixEpochSeconds = kUnixEpochHostDateTime / kMicrosecondsPerSecond;

}  // namespace

int64_t HostDateTimeToUnixSeconds(HostDateTime t) {
  // t - epoch could overflow near the ends of the range, so the whole seconds
  // and the fraction are taken apart first; the fraction has t's sign.
  const int64_t wholeSeconds = t / kMicrosecondsPerSecond - kUnixEpochSeconds;
  const int64_t fractionUs = t % kMicrosecondsPerSecond;
  // Truncation toward zero of wholeSeconds + fraction.
  if (wholeSeconds > 0 && fractionUs < 0) return wholeSeconds - 1;
  if (wholeSeconds < 0 && fractionUs > 0) return wholeSeconds + 1;
  return wholeSeconds;
}

HostDateTime UnixSecondsToHostDateTime(int64_t s) {
  if (s == 0) return 0;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  if (s > (kMax - kUnixEpochHostDateTime) / kMicrosecondsPerSecond) return kMax;
  // Adding the (positive) epoch cannot overflow once the product fits.
  if (s < kMin / kMicrosecondsPerSecond) return kMin;
  return s * kMicrosecondsPerSecond + kUnixEpochHostDateTime;
}

}  // namespace tarvio
