#include "data/json_document.h"

#include <cstring>

#include <rapidjson/reader.h>

namespace tarvio {

namespace {

// Reads four hex digits; false when they are not all hex.
bool readHex4(const char* p, unsigned& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = p[i];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    value = value * 16 + digit;
  }
  return true;
}

// True when a \u escape of the text names a low surrogate that does not
// directly follow a high one. The parser has already checked that every high
// surrogate is followed by a low one, so only lone low halves remain to find.
// Backslashes occur only inside strings in text that parsed, so no string
// tracking is needed.
bool hasLoneLowSurrogateEscape(const char* text) {
  bool afterHighSurrogate = false;
  for (const char* p = std::strchr(text, '\\'); p != nullptr; p = std::strchr(p, '\\')) {
    const bool adjacent = afterHighSurrogate;
    afterHighSurrogate = false;
    unsigned codepoint = 0;
    if (p[1] == 'u' && readHex4(p + 2, codepoint)) {
      if (codepoint >= 0xDC00 && codepoint <= 0xDFFF && !adjacent) return true;
      afterHighSurrogate = codepoint >= 0xD800 && codepoint <= 0xDBFF;
      p += 6;
      // Only an escape that starts right here continues the pair.
      if (afterHighSurrogate && *p != '\\') afterHighSurrogate = false;
    } else {
      p += p[1] != '\0' ? 2 : 1;
    }
  }
  return false;
}

}  // namespace

bool mayHoldLowSurrogate(const char* str, rapidjson::SizeType length) {
  const char* end = str + length;
  for (const char* p = str; (p = static_cast<const char*>(std::memchr(p, '\xED', end - p))) != nullptr; ++p) {
    if (p + 1 < end && (static_cast<unsigned char>(p[1]) & 0xF0) == 0xB0) return true;
  }
  return false;
}

bool parseResponseJson(const char* text, ResponseDocument& document) {
  document.SetNull();
  if (text == nullptr) return false;
  document.depth_ = 0;
  document.suspectSurrogate_ = false;
  bool parsed = false;
  auto generate = [&](JsonDocument&) {
    rapidjson::Reader reader;
    rapidjson::StringStream stream(text);
    parsed = !reader.Parse<rapidjson::kParseDefaultFlags>(stream, document).IsError() &&
             !(document.suspectSurrogate_ && hasLoneLowSurrogateEscape(text));
    return parsed;
  };
  document.Populate(generate);
  if (!parsed) document.SetNull();
  return parsed;
}

}  // namespace tarvio
