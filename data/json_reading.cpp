#include "data/json_reading.h"

#include <cstring>

namespace tarvio {

const JsonValue& jsonNull() {
  static const JsonValue null;
  return null;
}

const JsonValue& jsonMember(const JsonValue& object, const char* key) {
  if (!object.IsObject()) return jsonNull();
  const rapidjson::SizeType keyLength = static_cast<rapidjson::SizeType>(std::strlen(key));
  // Linear, in member order, so the first of duplicate members wins.
  for (const auto& member : object.GetObject()) {
    if (member.name.GetStringLength() == keyLength &&
        std::memcmp(member.name.GetString(), key, keyLength) == 0) {
      return member.value;
    }
  }
  return jsonNull();
}

}  // namespace tarvio
