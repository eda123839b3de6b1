// The two requests sent through the host's asynchronous HTTP facility: the
// profile request and the majors-history request. Each builds its headers
// (and body) in the service's order, hands them to the host, records in the
// request state whether the host took the request and returns the id the host
// gave it (0 when refused), so its answer can be told from any other.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

// Accepted: requestState kRequestWaiting. Refused: a log line and
// kRequestRefused.
int32_t sendProfileRequest(HostStudyInterface& sc, const HostString& requestUrl,
                           const HostString& apiKey, int32_t& requestState);

// The history of the major levels from `startUnixSeconds` to `endUnixSeconds`.
// Accepted: historyRequestState kHistoryWaiting. Refused: a log line and
// kHistoryDone.
int32_t sendMajorsHistoryRequest(HostStudyInterface& sc, const char* ticker,
                                 const HostString& apiKey, int64_t startUnixSeconds,
                                 int64_t endUnixSeconds, int32_t& historyRequestState);

}  // namespace tarvio
