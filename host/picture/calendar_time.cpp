#include "host/picture/calendar_time.h"

#include "host/civil_calendar.h"

namespace chart_host {

namespace {

// About 3000 years either side: far beyond any bar; times further out are
// labelled as these.
constexpr HostDateTime kFarthestTime = 100000000000000000LL;

}  // namespace

CalendarTime calendarTime(HostDateTime dateTime) {
  if (dateTime > kFarthestTime) dateTime = kFarthestTime;
  if (dateTime < -kFarthestTime) dateTime = -kFarthestTime;
  CalendarTime time{};
  time.dayNumber = dayNumberOf(dateTime);
  time.secondOfDay = microsecondOfDay(dateTime) / kMicrosecondsPerSecond;
  time.hour = static_cast<int32_t>(time.secondOfDay / 3600);
  time.minute = static_cast<int32_t>(time.secondOfDay / 60 % 60);
  const CivilDate date = dateOfDayNumber(time.dayNumber);
  time.year = static_cast<int32_t>(date.year);
  time.month = date.month;
  time.day = date.day;
  return time;
}

const char* monthAbbreviation(int32_t month) {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return month >= 1 && month <= 12 ? kMonths[month - 1] : "?";
}

}  // namespace chart_host
