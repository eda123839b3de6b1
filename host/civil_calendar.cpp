#include "host/civil_calendar.h"

#include <chrono>

namespace chart_host {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr int64_t kYearsPerCycle = 400;
constexpr int64_t kDaysPerCycle = 146097;
// Years are moved into the cycle that starts here, well inside chrono's range.
constexpr int64_t kCycleStartYear = 2000;

constexpr sys_days kHostEpoch = std::chrono::year{1899} / std::chrono::December / 30;
static_assert((sys_days{} - kHostEpoch).count() == kDayNumberOf1970);
static_assert(kDaysPerCycle % 7 == 0, "weekdays must repeat with the cycle");

int64_t floorDivide(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return quotient - ((value % divisor != 0 && value < 0) ? 1 : 0);
}

// A year as a whole number of cycles plus a year chrono can hold.
struct CycleYear {
  int64_t cycles;
  std::chrono::year year;
};

CycleYear splitYear(int64_t year) {
  const int64_t cycles = floorDivide(year - kCycleStartYear, kYearsPerCycle);
  return {cycles, std::chrono::year{static_cast<int>(year - cycles * kYearsPerCycle)}};
}

int64_t cycleDayNumber(sys_days day, int64_t cycles) {
  return (day - kHostEpoch).count() + cycles * kDaysPerCycle;
}

std::chrono::month monthOf(int32_t month) { return std::chrono::month{static_cast<unsigned>(month)}; }

}  // namespace

int64_t dayNumberOfDate(int64_t year, int32_t month, int32_t day) {
  const CycleYear split = splitYear(year);
  const auto date = split.year / monthOf(month) / std::chrono::day{static_cast<unsigned>(day)};
  return cycleDayNumber(sys_days{date}, split.cycles);
}

CivilDate dateOfDayNumber(int64_t dayNumber) {
  const int64_t cycles = floorDivide(dayNumber, kDaysPerCycle);
  const std::chrono::year_month_day date{kHostEpoch + days{dayNumber - cycles * kDaysPerCycle}};
  return {static_cast<int>(date.year()) + cycles * kYearsPerCycle,
          static_cast<int32_t>(static_cast<unsigned>(date.month())),
          static_cast<int32_t>(static_cast<unsigned>(date.day()))};
}

bool isRealDate(int64_t year, int32_t month, int32_t day) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  return (splitYear(year).year / monthOf(month) / std::chrono::day{static_cast<unsigned>(day)}).ok();
}

int64_t dayNumberOfWeekdayInMonth(int64_t year, int32_t month, int32_t week, int32_t weekday) {
  const CycleYear split = splitYear(year);
  const auto yearMonth = split.year / monthOf(month);
  const std::chrono::weekday named{static_cast<unsigned>(weekday)};
  const sys_days day = week >= 5 ? sys_days{yearMonth / named[std::chrono::last]}
                                 : sys_days{yearMonth / named[static_cast<unsigned>(week)]};
  return cycleDayNumber(day, split.cycles);
}

int32_t weekdayOfDayNumber(int64_t dayNumber) {
  const int64_t cycles = floorDivide(dayNumber, kDaysPerCycle);
  const std::chrono::weekday weekday{kHostEpoch + days{dayNumber - cycles * kDaysPerCycle}};
  return static_cast<int32_t>(weekday.c_encoding());
}

int64_t dayNumberOf(HostDateTime dateTime) { return floorDivide(dateTime, kMicrosecondsPerDay); }

// The remainder, not value - day * length: that product leaves int64 near
// the ends of the range.
int64_t microsecondOfDay(HostDateTime dateTime) {
  const int64_t remainder = dateTime % kMicrosecondsPerDay;
  return remainder < 0 ? remainder + kMicrosecondsPerDay : remainder;
}

}  // namespace chart_host
