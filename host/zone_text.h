// A time zone read from its zone text, as the chart host's time-zone
// conversions use it.
//
// A zone text names the standard time and its offset from UTC, east of
// Greenwich positive ("IST+05:30", "HST-10"), and may go on with the daylight
// name, the shift added during daylight time and the two switching rules:
//
//   EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00
//
// A rule "Mm.w.d/hh:mm" is month m (1-12), week w (1-4, or 5 for the last
// such weekday of the month), weekday d (0 Sunday .. 6 Saturday) and the local
// wall-clock time of the switch: standard time for the switch into daylight
// time, daylight time for the switch back. The time may be left out and then
// is 02:00; the shift may be left out and then is one hour. A daylight period
// that starts later in the year than it ends spans the new year (southern
// hemisphere).
//
// Conversions are plain arithmetic on HostDateTime values: the process's own
// time-zone settings are never consulted, and every representable value is
// accepted (results saturate at the ends of the HostDateTime range). A
// ZoneText is an immutable value; it is safe to share between threads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "study/host_interface.h"

namespace chart_host {

class ZoneText {
 public:
  // Reads a zone text. Any bytes are accepted; for a text that is not a zone
  // text the answer is empty and, when error is given, it receives a message
  // saying what was wrong and where.
  static std::optional<ZoneText> parse(std::string_view text, std::string* error = nullptr);

  // UTC itself: no offset, no daylight time.
  static ZoneText utc();

  // The wall-clock time in this zone at the UTC instant utc.
  HostDateTime fromUtc(HostDateTime utc) const;

  // The UTC instant of the wall-clock time local in this zone. A wall-clock
  // time skipped at the switch into daylight time, and one that occurs twice
  // at the switch back, are read as standard time. For the usual positive
  // shift that is the later of the two instants in the repeated hour, and a
  // skipped time lands one shift past the switch (02:30 becomes 03:30
  // daylight time), as the C library's mktime does when told nothing about
  // daylight time.
  HostDateTime toUtc(HostDateTime local) const;

  // Whether daylight time is in effect at the UTC instant utc.
  bool isDaylightAt(HostDateTime utc) const;

 private:
  // One switching rule; time is the wall-clock time of the switch in the time
  // that is in effect before it.
  struct SwitchRule {
    int32_t month = 1;    // 1..12
    int32_t week = 1;     // 1..5, 5 = last
    int32_t weekday = 0;  // 0 = Sunday
    int64_t timeUs = 0;   // microseconds after local midnight
  };

  // The UTC instant of a switch in the given calendar year.
  HostDateTime switchInstant(const SwitchRule& rule, int64_t year, int64_t offsetBeforeUs) const;

  int64_t standardOffsetUs_ = 0;
  bool hasDaylight_ = false;
  int64_t daylightShiftUs_ = 0;
  SwitchRule daylightStart_;
  SwitchRule daylightEnd_;
};

}  // namespace chart_host
