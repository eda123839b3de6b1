// An answer's own words: when the service explains a refusal or a failure in
// a text member ("error", "message"), the text goes to the log as an alert,
// made safe for one log line, the same way for every reader of its answers.
#pragma once

#include "data/json_document.h"
#include "study/host_interface.h"

namespace tarvio {

// When `object`'s `member` is a string, logs `format` (holding one %s for
// the text) as an alert and returns true; otherwise logs nothing.
bool alertMemberText(HostStudyInterface& sc, const JsonValue& object, const char* member,
                     const char* format);

}  // namespace tarvio
