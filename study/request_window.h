// The daily window of clock time in which the study sends its profile
// requests, judged in the time zone the user picked.
//
// The window runs from the "Request Start Time" input to the "Request End Time"
// input, both ends included, on the wall clock of the "Time Zone" input. It
// never wraps past midnight: a start later than the end leaves no time of day
// inside.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// Whether the host's current date-time lies inside the window. Reads inputs
// 106 to 108 and converts the time with the host's HostConvertToTimeZone.
bool inRequestWindow(HostStudyInterface& sc);

}  // namespace tarvio
