// Numbers read strictly from the text a person typed (an option's value):
// the whole text is the number, in plain decimal, with nothing before or
// after it but a leading '+'. A value out of range, a minus where none may be, blanks, any
// other character or an empty text reads as nothing, so the caller can say
// what it takes instead. Independent of the locale; stateless and
// thread-safe.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace support {

// The text as a `Number` from `low` to `high`; a floating-point number also
// finite. Whole numbers take digits with a leading '-' where `Number` is
// signed; decimals take a fraction and an exponent too ("1.5", "1e3").
template <typename Number>
std::optional<Number> readNumberText(std::string_view text, Number low, Number high) {
  // A plus sign before the digits says what no sign says; scripts write one.
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (text.empty() || failure != std::errc() || stop != end) return std::nullopt;
  if constexpr (std::is_floating_point_v<Number>) {
    if (!std::isfinite(value)) return std::nullopt;
  }
  if (!(value >= low && value <= high)) return std::nullopt;
  return value;
}

// A whole number from `low` to `high`.
inline std::optional<int64_t> readWholeNumber(const std::string& text, int64_t low, int64_t high) {
  return readNumberText<int64_t>(text, low, high);
}

// A finite decimal number from `low` to `high`.
inline std::optional<double> readDecimalNumber(const std::string& text, double low, double high) {
  return readNumberText<double>(text, low, high);
}

}  // namespace support
