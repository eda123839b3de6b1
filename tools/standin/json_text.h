// Small pieces for writing JSON text by hand: string escaping that always
// yields valid JSON (bytes that are not UTF-8 are written as \u00XX), and
// numbers written in plain decimal with a bounded count of decimals.
// Stateless and thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace standin {

// Appends `text` as a JSON string, quotes included. Control characters, the
// quote and the backslash are escaped; valid UTF-8 passes through as it is;
// each byte of an invalid UTF-8 sequence is written as \u00XX (its Latin-1
// reading), so the result is valid JSON whatever the input bytes are.
void appendJsonString(std::string& out, std::string_view text);
std::string jsonString(std::string_view text);

// Appends `value` in fixed notation rounded to `decimals` places, with
// trailing zeros and a trailing dot removed ("5812.5", "-3", "0.0021").
// NaN and infinities, which JSON cannot hold, are written as 0; a rounded
// negative zero is written as 0.
void appendJsonNumber(std::string& out, double value, int decimals);
std::string jsonNumber(double value, int decimals);

}  // namespace standin
