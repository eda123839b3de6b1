// What the futures-conversion reader must do with an answer, worked out from
// the reference document alone: whether it rewrites the two premium inputs,
// with which values, and the one line it logs, texts from outside escaped.
#pragma once

#include <cstdint>
#include <string>

#include "data/json_document.h"

using namespace tarvio;

namespace fuzz {

inline constexpr const char* kConversionRefusedLine =
    "Tarvio Futures Conversion: JSON parse error. Will retry later.";
inline constexpr const char* kConversionErrorPrefix = "Tarvio Futures Conversion API Error: \"";
inline constexpr const char* kConversionDonePrefix = "Tarvio Futures Conversion: -> ";
inline constexpr const char* kConversionOutOfRangeLine =
    "Tarvio Futures Conversion: multiplier or additive out of range. Will retry later.";

struct ConversionExpectation {
  bool writesPremiums = false;
  float multiplier = 0.0f;
  float additive = 0.0f;
  std::string line;
  int32_t alert = 0;
};

// Text that is not JSON, or not an object.
ConversionExpectation refusedConversion();

// `futuresTarget` may be null, which names no contract.
ConversionExpectation expectConversion(const JsonValue& root, const char* futuresTarget);

}  // namespace fuzz
