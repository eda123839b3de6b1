// The two requests sent through the host's asynchronous HTTP facility: the
// profile request and the majors-history request. Each builds its headers
// (and body) in the service's order, hands them to the host and records in
// the request state whether the host took the request.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

// Accepted: requestState 2. Refused: a log line and requestState 0.
void sendProfileRequest(HostStudyInterface& sc, const HostString& requestUrl,
                        const HostString& apiKey, int32_t& requestState);

// The history of the major levels from `startUnixSeconds` to `endUnixSeconds`.
// Accepted: historyRequestState 2. Refused: a log line and state 3.
void sendMajorsHistoryRequest(HostStudyInterface& sc, const char* ticker, const HostString& apiKey,
                              int64_t startUnixSeconds, int64_t endUnixSeconds,
                              int32_t& historyRequestState);
