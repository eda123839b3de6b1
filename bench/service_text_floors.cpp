#include "bench/service_text_floors.h"

#include <rapidjson/document.h>

namespace {

constexpr const char* kLevelKeys[] = {"major_call_gamma", "major_put_gamma", "zero_gamma"};

// The first member named `key`, or null; `object` must be an object.
const rapidjson::Value* memberOf(const rapidjson::Value& object, const char* key) {
  const auto found = object.FindMember(key);
  return found != object.MemberEnd() ? &found->value : nullptr;
}

bool parse(rapidjson::Document& document, const char* text) {
  document.Parse<rapidjson::kParseDefaultFlags>(text);
  return !document.HasParseError();
}

}  // namespace

HistoryFloorReading readHistoryFloor(const char* text) {
  HistoryFloorReading reading;
  rapidjson::Document document;
  if (!parse(document, text) || !document.IsArray()) return reading;
  reading.parsed = true;
  for (const rapidjson::Value& snapshot : document.GetArray()) {
    if (!snapshot.IsObject()) continue;
    const rapidjson::Value* timestamp = memberOf(snapshot, "timestamp");
    if (timestamp == nullptr || !timestamp->IsInt64()) continue;
    ++reading.snapshots;
    reading.levelSum += static_cast<double>(timestamp->GetInt64() % 60);
    for (const char* key : kLevelKeys) {
      const rapidjson::Value* level = memberOf(snapshot, key);
      if (level != nullptr && level->IsNumber()) reading.levelSum += level->GetDouble();
    }
  }
  return reading;
}

ConversionFloorReading readConversionFloor(const char* text) {
  ConversionFloorReading reading;
  rapidjson::Document document;
  if (!parse(document, text) || !document.IsObject()) return reading;
  reading.parsed = true;
  const rapidjson::Value* multiplier = memberOf(document, "multiplier");
  const rapidjson::Value* additive = memberOf(document, "additive");
  const rapidjson::Value* contract = memberOf(document, "future_contract");
  if (multiplier != nullptr && multiplier->IsNumber()) reading.multiplier = multiplier->GetDouble();
  if (additive != nullptr && additive->IsNumber()) reading.additive = additive->GetDouble();
  if (contract != nullptr && contract->IsString()) reading.contractLength = contract->GetStringLength();
  return reading;
}
