// When the futures conversion is asked for: on the first call, when the
// ticker or the futures target changes, every 15 minutes, and once in each of
// the minutes 09:30 and 09:32 New York time on weekdays (the opening moves the
// futures premium most). The request itself blocks the call for at most its
// timeouts; its answer rewrites the two premium inputs.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// Runs only when `futuresTarget` is not empty, whatever the request window
// or a halt of the profile requests.
void runFuturesConversionSchedule(HostStudyInterface& sc, const char* ticker,
                                  const char* futuresTarget, const char* apiKey);

}  // namespace tarvio
