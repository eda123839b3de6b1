#include "service/conversion_schedule.h"

#include <cstring>

#include "service/direct_http_client.h"
#include "service/futures_conversion.h"
#include "service/new_york_clock.h"
#include "study/configuration_checks.h"
#include "study/date_time.h"
#include "study/host_calls.h"
#include "study/instance_state.h"
#include "study/loggable_text.h"
#include "study/scoped_release.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

constexpr HostDateTime kRepeatInterval = 15 * kMicrosecondsPerMinute;
constexpr HostDateTime kTriggerResetBefore = 9 * kMicrosecondsPerHour;  // 09:00
constexpr HostDateTime kOpenTrigger = kMarketOpenTimeOfDay;     // 09:30
constexpr HostDateTime kSecondTrigger = kOpenTrigger + 2 * kMicrosecondsPerMinute;

bool sameText(const HostString& stored, const char* text) {
  return std::strcmp(hostStringText(stored), text) == 0;
}

// Remembers the pair asked for; true when it differs from the last one.
bool noteTickerAndTarget(HostStudyInterface& sc, const char* ticker, const char* futuresTarget) {
  HostCalls host(sc);
  HostString& lastTicker = host.persistentString(kLastConversionTickerKey);
  HostString& lastFuture = host.persistentString(kLastConversionFutureKey);
  if (sameText(lastTicker, ticker) && sameText(lastFuture, futuresTarget)) return false;
  assignHostString(lastTicker, ticker);
  assignHostString(lastFuture, futuresTarget);
  return true;
}

// Fires once per New York day in the minute starting at `at`, weekdays only.
bool openingTriggerFires(HostStudyInterface& sc, int32_t doneKey, HostDateTime at,
                         HostDateTime timeOfDayNow, bool weekday) {
  HostCalls host(sc);
  int32_t& done = host.persistentInt(doneKey);
  const bool inMinute = timeOfDayNow >= at && timeOfDayNow < at + kMicrosecondsPerMinute;
  if (!weekday || !inMinute || done != 0) return false;
  done = 1;
  return true;
}

void requestConversion(HostStudyInterface& sc, const char* ticker, const char* futuresTarget,
                       const char* apiKey) {
  HostCalls host(sc);
  host.persistentInt64(kLastConversionTimeKey) = sc.currentDateTime;
  logMessage(sc, kLogNote, "Tarvio Futures Conversion: sending request (ticker=%s -> future=%s)...",
             loggableText(ticker).c_str(), loggableText(futuresTarget).c_str());
  DirectHttpResult result = fetchFuturesConversion(ticker, futuresTarget, apiKey);
  const ScopedRelease releaseBody(result.body);
  const ScopedRelease releaseError(result.errorText);
  if (!result.completed) {
    logMessage(sc, kLogAlert, "Tarvio Futures Conversion: request failed: %s",
               loggableText(hostStringText(result.errorText)).c_str());
  } else if (result.statusCode != 200) {
    logMessage(sc, kLogAlert, "Tarvio Futures Conversion: HTTP %d: %s",
               static_cast<int>(result.statusCode), loggableText(hostStringText(result.body)).c_str());
  } else {
    logMessage(sc, kLogNote, "Tarvio Futures Conversion: raw response: %s",
               loggableText(hostStringText(result.body)).c_str());
    // An answer not used leaves the premiums in use; the next conversion is
    // due on the schedule anyway, so there is nothing more to do here.
    static_cast<void>(parseFuturesConversion(sc, hostStringText(result.body), futuresTarget));
  }
}

}  // namespace

void runFuturesConversionSchedule(HostStudyInterface& sc, const char* ticker,
                                  const char* futuresTarget, const char* apiKey) {
  HostCalls host(sc);
  if (futuresTarget == nullptr || futuresTarget[0] == '\0') return;
  ticker = ticker != nullptr ? ticker : "";
  // Texts that cannot go into a request were reported by the configuration
  // checks; nothing is sent with them.
  if (!requestTextsFit(RequestTexts{ticker, futuresTarget, apiKey})) return;

  const HostDateTime lastConversion = host.persistentInt64(kLastConversionTimeKey);
  bool changed = lastConversion == 0;
  if (noteTickerAndTarget(sc, ticker, futuresTarget)) changed = true;

  const HostDateTime newYork = newYorkClockNow(sc);
  const HostDateTime timeOfDayNow = timeOfDay(newYork);
  const int32_t weekday = weekdayOfDayNumber(dayNumberOf(newYork));
  const bool isWeekday = weekday >= 1 && weekday <= 5;

  if (timeOfDayNow < kTriggerResetBefore) {
    host.setPersistentInt(kConversionOpenTriggerDoneKey, 0);
    host.setPersistentInt(kConversionSecondTriggerDoneKey, 0);
  }
  const bool openFired =
      openingTriggerFires(sc, kConversionOpenTriggerDoneKey, kOpenTrigger, timeOfDayNow, isWeekday);
  const bool secondFired = openingTriggerFires(sc, kConversionSecondTriggerDoneKey, kSecondTrigger,
                                               timeOfDayNow, isWeekday);
  // A clock that went back counts as due, or the conversion would stop until
  // it passed the old time again.
  const int64_t sinceLast = elapsedMicroseconds(sc.currentDateTime, lastConversion);
  const bool repeatDue = lastConversion != 0 && (sinceLast >= kRepeatInterval || sinceLast < 0);
  if (openFired || secondFired || repeatDue || changed) {
    requestConversion(sc, ticker, futuresTarget, apiKey);
  }
}

}  // namespace tarvio
