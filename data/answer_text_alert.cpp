#include "data/answer_text_alert.h"

#include "data/json_reading.h"
#include "study/loggable_text.h"
#include "study/study_log.h"

namespace tarvio {

bool alertMemberText(HostStudyInterface& sc, const JsonValue& object, const char* member,
                     const char* format) {
  const JsonValue& text = jsonMember(object, member);
  if (!isJsonString(text)) return false;
  logMessage(sc, kLogAlert, format, loggableText(jsonText(text)).c_str());
  return true;
}

}  // namespace tarvio
