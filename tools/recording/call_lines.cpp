#include "tools/recording/call_lines.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <optional>

#include "tools/recording/line_json.h"
#include "tools/support/date_time_text.h"
#include "tools/support/json_text.h"

namespace recording {

namespace {

using JsonWriter = LineWriter;
using rapidjson::Value;

constexpr std::string_view kCallLineStart = "{\"call\":";

bool writeTime(JsonWriter& json, HostDateTime time, std::string& error) {
  return writeExactTime(json, time, "the time", error);
}

// A price or volume as written: the float's own value, which reads back the same.
void writePrice(JsonWriter& json, float value) { json.Double(static_cast<double>(value)); }

std::optional<float> priceOf(const Value& value) {
  if (!value.IsNumber()) return std::nullopt;
  const double number = value.GetDouble();
  if (!std::isfinite(number) || std::fabs(number) > 3.0e38) return std::nullopt;
  return static_cast<float>(number);
}

std::optional<support::PriceBar> barOf(const Value& row) {
  if (!row.IsArray() || row.Size() != 6 || !row[0].IsString()) return std::nullopt;
  const std::optional<HostDateTime> time =
      support::readExactDateTime(std::string(row[0].GetString(), row[0].GetStringLength()));
  if (!time) return std::nullopt;
  support::PriceBar bar{*time};
  float* fields[] = {&bar.open, &bar.high, &bar.low, &bar.close, &bar.volume};
  for (int i = 0; i < 5; ++i) {
    const std::optional<float> value = priceOf(row[i + 1]);
    if (!value) return std::nullopt;
    *fields[i] = *value;
  }
  return bar;
}

// A whole number at least `low`, or nothing.
std::optional<int64_t> wholeOf(const Value& object, const char* name, int64_t low) {
  const auto member = object.FindMember(name);
  if (member == object.MemberEnd() || !member->value.IsInt64() || member->value.GetInt64() < low) return std::nullopt;
  return member->value.GetInt64();
}

// The optional "barsTold" (texts) and "barsWarning" (a text).
bool readBarsTrouble(const Value& object, RecordedCall& call) {
  const auto told = object.FindMember("barsTold");
  if (told != object.MemberEnd()) {
    if (!told->value.IsArray()) return false;
    for (const Value& text : told->value.GetArray()) {
      if (!text.IsString()) return false;
      call.barsTold.emplace_back(text.GetString(), text.GetStringLength());
    }
  }
  const auto warning = object.FindMember("barsWarning");
  if (warning == object.MemberEnd()) return true;
  if (!warning->value.IsString()) return false;
  call.barsWarning.assign(warning->value.GetString(), warning->value.GetStringLength());
  return true;
}

}  // namespace

bool isCallLine(std::string_view line) { return line.substr(0, kCallLineStart.size()) == kCallLineStart; }

bool callLine(const RecordedCall& call, std::string& line, std::string& error) {
  rapidjson::StringBuffer buffer;
  JsonWriter json(buffer);
  json.StartObject();
  json.Key("call");
  json.Int64(call.number);
  json.Key("at");
  if (!writeTime(json, call.at, error)) return false;
  json.Key("barsFrom");
  json.Int64(call.barsFrom);
  json.Key("bars");
  json.StartArray();
  for (const support::PriceBar& bar : call.bars) {
    json.StartArray();
    if (!writeTime(json, bar.dateTime, error)) return false;
    for (float value : {bar.open, bar.high, bar.low, bar.close, bar.volume}) writePrice(json, value);
    json.EndArray();
  }
  json.EndArray();
  json.Key("handed");
  json.Int64(call.handed);
  if (!call.barsTold.empty()) {
    json.Key("barsTold");
    json.StartArray();
    for (const std::string& told : call.barsTold) support::writeJsonString(json, told);
    json.EndArray();
  }
  if (!call.barsWarning.empty()) {
    json.Key("barsWarning");
    support::writeJsonString(json, call.barsWarning);
  }
  json.EndObject();
  line = finishedLine(buffer);
  return true;
}

bool readCallLine(std::string_view line, RecordedCall& call, std::string& error) {
  rapidjson::Document document;
  document.Parse<rapidjson::kParseIterativeFlag>(line.data(), line.size());
  if (document.HasParseError() || !document.IsObject()) {
    error = "a call's line is not a JSON object";
    return false;
  }
  const std::optional<int64_t> number = wholeOf(document, "call", 1);
  const std::optional<int64_t> from = wholeOf(document, "barsFrom", 0);
  const std::optional<int64_t> handed = wholeOf(document, "handed", 0);
  const auto at = document.FindMember("at");
  const auto bars = document.FindMember("bars");
  std::optional<HostDateTime> time;
  if (at != document.MemberEnd() && at->value.IsString())
    time = support::readExactDateTime(std::string(at->value.GetString(), at->value.GetStringLength()));
  if (!number || !from || !handed || !time || bars == document.MemberEnd() || !bars->value.IsArray()) {
    error = "a call's line lacks one of \"call\", \"at\", \"barsFrom\", \"bars\" and \"handed\", or holds it wrong";
    return false;
  }
  call = RecordedCall{*number, *time, *from, {}, *handed, {}, {}};
  if (!readBarsTrouble(document, call)) {
    error = "call " + std::to_string(*number) + ": \"barsTold\" is not a list of texts or \"barsWarning\" not a text";
    return false;
  }
  for (const Value& row : bars->value.GetArray()) {
    const std::optional<support::PriceBar> bar = barOf(row);
    if (!bar) {
      error = "call " + std::to_string(*number) + ": a bar is not [\"time\", open, high, low, close, volume]";
      return false;
    }
    call.bars.push_back(*bar);
  }
  return true;
}

}  // namespace recording
