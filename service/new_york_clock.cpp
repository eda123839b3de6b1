#include "service/new_york_clock.h"

#include "study/host_calls.h"
#include "study/time_zone_table.h"

namespace tarvio {

HostDateTime newYorkClockNow(HostStudyInterface& sc) {
  HostCalls host(sc);
  const HostDateTime clock =
      sc.useAlternateClock != 0 ? sc.alternateClockDateTime : sc.clockDateTime;
  HostDateTime newYork = clock;
  host.convertToTimeZone(newYork, clock, kNewYorkZoneText);
  return newYork;
}

}  // namespace tarvio
