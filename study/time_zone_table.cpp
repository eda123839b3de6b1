// Picking the zone text for the "Time Zone" input.
#include "study/time_zone_table.h"

namespace tarvio {

const char* zoneTextForInput(const HostInput& input) {
  int32_t index = -1;
  if (input.kind == kInputTimeZone) {
    index = input.intValue;
  } else if (input.kind == kInputDateTime) {
    index = input.timeZoneIndex;  // -1 when the input carries no zone
  }
  // Compared unsigned, so a negative index falls outside the table too.
  if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kTimeZoneCount)) return "";
  return TimeZoneTable[index];
}

}  // namespace tarvio
