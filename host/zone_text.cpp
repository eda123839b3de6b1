// Reading zone texts and converting between UTC and a zone's wall clock.
#include "host/zone_text.h"

#include <limits>

#include "host/civil_calendar.h"

namespace chart_host {

namespace {

// Offsets, shifts and switch times are kept within a day, which keeps every
// sum of them far from overflow.
constexpr int64_t kLongestSpanUs = 24LL * kMicrosecondsPerHour;

int64_t saturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return sum;
}

int64_t saturatingMultiply(int64_t a, int64_t b) {
  int64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) {
    return (a < 0) != (b < 0) ? std::numeric_limits<int64_t>::min()
                              : std::numeric_limits<int64_t>::max();
  }
  return product;
}

// Walks a zone text once, left to right. Every read either advances past what
// it accepted or records the first error; later reads after an error do
// nothing, so the caller checks once at the end of a step.
class ZoneTextReader {
 public:
  explicit ZoneTextReader(std::string_view text) : text_(text) {}

  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  bool atEnd() const { return position_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[position_]; }

  void fail(const std::string& message) {
    if (failed()) return;
    error_ = "zone text, at character " + std::to_string(position_ + 1) + ": " + message;
  }

  // A run of ASCII letters; empty when there is none.
  std::string_view readName() {
    const std::size_t start = position_;
    while (!atEnd() && isLetter(peek())) ++position_;
    return text_.substr(start, position_ - start);
  }

  bool accept(char expected) {
    if (failed() || peek() != expected || atEnd()) return false;
    ++position_;
    return true;
  }

  void expect(char expected, const char* what) {
    if (!accept(expected)) fail(std::string("expected '") + expected + "' " + what);
  }

  // Decimal digits, minDigits to maxDigits of them, read as a number within
  // [low, high].
  int32_t readNumber(int32_t minDigits, int32_t maxDigits, int32_t low, int32_t high,
                     const char* what) {
    if (failed()) return 0;
    if (!isDigit(peek())) {
      fail(std::string("expected a number for the ") + what);
      return 0;
    }
    int32_t value = 0;
    int32_t digits = 0;
    while (isDigit(peek())) {
      if (digits == maxDigits) {
        fail(std::string("the ") + what + " has too many digits");
        return 0;
      }
      value = value * 10 + (peek() - '0');
      ++digits;
      ++position_;
    }
    if (digits < minDigits) {
      fail(std::string("the ") + what + " needs " + std::to_string(minDigits) + " digits");
      return 0;
    }
    if (value < low || value > high) {
      fail(std::string("the ") + what + " " + std::to_string(value) + " is outside " +
           std::to_string(low) + ".." + std::to_string(high));
      return 0;
    }
    return value;
  }

  // h, hh or hh:mm, at most 24:00.
  int64_t readClock(const char* what) {
    const int64_t hours = readNumber(1, 2, 0, 24, what);
    int64_t minutes = 0;
    if (accept(':')) minutes = readNumber(2, 2, 0, 59, what);
    const int64_t spanUs = hours * kMicrosecondsPerHour + minutes * kMicrosecondsPerMinute;
    if (!failed() && spanUs > kLongestSpanUs) fail(std::string("the ") + what + " exceeds 24:00");
    return spanUs;
  }

  // An optionally signed hh or hh:mm; no sign means east of Greenwich.
  int64_t readSignedClock(const char* what) {
    int64_t sign = 1;
    if (accept('-')) {
      sign = -1;
    } else {
      accept('+');
    }
    return sign * readClock(what);
  }

 private:
  static bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  std::string_view text_;
  std::size_t position_ = 0;
  std::string error_;
};

}  // namespace

