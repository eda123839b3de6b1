// JSON text written by hand: strings that are always valid JSON and valid
// UTF-8 whatever bytes they are given, and numbers in plain decimal. Every
// JSON file and answer the programs and the recording write takes its
// strings from here. Stateless and thread-safe.
#pragma once

#include <rapidjson/rapidjson.h>

#include <string>
#include <string_view>

namespace support {

// Appends `text` as a JSON string, quotes included. Valid UTF-8 passes as it
// is; the quote, the backslash and control characters (0x00-0x1F, 0x7F) are
// escaped. A byte that is not part of well-formed UTF-8 (a stray or cut
// sequence, an overlong form, a surrogate) is written as the text \xhh, so a
// reader reads back a backslash, an x and two hex digits, never another
// character in its place.
void appendJsonString(std::string& out, std::string_view text);
std::string jsonString(std::string_view text);

// Appends `value` in fixed notation rounded to `decimals` places, with
// trailing zeros and a trailing dot removed ("5812.5", "-3", "0.0021").
// NaN and infinities, which JSON cannot hold, are written as 0; a rounded
// negative zero is written as 0.
void appendJsonNumber(std::string& out, double value, int decimals);
std::string jsonNumber(double value, int decimals);

// The float's shortest decimal text (5790.45, not 5790.4501953125), which
// reads back to the same float; null for NaN and infinities.
std::string jsonFloat(float value);

// Hands `text` to a RapidJSON writer as a string value written as above, for
// documents whose layout a RapidJSON writer keeps.
template <typename JsonWriter>
void writeJsonString(JsonWriter& json, std::string_view text) {
  const std::string quoted = jsonString(text);
  json.RawValue(quoted.data(), quoted.size(), rapidjson::kStringType);
}

}  // namespace support
