#include "tools/support/date_time_text.h"

#include <cstdio>
#include <limits>

namespace support {

namespace {

struct CalendarDate {
  int64_t year;
  int32_t month;
  int32_t day;
};

// Whole-number division rounded down, for times before the epoch.
int64_t floorQuotient(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return quotient * divisor > value ? quotient - 1 : quotient;
}

// Days of the proleptic Gregorian calendar counted in 400-year eras from
// 0000-03-01, so that February ends each counted year; exact in 64 bits for
// every day a HostDateTime reaches.
constexpr int64_t kDaysOfEra = 146097;
constexpr int64_t kDayNumberOfEraStart = 693899;  // days from 0000-03-01 to 1899-12-30

int64_t dayNumberOfDate(int64_t year, int32_t month, int32_t day) {
  const int64_t shifted = month <= 2 ? year - 1 : year;
  const int64_t era = floorQuotient(shifted, 400);
  const int64_t yearOfEra = shifted - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysOfEra + dayOfEra - kDayNumberOfEraStart;
}

CalendarDate dateOfDayNumber(int64_t dayNumber) {
  const int64_t days = dayNumber + kDayNumberOfEraStart;
  const int64_t era = floorQuotient(days, kDaysOfEra);
  const int64_t dayOfEra = days - era * kDaysOfEra;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const auto day = static_cast<int32_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  const auto month = static_cast<int32_t>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  return CalendarDate{yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool isRealDate(int64_t year, int32_t month, int32_t day) {
  static constexpr int32_t kDaysOfMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDaysOfMonth[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Exactly `digits` decimal digits at `at`, advancing it.
bool readDateDigits(std::string_view text, std::size_t& at, int digits, int32_t& value) {
  if (text.size() < at + digits) return false;
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const char c = text[at + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  at += digits;
  return true;
}

bool readDateMark(std::string_view text, std::size_t& at, char expected) {
  if (at >= text.size() || text[at] != expected) return false;
  ++at;
  return true;
}

// Microseconds since the start of the time's day: 0 up to one day.
int64_t microsecondOfDay(HostDateTime time) {
  const int64_t remainder = time % kMicrosecondsPerDay;
  return remainder < 0 ? remainder + kMicrosecondsPerDay : remainder;
}

// The first and the past-last time that exact texts hold.
const HostDateTime kFirstExact = dayNumberOfDate(1, 1, 1) * kMicrosecondsPerDay;
const HostDateTime kPastLastExact = dayNumberOfDate(10000, 1, 1) * kMicrosecondsPerDay;

}  // namespace

int64_t dayNumberOf(HostDateTime time) { return floorQuotient(time, kMicrosecondsPerDay); }

HostDateTime startOfDay(HostDateTime time) {
  const int64_t intoDay = microsecondOfDay(time);
  // The first day the type reaches begins before its range: it starts at its least value.
  return time < std::numeric_limits<HostDateTime>::min() + intoDay ? std::numeric_limits<HostDateTime>::min()
                                                                    : time - intoDay;
}

std::optional<HostDateTime> timeOfDate(int64_t year, int32_t month, int32_t day) {
  if (!isRealDate(year, month, day)) return std::nullopt;
  return dayNumberOfDate(year, month, day) * kMicrosecondsPerDay;
}

std::optional<HostDateTime> readDate(std::string_view text) {
  std::size_t at = 0;
  int32_t year = 0, month = 0, day = 0;
  if (!readDateDigits(text, at, 4, year) || at >= text.size()) return std::nullopt;
  const char separator = text[at];
  if (separator != '-' && separator != '/') return std::nullopt;
  ++at;
  if (!readDateDigits(text, at, 2, month) || !readDateMark(text, at, separator) || !readDateDigits(text, at, 2, day) ||
      at != text.size())
    return std::nullopt;
  if (year < 1900) return std::nullopt;
  return timeOfDate(year, month, day);
}

std::optional<int64_t> readTimeOfDay(std::string_view text) {
  std::size_t at = 0;
  int32_t hours = 0, minutes = 0, seconds = 0, fraction = 0;
  if (!readDateDigits(text, at, 2, hours) || !readDateMark(text, at, ':') || !readDateDigits(text, at, 2, minutes))
    return std::nullopt;
  if (at < text.size() && (!readDateMark(text, at, ':') || !readDateDigits(text, at, 2, seconds))) return std::nullopt;
  if (at < text.size()) {
    if (!readDateMark(text, at, '.')) return std::nullopt;
    const std::size_t digits = text.size() - at;
    if (digits == 0 || digits > 6 || !readDateDigits(text, at, static_cast<int>(digits), fraction)) return std::nullopt;
    for (std::size_t i = digits; i < 6; ++i) fraction *= 10;
  }
  if (hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
  return ((hours * 60LL + minutes) * 60LL + seconds) * kMicrosecondsPerSecond + fraction;
}

std::optional<HostDateTime> readDateTime(std::string_view text) {
  const std::size_t split = text.find_first_of(" T");
  if (split == std::string_view::npos) return readDate(text);
  const std::optional<HostDateTime> day = readDate(text.substr(0, split));
  const std::optional<int64_t> time = readTimeOfDay(text.substr(split + 1));
  if (!day || !time) return std::nullopt;
  return *day + *time;
}

std::string formatDateTime(HostDateTime time) {
  const CalendarDate date = dateOfDayNumber(dayNumberOf(time));
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %s", static_cast<int>(date.year), date.month, date.day,
                formatTimeOfDay(time).c_str());
  return text;
}

std::string formatTimeOfDay(HostDateTime time) {
  const int64_t seconds = microsecondOfDay(time) / kMicrosecondsPerSecond;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

std::optional<std::string> formatExactDateTime(HostDateTime time) {
  if (time < kFirstExact || time >= kPastLastExact) return std::nullopt;
  const int64_t fraction = microsecondOfDay(time) % kMicrosecondsPerSecond;
  char text[40];
  std::snprintf(text, sizeof text, "%s.%06d", formatDateTime(time).c_str(), static_cast<int>(fraction));
  return std::string(text);
}

std::optional<HostDateTime> readExactDateTime(std::string_view text) {
  // YYYY-MM-DD HH:MM:SS.ffffff
  constexpr std::string_view kShape = "0000-00-00 00:00:00.000000";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i)
    if ((kShape[i] == '0') != (text[i] >= '0' && text[i] <= '9') || (kShape[i] != '0' && text[i] != kShape[i]))
      return std::nullopt;
  std::size_t at = 0;
  int32_t year = 0, month = 0, day = 0;
  readDateDigits(text, at, 4, year);
  readDateDigits(text, ++at, 2, month);
  readDateDigits(text, ++at, 2, day);
  const std::optional<HostDateTime> date = year >= 1 ? timeOfDate(year, month, day) : std::nullopt;
  const std::optional<int64_t> timeOfDay = readTimeOfDay(text.substr(11));
  if (!date || !timeOfDay) return std::nullopt;
  return *date + *timeOfDay;
}

}  // namespace support
