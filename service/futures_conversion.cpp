#include "service/futures_conversion.h"

#include <cmath>

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

void parseFuturesConversion(HostStudyInterface& sc, const char* body, const char* futuresTarget) {
  ResponseDocument document;
  if (!parseResponseJson(body, document) || !isJsonObject(document)) {
    logMessage(sc, kLogNote, "Tarvio Futures Conversion: JSON parse error. Will retry later.");
    return;
  }
  const JsonValue& error = jsonMember(document, "error");
  if (isJsonString(error)) {
    logMessage(sc, kLogAlert, "Tarvio Futures Conversion API Error: \"%s\".",
               loggableText(jsonText(error)).c_str());
    return;
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
    return;
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
}

}  // namespace tarvio
