// An answer's own words: when the service explains a refusal or a failure in
// a text member ("error", "message"), the text goes to the log as an alert,
// made safe for one log line, the same way for every reader of its answers.
#pragma once

#include "data/json_reading.h"
#include "study/host_interface.h"
#include "study/loggable_text.h"
#include "study/study_log.h"

namespace tarvio {

// When `object`'s `member` is a string, logs `format` (holding one %s for
// the text) as an alert and returns true; otherwise logs nothing. Inline: the
// profile envelope asks it on every parse.
inline bool alertMemberText(HostStudyInterface& sc, const JsonValue& object, const char* member,
                            const char* format) {
  const JsonValue& text = jsonMember(object, member);
  if (!isJsonString(text)) return false;
  logMessage(sc, kLogAlert, format, loggableText(jsonText(text)).c_str());
  return true;
}

}  // namespace tarvio
