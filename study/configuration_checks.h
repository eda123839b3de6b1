// Combinations of inputs the service cannot answer, and typed texts that
// cannot go into a request. Each is reported once and halts profile and
// history requests until the next full recalculation, so a wrong setting does
// not send a request every few seconds.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

// The typed texts a request carries: normalised ticker and futures target,
// and the key as typed.
struct RequestTexts {
  const char* ticker;
  const char* futuresTarget;
  const char* apiKey;
};

// Reports a conflict and sets `requestsHalted`; does nothing while halted.
void runConfigurationChecks(HostStudyInterface& sc, const RequestTexts& texts,
                            int32_t& requestsHalted);

// Whether all three texts can go into a request as they stand.
bool requestTextsFit(const RequestTexts& texts);

}  // namespace tarvio
