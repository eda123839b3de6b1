// The trading days the history benchmarks live in: four weekdays of New York
// market hours, 390 one-minute bars from 09:30 to 16:00, all before the switch
// to daylight time, so New York is five hours behind UTC on every one of them.
#pragma once

#include <cstdint>

#include "study/date_time.h"

inline constexpr int kTradingDays = 4;
inline constexpr int kMinutesPerTradingDay = 390;
// Monday 2026-03-02, in days since 1899-12-30; the others follow daily.
inline constexpr int64_t kFirstTradingDay = 46083;
inline constexpr int kMarketOpenMinuteOfDay = 9 * 60 + 30;
inline constexpr int kNewYorkBehindUtcMinutes = 5 * 60;

// The chart (New York) time of market minute `minute` of trading day `day`.
inline HostDateTime marketMinuteChartTime(int day, int minute) {
  return (kFirstTradingDay + day) * kMicrosecondsPerDay +
         (kMarketOpenMinuteOfDay + minute) * 60LL * 1000000;
}

// The same instant in Unix seconds, as the service stamps its snapshots.
inline int64_t marketMinuteUnixSeconds(int day, int minute) {
  return (kFirstTradingDay + day - kUnixEpochDayNumber) * 86400 +
         (kMarketOpenMinuteOfDay + kNewYorkBehindUtcMinutes + minute) * 60LL;
}
