// The window test works on whole seconds into the day, the resolution the
// time-of-day inputs are shown with.
#include "study/request_window.h"

#include "study/host_calls.h"
#include "study/input_readers.h"
#include "study/study_inputs.h"
#include "study/time_zone_table.h"

namespace tarvio {

namespace {

// Whole seconds past midnight of a date-time or day offset, both divisions
// truncating: negative values (before 1899-12-30) give negative seconds.
int32_t secondsIntoDay(HostDateTime value) {
  return static_cast<int32_t>(value % kMicrosecondsPerDay / kMicrosecondsPerSecond);
}

bool isDateOrTimeKind(int32_t kind) {
  return kind == kInputTimeOfDay || kind == kInputDate || kind == kInputDateTime;
}

// The start input is read by its date or time value whatever its kind, so a
// date-time placed there counts by its time of day.
int32_t startSeconds(const HostInput& input) {
  if (!isDateOrTimeKind(input.kind) || input.dateTimeValue == 0.0) return 0;
  const double dayUs = input.dateTimeValue * static_cast<double>(kMicrosecondsPerDay);
  return secondsIntoDay(roundHalfAwayFromZero(dayUs));
}

}  // namespace

bool inRequestWindow(HostStudyInterface& sc) {
  const char* zoneText = zoneTextForInput(inputAt(sc, kTimeZoneInput));
  HostDateTime now = sc.currentDateTime;
  HostCalls(sc).convertToTimeZone(now, sc.currentDateTime, zoneText);
  const int32_t nowSeconds = secondsIntoDay(now);
  if (nowSeconds < startSeconds(inputAt(sc, kRequestStartTimeInput))) return false;
  const int32_t endSeconds = secondsIntoDay(readDateTime(inputAt(sc, kRequestEndTimeInput)));
  return nowSeconds <= endSeconds;
}

}  // namespace tarvio