std::optional<ZoneText> ZoneText::parse(std::string_view text, std::string* error) {
  ZoneTextReader reader(text);
  ZoneText zone;

  if (reader.atEnd()) {
    reader.fail("the text is empty");
  } else if (reader.readName().empty()) {
    reader.fail("expected the name of the standard time (letters)");
  }
  zone.standardOffsetUs_ = reader.readSignedClock("offset from UTC");

  if (!reader.failed() && !reader.atEnd()) {
    if (reader.readName().empty()) reader.fail("expected the name of the daylight time (letters)");
    zone.hasDaylight_ = true;
    zone.daylightShiftUs_ = kMicrosecondsPerHour;
    if (!reader.failed() && !reader.atEnd() && reader.peek() != ',') {
      zone.daylightShiftUs_ = reader.readSignedClock("daylight shift");
    }
    SwitchRule* rules[] = {&zone.daylightStart_, &zone.daylightEnd_};
    for (SwitchRule* rule : rules) {
      reader.expect(',', "before a switching rule");
      reader.expect('M', "to begin a switching rule (Mmonth.week.weekday)");
      rule->month = reader.readNumber(1, 2, 1, 12, "month");
      reader.expect('.', "after the month");
      rule->week = reader.readNumber(1, 1, 1, 5, "week");
      reader.expect('.', "after the week");
      rule->weekday = reader.readNumber(1, 1, 0, 6, "weekday");
      rule->timeUs = 2 * kMicrosecondsPerHour;
      if (reader.accept('/')) rule->timeUs = reader.readClock("switch time");
    }
  }
  if (!reader.failed() && !reader.atEnd()) reader.fail("unexpected text after the zone");

  if (reader.failed()) {
    if (error != nullptr) *error = reader.error();
    return std::nullopt;
  }
  return zone;
}

ZoneText ZoneText::utc() { return ZoneText(); }

HostDateTime ZoneText::switchInstant(const SwitchRule& rule, int64_t year,
                                     int64_t offsetBeforeUs) const {
  const int64_t day = dayNumberOfWeekdayInMonth(year, rule.month, rule.week, rule.weekday);
  const HostDateTime midnight = saturatingMultiply(day, kMicrosecondsPerDay);
  return saturatingAdd(midnight, rule.timeUs - offsetBeforeUs);
}

bool ZoneText::isDaylightAt(HostDateTime utc) const {
  if (!hasDaylight_) return false;
  // The latest switch at or before the instant decides. Looking at the year
  // around it on either side finds that switch whatever months the rules
  // name, including periods that span the new year.
  const HostDateTime standardLocal = saturatingAdd(utc, standardOffsetUs_);
  const int64_t year = dateOfDayNumber(dayNumberOf(standardLocal)).year;
  const int64_t daylightOffsetUs = standardOffsetUs_ + daylightShiftUs_;
  bool found = false;
  bool daylight = false;
  HostDateTime latest = 0;
  for (int64_t y = year - 1; y <= year + 1; ++y) {
    const HostDateTime start = switchInstant(daylightStart_, y, standardOffsetUs_);
    const HostDateTime end = switchInstant(daylightEnd_, y, daylightOffsetUs);
    if (start <= utc && (!found || start >= latest)) {
      found = true;
      latest = start;
      daylight = true;
    }
    if (end <= utc && (!found || end >= latest)) {
      found = true;
      latest = end;
      daylight = false;
    }
  }
  return daylight;
}

HostDateTime ZoneText::fromUtc(HostDateTime utc) const {
  const int64_t offsetUs = standardOffsetUs_ + (isDaylightAt(utc) ? daylightShiftUs_ : 0);
  return saturatingAdd(utc, offsetUs);
}

HostDateTime ZoneText::toUtc(HostDateTime local) const {
  const HostDateTime asStandard = saturatingAdd(local, -standardOffsetUs_);
  if (!hasDaylight_) return asStandard;
  // The daylight reading is taken only when it is the one valid reading;
  // otherwise (valid standard reading, or a skipped time with no valid reading
  // at all) the standard reading stands.
  const HostDateTime asDaylight = saturatingAdd(asStandard, -daylightShiftUs_);
  if (isDaylightAt(asStandard) && isDaylightAt(asDaylight)) return asDaylight;
  return asStandard;
}

}  // namespace chart_host
