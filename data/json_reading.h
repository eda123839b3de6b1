// Reading values out of a response document. Every read is safe whatever the
// service sent: a value of another kind reads as null would (0, empty text, no
// elements), and no RapidJSON accessor is called on a value of the wrong kind.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "data/json_document.h"

namespace tarvio {

// A value that stands for "absent"; lookups that find nothing return it.
const JsonValue& jsonNull();

// The first member named `key` (byte-exact, case-sensitive); null when the
// value is not an object or has no such member.
const JsonValue& jsonMember(const JsonValue& object, const char* key);

// Element `index` of an array; null past the end or when not an array.
inline const JsonValue& jsonElement(const JsonValue& array, size_t index) {
  if (!array.IsArray() || index >= array.Size()) return jsonNull();
  return array[static_cast<rapidjson::SizeType>(index)];
}

// The elements of an array in order; none when the value is not an array.
struct JsonElements {
  const JsonValue* first;
  const JsonValue* last;
  const JsonValue* begin() const { return first; }
  const JsonValue* end() const { return last; }
  size_t size() const { return static_cast<size_t>(last - first); }
  // Element `index`, or null past the end.
  const JsonValue& operator[](size_t index) const { return index < size() ? first[index] : jsonNull(); }
};
inline JsonElements jsonArray(const JsonValue& value) {
  if (!value.IsArray()) return JsonElements{nullptr, nullptr};
  return JsonElements{value.Begin(), value.End()};
}

// The first N elements of a row, each `null` where the row is shorter or not
// an array. Inlined into the per-row loops, the pointers stay in registers
// and the loop makes no calls.
template <size_t N>
struct RowCells {
  const JsonValue* cell[N];
  const JsonValue& operator[](size_t k) const { return *cell[k]; }
};
template <size_t N>
inline RowCells<N> rowCells(const JsonValue& row, const JsonValue& null) {
  const JsonElements elements = jsonArray(row);
  RowCells<N> cells;
  for (size_t k = 0; k < N; ++k) cells.cell[k] = k < elements.size() ? elements.first + k : &null;
  return cells;
}

// Any JSON number as a double; anything else reads as 0.
inline double jsonNumber(const JsonValue& value) {
  // Most numbers of a response are doubles: test for those first.
  if (value.IsDouble()) [[likely]] return value.GetDouble();
  return value.IsNumber() ? value.GetDouble() : 0.0;
}
// The same, rounded to single precision. A number beyond the float range
// (1e300, 3.5e38) reads as NaN, the mark of an absent value: as an infinity it
// would put a level at infinity or shrink every bar to nothing, and the plain
// conversion of such a double is undefined.
inline float jsonFloat(const JsonValue& value) {
  const double number = jsonNumber(value);
  if (!(std::fabs(number) <= static_cast<double>(std::numeric_limits<float>::max()))) {
    return std::numeric_limits<float>::quiet_NaN();
  }
  return static_cast<float>(number);
}

// Integer tests: true only for an integer literal (no fraction, no exponent)
// inside the range.
inline bool isJsonInt32(const JsonValue& value) { return value.IsInt(); }
inline bool isJsonInt64(const JsonValue& value) { return value.IsInt64(); }
inline bool isJsonString(const JsonValue& value) { return value.IsString(); }
inline bool isJsonObject(const JsonValue& value) { return value.IsObject(); }

// The value of an integer that passed its test; 0 otherwise.
inline int32_t jsonInt32(const JsonValue& value) { return value.IsInt() ? value.GetInt() : 0; }
inline int64_t jsonInt64(const JsonValue& value) { return value.IsInt64() ? value.GetInt64() : 0; }

// A string's characters up to its first NUL (an escaped \u0000 ends it), bytes
// above 0x7F as they are; anything else reads as "". Never null.
inline const char* jsonText(const JsonValue& value) {
  return value.IsString() ? value.GetString() : "";
}

}  // namespace tarvio
