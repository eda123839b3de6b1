#include "host/calendar_text.h"

#include <cstdio>

namespace chart_host {

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1000000;

// Days from 1970-01-01 of a civil date (Howard Hinnant's algorithm).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

constexpr int64_t kDaysFrom1899To1970 = 25569;

int32_t daysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Exactly `digits` decimal digits at `at`, advancing it.
bool readDigits(std::string_view text, std::size_t& at, int digits, int32_t& value) {
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

bool readChar(std::string_view text, std::size_t& at, char expected) {
  if (at >= text.size() || text[at] != expected) return false;
  ++at;
  return true;
}

}  // namespace

int64_t dayNumberOfDate(int32_t year, int32_t month, int32_t day) {
  return daysFromCivil(year, month, day) + kDaysFrom1899To1970;
}

void dateOfDayNumber(int64_t dayNumber, int32_t& year, int32_t& month, int32_t& day) {
  const int64_t z = dayNumber - kDaysFrom1899To1970 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int32_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int32_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::optional<HostDateTime> readDate(std::string_view text) {
  std::size_t at = 0;
  int32_t year = 0, month = 0, day = 0;
  if (!readDigits(text, at, 4, year) || at >= text.size()) return std::nullopt;
  const char separator = text[at];
  if (separator != '-' && separator != '/') return std::nullopt;
  ++at;
  if (!readDigits(text, at, 2, month) || !readChar(text, at, separator) ||
      !readDigits(text, at, 2, day) || at != text.size())
    return std::nullopt;
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return std::nullopt;
  return dayNumberOfDate(year, month, day) * kMicrosecondsPerDay;
}

std::optional<int64_t> readTimeOfDay(std::string_view text) {
  std::size_t at = 0;
  int32_t hours = 0, minutes = 0, seconds = 0, fraction = 0;
  if (!readDigits(text, at, 2, hours) || !readChar(text, at, ':') ||
      !readDigits(text, at, 2, minutes))
    return std::nullopt;
  if (at < text.size() && (!readChar(text, at, ':') || !readDigits(text, at, 2, seconds)))
    return std::nullopt;
  if (at < text.size()) {
    if (!readChar(text, at, '.')) return std::nullopt;
    const std::size_t digits = text.size() - at;
    if (digits == 0 || digits > 6 || !readDigits(text, at, static_cast<int>(digits), fraction))
      return std::nullopt;
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

std::string formatDateTime(HostDateTime value) {
  int64_t dayNumber = value / kMicrosecondsPerDay;
  int64_t micros = value % kMicrosecondsPerDay;
  if (micros < 0) {
    micros += kMicrosecondsPerDay;
    --dayNumber;
  }
  int32_t year = 0, month = 0, day = 0;
  dateOfDayNumber(dayNumber, year, month, day);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %s", year, month, day,
                formatTimeOfDay(value).c_str());
  return text;
}

std::string formatTimeOfDay(HostDateTime value) {
  int64_t micros = value % kMicrosecondsPerDay;
  if (micros < 0) micros += kMicrosecondsPerDay;
  const int64_t seconds = micros / kMicrosecondsPerSecond;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

}  // namespace chart_host
