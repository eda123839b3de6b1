#include "data/profile_envelope.h"

#include <cstring>

#include "data/answer_text_alert.h"
#include "data/json_reading.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

// The service's answer to a refused key, compared byte for byte.
constexpr const char* kInvalidKeyMessage = "ERROR: Invalid API Key.";

}  // namespace

const JsonValue* openProfileEnvelope(HostStudyInterface& sc, const char* text,
                                     const char* parseErrorMessage, ResponseDocument& document,
                                     tarvio::ReadOutcome& outcome) {
  outcome = tarvio::ReadOutcome::Retry;
  if (!parseResponseJson(text != nullptr ? text : "", document)) {
    logMessage(sc, kLogNote, "%s", parseErrorMessage);
    return nullptr;
  }
  if (!isJsonObject(document)) return nullptr;

  const JsonValue& message = jsonMember(document, "message");
  if (isJsonString(message) && std::strcmp(jsonText(message), kInvalidKeyMessage) == 0) {
    logMessage(sc, kLogAlert, "Tarvio API Error: %s Halting requests.", jsonText(message));
    outcome = tarvio::ReadOutcome::Halt;
    return nullptr;
  }
  if (tarvio::alertMemberText(sc, document, "error", "Tarvio API Error: \"%s\". Retrying.")) {
    return nullptr;
  }
  if (!isJsonInt32(jsonMember(document, "timestamp"))) return nullptr;

  outcome = tarvio::ReadOutcome::Parsed;
  return &document;
}

}  // namespace tarvio
