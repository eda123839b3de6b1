#include "tools/chart/calendar_text.h"

#include <cstdio>

using namespace chart_host;

namespace chart_tool {

namespace {

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
  if (year < 1900 || !isRealDate(year, month, day)) return std::nullopt;
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
  const CivilDate date = dateOfDayNumber(dayNumberOf(value));
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %s", static_cast<int>(date.year), date.month,
                date.day, formatTimeOfDay(value).c_str());
  return text;
}

std::string formatTimeOfDay(HostDateTime value) {
  const int64_t seconds = microsecondOfDay(value) / kMicrosecondsPerSecond;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

}  // namespace chart_tool
