// Typed readers of study inputs. The user may change an input's value in the
// host's settings at any time, and the host stores any number a field can hold,
// so every conversion here is total: out-of-range and NaN floats are clamped to
// the target range rather than cast, which would be undefined.
#include "study/input_readers.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvio {

namespace {

constexpr const char* kUnsetText = "Unset";
constexpr HostColor kWhite = 0xFFFFFF;

int32_t clampToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t nearestInt32(double value) { return clampToInt32(roundHalfAwayFromZero(value)); }

int32_t asFlag(bool value) { return value ? 1 : 0; }

// A time of day is stored as a fraction of a day.
HostDateTime dayMicroseconds(const HostInput& input) {
  if (input.dateTimeValue == 0.0) return 0;
  return roundHalfAwayFromZero(input.dateTimeValue * static_cast<double>(kMicrosecondsPerDay));
}

// Whole seconds into the day; a value beyond one day wraps, truncating.
int32_t daySeconds(const HostInput& input) {
  const HostDateTime micros = dayMicroseconds(input) % kMicrosecondsPerDay;
  return static_cast<int32_t>(micros / kMicrosecondsPerSecond);
}

bool carriesTimeZone(const HostInput& input) {
  return input.kind == kInputDateTime && input.timeZoneIndex >= 0;
}

}  // namespace

int64_t roundHalfAwayFromZero(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (value >= kLimit) return std::numeric_limits<int64_t>::max();
  if (value < -kLimit) return std::numeric_limits<int64_t>::min();
  // The fraction left after truncation is exact, so halves are found without
  // the error of adding 0.5 and flooring; some C libraries' round() make it.
  const double whole = std::trunc(value);
  const double fraction = value - whole;
  if (fraction >= 0.5) return static_cast<int64_t>(whole) + 1;
  if (fraction <= -0.5) return static_cast<int64_t>(whole) - 1;
  return static_cast<int64_t>(whole);
}

int32_t readIndex(const HostInput& input) {
  switch (input.kind) {
    case kInputList:
    case kInputInteger:
    case kInputColor:
    case kInputTimeZone:
      return input.intValue;
    case kInputFloat:
      return nearestInt32(input.floatValue);
    case kInputYesNo:
      return asFlag(input.intValue != 0);
    case kInputDateTime:
      return carriesTimeZone(input) ? input.timeZoneIndex : 0;
    default:
      return 0;
  }
}

int32_t readInteger(const HostInput& input) {
  // The index reader's answers, except that a time of day counts its seconds
  // and a date-time's zone is no integer.
  if (input.kind == kInputTimeOfDay) return daySeconds(input);
  if (input.kind == kInputDateTime) return 0;
  return readIndex(input);
}

float readFloat(const HostInput& input) {
  switch (input.kind) {
    case kInputList:
    case kInputInteger:
    case kInputTimeZone:
      return static_cast<float>(input.intValue);
    case kInputFloat:
      return input.floatValue;
    case kInputYesNo:
      return static_cast<float>(asFlag(input.intValue != 0));
    default:
      return 0.0f;
  }
}

int32_t readYesNo(const HostInput& input) {
  switch (input.kind) {
    case kInputList:
    case kInputInteger:
    case kInputYesNo:
    case kInputColor:
    case kInputTimeZone:
      return asFlag(input.intValue != 0);
    case kInputFloat:
      return asFlag(input.floatValue != 0.0f);
    case kInputTimeOfDay:
      return asFlag(input.dateTimeValue != 0.0);
    default:
      return 0;
  }
}

HostDateTime readDateTime(const HostInput& input) {
  return input.kind == kInputTimeOfDay ? dayMicroseconds(input) : 0;
}

const char* readText(const HostInput& input) {
  if (input.kind != kInputText || input.textValue.text == nullptr) return kUnsetText;
  return input.textValue.text;
}

HostColor readColor(const HostInput& input) {
  switch (input.kind) {
    case kInputColor:
    case kInputInteger:
    case kInputList:
    case kInputTimeZone:
      return static_cast<HostColor>(input.intValue);
    case kInputYesNo:
      return input.intValue != 0 ? kWhite : 0;
    default:
      return 0;
  }
}

}  // namespace tarvio
