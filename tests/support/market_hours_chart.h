// A chart of one-minute New York bars over market sessions, with the study
// placed on it, on which the readers of service text run inside an ordinary
// call; and the trading days the generated majors histories live in. Not
// thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

// Bars from firstMinute up to (not including) endMinute of `day` (days since
// 1899-12-30), minutes of the New York day.
struct MarketSession {
  int64_t day;
  int32_t firstMinute;
  int32_t endMinute;
};

inline constexpr int32_t kMarketOpenMinute = 9 * 60 + 30;
inline constexpr int32_t kMarketCloseMinute = 16 * 60;
inline constexpr int kMinutesPerTradingDay = kMarketCloseMinute - kMarketOpenMinute;

// Four weekdays of market hours from Monday 2026-03-02, all before the switch
// to daylight time, so New York is five hours behind UTC on every one.
inline constexpr int kTradingDays = 4;
inline constexpr int64_t kFirstTradingDay = 46083;
inline constexpr MarketSession kTradingDaySessions[kTradingDays] = {
    {kFirstTradingDay, kMarketOpenMinute, kMarketCloseMinute},
    {kFirstTradingDay + 1, kMarketOpenMinute, kMarketCloseMinute},
    {kFirstTradingDay + 2, kMarketOpenMinute, kMarketCloseMinute},
    {kFirstTradingDay + 3, kMarketOpenMinute, kMarketCloseMinute}};

// Market minute `minute` of trading day `day` in Unix seconds, as the service
// stamps its snapshots.
inline int64_t marketMinuteUnixSeconds(int day, int minute) {
  constexpr int kNewYorkBehindUtcMinutes = 5 * 60;
  constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01
  return (kFirstTradingDay + day - kUnixEpochDay) * 86400 +
         (kMarketOpenMinute + kNewYorkBehindUtcMinutes + minute) * 60LL;
}

class MarketHoursChart {
 public:
  // Appends the bars of every session and declares the study through its
  // set-defaults pass.
  explicit MarketHoursChart(std::span<const MarketSession> sessions = kTradingDaySessions);
  // The study's last call.
  ~MarketHoursChart();
  MarketHoursChart(const MarketHoursChart&) = delete;
  MarketHoursChart& operator=(const MarketHoursChart&) = delete;

  // Runs `body` inside one ordinary call at the time of the last bar (at 0
  // on a chart without bars).
  void call(const std::function<void(HostStudyInterface&)>& body);

  StudyInstance& instance() { return instance_; }
  int32_t barCount() const { return static_cast<int32_t>(chart_.bars().size()); }

 private:
  Chart chart_;
  StudyInstance instance_;
};
