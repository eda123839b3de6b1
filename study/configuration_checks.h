// Combinations of inputs the service cannot answer. Each is reported once and
// halts profile and history requests until the next full recalculation, so a
// wrong setting does not send a request every few seconds.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

// Reports a conflict and sets `requestsHalted`; does nothing while halted.
void runConfigurationChecks(HostStudyInterface& sc, int32_t& requestsHalted);
