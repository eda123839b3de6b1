// Reads the service's futures-conversion answer and writes its multiplier
// and additive into the two premium inputs, so that from the next call on
// every level is placed at level x multiplier + additive on the futures chart.
#pragma once

#include "data/read_outcome.h"
#include "study/host_interface.h"

namespace tarvio {

// `body` is the text of a status-200 answer; `futuresTarget` names the
// contract when the answer does not. One log line in every case; the inputs
// change only for an answer that is a JSON object without an "error" text and
// with finite premiums (Parsed); otherwise the answer is not used (Retry).
tarvio::ReadOutcome parseFuturesConversion(HostStudyInterface& sc, const char* body,
                                           const char* futuresTarget);

}  // namespace tarvio
