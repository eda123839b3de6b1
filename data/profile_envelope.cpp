#include "data/profile_envelope.h"

#include <cstring>

#include "data/json_reading.h"
#include "study/loggable_text.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

// The service's answer to a refused key, compared byte for byte.
constexpr const char* kInvalidKeyMessage = "ERROR: Invalid API Key.";

}  // namespace

const JsonValue* openProfileEnvelope(HostStudyInterface& sc, const char* text,
                                     const char* parseErrorMessage, ResponseDocument& document,
                                     ProfileParseResult& outcome) {
  outcome = ProfileParseResult::Retry;
  if (!parseResponseJson(text != nullptr ? text : "", document)) {
    logMessage(sc, kLogNote, "%s", parseErrorMessage);
    return nullptr;
  }
  if (!isJsonObject(document)) return nullptr;

  const JsonValue& message = jsonMember(document, "message");
  if (isJsonString(message) && std::strcmp(jsonText(message), kInvalidKeyMessage) == 0) {
    logMessage(sc, kLogAlert, "Tarvio API Error: %s Halting requests.", jsonText(message));
    outcome = ProfileParseResult::Halt;
    return nullptr;
  }
  const JsonValue& error = jsonMember(document, "error");
  if (isJsonString(error)) {
    logMessage(sc, kLogAlert, "Tarvio API Error: \"%s\". Retrying.",
               loggableText(jsonText(error)).c_str());
    return nullptr;
  }
  if (!isJsonInt32(jsonMember(document, "timestamp"))) return nullptr;

  outcome = ProfileParseResult::Parsed;
  return &document;
}

}  // namespace tarvio
