#include "fuzz/futures_conversion_expectation.h"

#include <cmath>
#include <cstdio>

#include "fuzz/reference_reading.h"

namespace fuzz {

namespace {

float numberOr(const JsonValue& value, float fallback) {
  return value.IsNumber() ? number(value) : fallback;
}

// The tail of the conversion line. Built apart from the contract name, which
// must never be read as a format.
std::string premiumsText(float multiplier, float additive) {
  char text[256];
  std::snprintf(text, sizeof text, "  x%.4f  %+.2f", static_cast<double>(multiplier),
                static_cast<double>(additive));
  return text;
}

}  // namespace

ConversionExpectation refusedConversion() {
  return ConversionExpectation{false, 0.0f, 0.0f, kConversionRefusedLine, 0};
}

ConversionExpectation expectConversion(const JsonValue& root, const char* futuresTarget) {
  if (!root.IsObject()) return refusedConversion();
  const JsonValue& error = member(root, "error");
  if (error.IsString()) {
    return ConversionExpectation{false, 0.0f, 0.0f,
                                 kConversionErrorPrefix + asLogged(text(error)) + "\".", 1};
  }
  ConversionExpectation expected;
  expected.writesPremiums = true;
  expected.multiplier = numberOr(member(root, "multiplier"), 1.0f);
  expected.additive = numberOr(member(root, "additive"), 0.0f);
  // Either beyond the float range: refused, the premiums in use stay.
  if (std::isnan(expected.multiplier) || std::isnan(expected.additive))
    return ConversionExpectation{false, 0.0f, 0.0f, kConversionOutOfRangeLine, 1};
  if (expected.multiplier == 0.0f) expected.multiplier = 1.0f;
  const JsonValue& contract = member(root, "future_contract");
  const std::string name =
      contract.IsString() ? text(contract) : std::string(futuresTarget ? futuresTarget : "");
  expected.line =
      kConversionDonePrefix + asLogged(name) + premiumsText(expected.multiplier, expected.additive);
  return expected;
}

}  // namespace fuzz
