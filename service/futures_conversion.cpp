#include "service/futures_conversion.h"

#include <cmath>

#include "data/answer_text_alert.h"
#include "data/json_reading.h"
#include "study/input_readers.h"
#include "study/loggable_text.h"
#include "study/study_inputs.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

void writeFloatInput(HostStudyInterface& sc, int32_t index, float value) {
  HostInput& input = inputAt(sc, index);
  input.kind = kInputFloat;
  input.floatValue = value;
}

}  // namespace

tarvio::ReadOutcome parseFuturesConversion(HostStudyInterface& sc, const char* body,
                                           const char* futuresTarget) {
  ResponseDocument document;
  if (!parseResponseJson(body, document) || !isJsonObject(document)) {
    logMessage(sc, kLogNote, "Tarvio Futures Conversion: JSON parse error. Will retry later.");
    return tarvio::ReadOutcome::Retry;
  }
  if (tarvio::alertMemberText(sc, document, "error",
                              "Tarvio Futures Conversion API Error: \"%s\".")) {
    return tarvio::ReadOutcome::Retry;
  }

  // Absent or non-numeric parameters mean "no conversion": x1, +0.
  const JsonValue& multiplierValue = jsonMember(document, "multiplier");
  const JsonValue& additiveValue = jsonMember(document, "additive");
  float multiplier = multiplierValue.IsNumber() ? jsonFloat(multiplierValue) : 1.0f;
  const float additive = additiveValue.IsNumber() ? jsonFloat(additiveValue) : 0.0f;
  // A parameter beyond the float range would carry every level to infinity
  // until the next conversion: refused, and the premiums in use stay.
  if (!std::isfinite(multiplier) || !std::isfinite(additive)) {
    logMessage(sc, kLogAlert,
               "Tarvio Futures Conversion: multiplier or additive out of range. Will retry later.");
    return tarvio::ReadOutcome::Retry;
  }
  // A zero multiplier would put every level at the additive alone.
  if (multiplier == 0.0f) multiplier = 1.0f;

  writeFloatInput(sc, kMultiplicativePremiumInput, multiplier);
  writeFloatInput(sc, kAdditivePremiumInput, additive);

  const JsonValue& contract = jsonMember(document, "future_contract");
  const char* contractName =
      isJsonString(contract) ? jsonText(contract) : (futuresTarget != nullptr ? futuresTarget : "");
  logMessage(sc, kLogNote, "Tarvio Futures Conversion: -> %s  x%.4f  %+.2f",
             loggableText(contractName).c_str(), static_cast<double>(multiplier),
             static_cast<double>(additive));
  return tarvio::ReadOutcome::Parsed;
}

}  // namespace tarvio
