#include "service/new_york_clock.h"

#include "study/time_zone_table.h"

namespace tarvio {

HostDateTime newYorkClockNow(HostStudyInterface& sc) {
  const HostDateTime clock =
      sc.useAlternateClock != 0 ? sc.alternateClockDateTime : sc.clockDateTime;
  HostDateTime newYork = clock;
  sc.ops.HostConvertToTimeZone(newYork, clock, kNewYorkZoneText);
  return newYork;
}

}  // namespace tarvio
