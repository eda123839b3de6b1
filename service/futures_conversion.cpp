#include "service/futures_conversion.h"

#include "data/json_reading.h"
#include "study/input_readers.h"
#include "study/study_inputs.h"
#include "study/study_log.h"

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
    logMessage(sc, kLogAlert, "Tarvio Futures Conversion API Error: \"%s\".", jsonText(error));
    return;
  }

  // Absent or non-numeric parameters mean "no conversion": x1, +0.
  const JsonValue& multiplierValue = jsonMember(document, "multiplier");
  const JsonValue& additiveValue = jsonMember(document, "additive");
  float multiplier =
      multiplierValue.IsNumber() ? static_cast<float>(multiplierValue.GetDouble()) : 1.0f;
  const float additive =
      additiveValue.IsNumber() ? static_cast<float>(additiveValue.GetDouble()) : 0.0f;
  // A zero multiplier would put every level at the additive alone.
  if (multiplier == 0.0f) multiplier = 1.0f;

  writeFloatInput(sc, kMultiplicativePremiumInput, multiplier);
  writeFloatInput(sc, kAdditivePremiumInput, additive);

  const JsonValue& contract = jsonMember(document, "future_contract");
  const char* contractName =
      isJsonString(contract) ? jsonText(contract) : (futuresTarget != nullptr ? futuresTarget : "");
  logMessage(sc, kLogNote, "Tarvio Futures Conversion: -> %s  x%.4f  %+.2f", contractName,
             static_cast<double>(multiplier), static_cast<double>(additive));
}
