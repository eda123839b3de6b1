#include "tools/recording/recording_time.h"

#include <chrono>
#include <cstdio>

namespace recording {

namespace {

using namespace std::chrono;

// HostDateTime counts from 1899-12-30 00:00.
constexpr sys_days kOrigin = sys_days(year(1899) / December / 30);
constexpr HostDateTime kFirst = (sys_days(year(1) / January / 1) - kOrigin).count() * kMicrosecondsPerDay;
constexpr HostDateTime kPastLast = (sys_days(year(10000) / January / 1) - kOrigin).count() * kMicrosecondsPerDay;

// The digits of text[at, at + count) as a number, or -1.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<std::string> formatRecordingTime(HostDateTime time) {
  if (time < kFirst || time >= kPastLast) return std::nullopt;
  HostDateTime days = time / kMicrosecondsPerDay;
  HostDateTime inDay = time % kMicrosecondsPerDay;
  if (inDay < 0) {
    inDay += kMicrosecondsPerDay;
    --days;
  }
  const year_month_day date(kOrigin + std::chrono::days(days));
  const int64_t seconds = inDay / kMicrosecondsPerSecond;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d.%06d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
                static_cast<int>(inDay % kMicrosecondsPerSecond));
  return std::string(text);
}

std::optional<HostDateTime> readRecordingTime(std::string_view text) {
  // YYYY-MM-DD HH:MM:SS.ffffff
  constexpr std::string_view kShape = "0000-00-00 00:00:00.000000";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i)
    if ((kShape[i] == '0') != (text[i] >= '0' && text[i] <= '9') || (kShape[i] != '0' && text[i] != kShape[i]))
      return std::nullopt;
  const year_month_day date(year(digitsAt(text, 0, 4)), month(static_cast<unsigned>(digitsAt(text, 5, 2))),
                            day(static_cast<unsigned>(digitsAt(text, 8, 2))));
  const int hours = digitsAt(text, 11, 2);
  const int minutes = digitsAt(text, 14, 2);
  const int seconds = digitsAt(text, 17, 2);
  if (!date.ok() || date.year() < year(1) || hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
  const int64_t days = (sys_days(date) - kOrigin).count();
  return days * kMicrosecondsPerDay + ((hours * 60 + minutes) * 60 + seconds) * kMicrosecondsPerSecond +
         digitsAt(text, 20, 6);
}

}  // namespace recording
