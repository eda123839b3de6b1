#include "host/picture/calendar_time.h"

namespace chart_host {

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1000000;
// 1899-12-30 is this many days before 1970-01-01.
constexpr int64_t kDaysBefore1970 = 25569;
// About 3000 years either side: far beyond any bar, and far from overflow.
constexpr HostDateTime kFarthestTime = 100000000000000000LL;

int64_t floorDivide(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return quotient - ((value % divisor != 0 && value < 0) ? 1 : 0);
}

}  // namespace

CalendarTime calendarTime(HostDateTime dateTime) {
  if (dateTime > kFarthestTime) dateTime = kFarthestTime;
  if (dateTime < -kFarthestTime) dateTime = -kFarthestTime;
  CalendarTime time{};
  time.dayNumber = floorDivide(dateTime, kMicrosecondsPerDay);
  time.secondOfDay = (dateTime - time.dayNumber * kMicrosecondsPerDay) / kMicrosecondsPerSecond;
  time.hour = static_cast<int32_t>(time.secondOfDay / 3600);
  time.minute = static_cast<int32_t>(time.secondOfDay / 60 % 60);

  // Civil date from a day count, in 400-year eras that start on 1 March.
  const int64_t days = time.dayNumber - kDaysBefore1970 + 719468;
  const int64_t era = floorDivide(days, 146097);
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  time.day = static_cast<int32_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  time.month = static_cast<int32_t>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  time.year = static_cast<int32_t>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
  return time;
}

const char* monthAbbreviation(int32_t month) {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return month >= 1 && month <= 12 ? kMonths[month - 1] : "?";
}

}  // namespace chart_host
