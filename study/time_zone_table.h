// The time zones a user can pick for the daily request window, as the zone
// texts the host's time-zone conversions read.
//
// The "Time Zone" input holds an index into TimeZoneTable. A zone text gives
// the standard-time name and its offset from UTC (east of Greenwich positive,
// hours or hours:minutes), optionally followed by the daylight-time name, the
// shift added during daylight time and the rules for its start and end
// (Mmonth.week.weekday/time, week 5 meaning the last). Entries 0 and 28 are
// empty texts, which leave the choice of zone to the host.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

inline constexpr int32_t kTimeZoneCount = 29;

inline constexpr const char* const TimeZoneTable[kTimeZoneCount] = {
    "",
    "HST-10",
    "AKST-09AKDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "PST-08PDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "MST-07",
    "MST-07MDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00",
    "AST-04ADT+01,M3.2.0/02:00,M11.1.0/02:00",
    "UTC+00",
    "GMT+00BST+01,M3.5.0/01:00,M10.5.0/02:00",
    "CET+01CEST+01,M3.5.0/02:00,M10.5.0/03:00",
    "SAST+02",
    "EET+02EEST+01,M3.5.0/03:00,M10.5.0/04:00",
    "AST+03",
    "MSK+03",
    "MSK+04",
    "GST+04",
    "PKT+05",
    "IST+05:30",
    "BDT+06",
    "WIT+07",
    "HKT+08",
    "JST+09",
    "AEST+10",
    "AEST+10AEDT+01,M10.1.0/02:00,M4.1.0/03:00",
    "UTC+12",
    "NZST+12NZDT+01,M9.5.0/02:00,M4.1.0/03:00",
    "",
};

// New York, the zone of the trading-day rules and the input's default.
inline constexpr int32_t kNewYorkTimeZoneIndex = 7;
inline constexpr const char* kNewYorkZoneText = TimeZoneTable[kNewYorkTimeZoneIndex];
// UTC, for converting to and from Unix time.
inline constexpr int32_t kUtcTimeZoneIndex = 9;
inline constexpr const char* kUtcZoneText = TimeZoneTable[kUtcTimeZoneIndex];

// The zone text the "Time Zone" input selects: a time-zone input by its value,
// a date-time input by the zone index it carries. Any other kind, and any index
// outside the table (negative ones included), select the empty text. The text
// is a constant and never null.
const char* zoneTextForInput(const HostInput& input);

}  // namespace tarvio
