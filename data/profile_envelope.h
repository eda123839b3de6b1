// The envelope shared by the two profile responses: how an error reply of the
// service is recognised, what goes to the message log, and the outcome the
// request driver acts on.
#pragma once

#include <cstdint>

#include "data/json_document.h"
#include "data/read_outcome.h"
#include "study/host_interface.h"

namespace tarvio {

// Parses `text` and checks the envelope in order: parse error (logs
// `parseErrorMessage` as a note), root not an object, the invalid-key message,
// an "error" string, a 32-bit integer "timestamp". Returns the root to fill
// from when the response carries a snapshot; otherwise null with `outcome`
// set. The root lives in `document`.
const JsonValue* openProfileEnvelope(HostStudyInterface& sc, const char* text,
                                     const char* parseErrorMessage, ResponseDocument& document,
                                     tarvio::ReadOutcome& outcome);

// The envelope, then `fill(root)` when the response carries a snapshot. The
// document lives for the call only.
template <class Fill>
tarvio::ReadOutcome readProfileResponse(HostStudyInterface& sc, const char* text,
                                        const char* parseErrorMessage, Fill&& fill) {
  ResponseDocument document;
  tarvio::ReadOutcome outcome;
  if (const JsonValue* root = openProfileEnvelope(sc, text, parseErrorMessage, document, outcome)) {
    fill(*root);
  }
  return outcome;
}

}  // namespace tarvio
