#include "fuzz/reference_reading.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace fuzz {

namespace {

// Below this depth the parsers must accept what is otherwise valid; above the
// upper one they must refuse it. In between the reading stays silent.
constexpr size_t kSurelyAcceptedDepth = kMaxJsonNestingDepth / 2;
constexpr size_t kSurelyRefusedDepth = kMaxJsonNestingDepth + 64;

const JsonValue kNull;

// A \u escape of a low surrogate (DC00-DFFF). A valid pair also holds one, so
// this errs towards silence, which is the safe side.
bool hasLowSurrogateEscape(const char* text) {
  for (const char* p = std::strstr(text, "\\u"); p != nullptr; p = std::strstr(p + 1, "\\u")) {
    const char* hex = p + 2;
    if ((hex[0] == 'd' || hex[0] == 'D') && hex[1] != '\0' && std::strchr("cdefCDEF", hex[1]) &&
        std::isxdigit(static_cast<unsigned char>(hex[2])) &&
        std::isxdigit(static_cast<unsigned char>(hex[3])))
      return true;
  }
  return false;
}

// RapidJSON refuses most numbers beyond the double range but lets some
// through as infinities (a long significand with a large exponent); the
// acceptance rules refuse them all. Recursion is bounded by the depth limit.
bool holdsInfinity(const JsonValue& value) {
  if (value.IsDouble()) return !std::isfinite(value.GetDouble());
  if (value.IsArray())
    for (const JsonValue& item : value.GetArray())
      if (holdsInfinity(item)) return true;
  if (value.IsObject())
    for (const auto& item : value.GetObject())
      if (holdsInfinity(item.value)) return true;
  return false;
}

EnvelopeStep envelopeStep(const JsonValue& root, std::string& errorText) {
  if (!root.IsObject()) return EnvelopeStep::NotObject;
  const JsonValue& message = member(root, "message");
  if (message.IsString() && std::strcmp(message.GetString(), "ERROR: Invalid API Key.") == 0)
    return EnvelopeStep::InvalidKey;
  const JsonValue& error = member(root, "error");
  if (error.IsString()) {
    errorText = asLogged(text(error));
    return EnvelopeStep::ServiceError;
  }
  // RapidJSON marks an integer literal that fits 32 bits as Int; a fraction
  // or an exponent makes a double.
  if (member(root, "timestamp").IsInt()) return EnvelopeStep::Snapshot;
  return EnvelopeStep::NoTimestamp;
}

}  // namespace

size_t nestingDepth(const char* text) {
  size_t depth = 0, deepest = 0;
  bool inString = false;
  for (const char* p = text; *p != '\0'; ++p) {
    if (inString) {
      if (*p == '\\') {
        if (p[1] == '\0') break;
        ++p;
      } else if (*p == '"') {
        inString = false;
      }
    } else if (*p == '"') {
      inString = true;
    } else if (*p == '[' || *p == '{') {
      if (++depth > deepest) deepest = depth;
    } else if ((*p == ']' || *p == '}') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

void readReference(const char* text, ReferenceReading& reading) {
  const size_t depth = nestingDepth(text);
  if (depth > kSurelyRefusedDepth) {
    reading.certain = true;
    reading.step = EnvelopeStep::ParseError;
    return;
  }
  // Deeper texts are not read at all: RapidJSON's parse recurses.
  if (depth > kSurelyAcceptedDepth) return;
  reading.read = true;
  reading.document.Parse(text);
  if (reading.document.HasParseError() || holdsInfinity(reading.document)) {
    // The parsers lay their rules over this same parse; none of them lets
    // through what it refuses.
    reading.certain = true;
    reading.step = EnvelopeStep::ParseError;
    return;
  }
  reading.certain = !hasLowSurrogateEscape(text);
  reading.step = envelopeStep(reading.document, reading.errorText);
}

ReadOutcome outcomeOf(EnvelopeStep step) {
  if (step == EnvelopeStep::Snapshot) return ReadOutcome::Parsed;
  return step == EnvelopeStep::InvalidKey ? ReadOutcome::Halt : ReadOutcome::Retry;
}

const JsonValue& member(const JsonValue& object, const char* key) {
  if (!object.IsObject()) return kNull;
  const auto found = object.FindMember(key);
  return found != object.MemberEnd() ? found->value : kNull;
}

const JsonValue& element(const JsonValue& array, size_t index) {
  if (!array.IsArray() || index >= array.Size()) return kNull;
  return array[static_cast<rapidjson::SizeType>(index)];
}

size_t elementCount(const JsonValue& array) { return array.IsArray() ? array.Size() : 0; }

float number(const JsonValue& value) {
  if (!value.IsNumber()) return 0.0f;
  const double d = value.GetDouble();
  constexpr double kFloatMax = std::numeric_limits<float>::max();
  return d >= -kFloatMax && d <= kFloatMax ? static_cast<float>(d)
                                           : std::numeric_limits<float>::quiet_NaN();
}

std::string text(const JsonValue& value) {
  return value.IsString() ? std::string(value.GetString()) : std::string();
}

std::vector<float> priorsOf(const JsonValue& rows, size_t priorsElement, size_t slots) {
  std::vector<float> priors(elementCount(rows) * slots, std::numeric_limits<float>::quiet_NaN());
  for (size_t i = 0; i < elementCount(rows); ++i) {
    const JsonValue& rowPriors = element(element(rows, i), priorsElement);
    for (size_t k = 0; k < std::min(slots, elementCount(rowPriors)); ++k)
      priors[i * slots + k] = number(element(rowPriors, k));
  }
  return priors;
}

std::string asLogged(const std::string& text, size_t limit) {
  std::string shown;
  size_t at = 0;
  while (at < text.size()) {
    // One character: `length` bytes shown as they are, or one byte escaped.
    const auto lead = static_cast<unsigned char>(text[at]);
    const int ones = std::countl_one(lead);
    size_t length = 1;
    bool escaped = lead < 0x20 || lead >= 0x7F;
    if (ones >= 2 && ones <= 4 && at + ones <= text.size()) {
      uint32_t code = lead & (0x7Fu >> ones);
      bool continued = true;
      for (size_t k = at + 1; k < at + ones; ++k) {
        continued = continued && (text[k] & 0xC0) == 0x80;
        code = code << 6 | (text[k] & 0x3F);
      }
      const uint32_t smallest = ones == 2 ? 0x80 : ones == 3 ? 0x800 : 0x10000;
      if (continued && code >= smallest && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
        length = static_cast<size_t>(ones);
        escaped = code <= 0x9F;  // the C1 controls
      }
    }
    if (at + length > limit) break;
    for (size_t k = at; k < at + length; ++k) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(text[k]));
      const char c = text[k];
      shown += !escaped ? std::string(1, c) : c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : hex;
    }
    at += length;
  }
  if (at < text.size()) shown += "... (" + std::to_string(text.size() - at) + " more bytes)";
  return shown;
}

}  // namespace fuzz
