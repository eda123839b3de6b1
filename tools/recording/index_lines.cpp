#include "tools/recording/index_lines.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <limits>
#include <optional>

#include "tools/recording/line_json.h"
#include "tools/support/date_time_text.h"
#include "tools/support/json_text.h"

namespace recording {

namespace {

using JsonWriter = LineWriter;
using rapidjson::Value;

void writeText(JsonWriter& json, const char* name, std::string_view text) {
  json.Key(name);
  support::writeJsonString(json, text);
}

bool writeTime(JsonWriter& json, const char* name, HostDateTime time, std::string& error) {
  json.Key(name);
  return writeExactTime(json, time, name, error);
}

// Reads the fields of one parsed line; the first problem is kept.
class Fields {
 public:
  explicit Fields(const Value& object) : object_(object) {}

  const Value* field(const char* name) {
    if (!problem_.empty()) return nullptr;
    const auto member = object_.FindMember(name);
    if (member == object_.MemberEnd()) {
      problem_ = std::string("no \"") + name + "\"";
      return nullptr;
    }
    return &member->value;
  }
  void refuse(const char* name, const char* what) {
    if (problem_.empty()) problem_ = std::string("\"") + name + "\" is not " + what;
  }
  void text(const char* name, std::string& out) {
    const Value* value = field(name);
    if (value && !value->IsString()) refuse(name, "a text");
    if (value && value->IsString()) out.assign(value->GetString(), value->GetStringLength());
  }
  // A whole number from `low` up to what Number holds.
  template <typename Number>
  void whole(const char* name, Number& out, int64_t low) {
    const Value* value = field(name);
    if (!value) return;
    const bool fits = value->IsInt64() && value->GetInt64() >= low &&
                      static_cast<uint64_t>(value->GetInt64()) <= static_cast<uint64_t>(std::numeric_limits<Number>::max());
    if (!fits) refuse(name, low > 0 ? "a whole number above 0" : "a whole number, 0 or more");
    if (fits) out = static_cast<Number>(value->GetInt64());
  }
  void flag(const char* name, bool& out) {
    const Value* value = field(name);
    if (value && !value->IsBool()) refuse(name, "true or false");
    if (value && value->IsBool()) out = value->GetBool();
  }
  void time(const char* name, HostDateTime& out) {
    std::string text;
    this->text(name, text);
    if (!problem_.empty()) return;
    const std::optional<HostDateTime> read = support::readExactDateTime(text);
    if (!read) refuse(name, "a time as YYYY-MM-DD HH:MM:SS.ffffff");
    if (read) out = *read;
  }
  const Value* array(const char* name) {
    const Value* value = field(name);
    if (value && !value->IsArray()) refuse(name, "a list");
    return value && value->IsArray() ? value : nullptr;
  }
  const std::string& problem() const { return problem_; }

 private:
  const Value& object_;
  std::string problem_;
};

bool parsedObject(std::string_view line, rapidjson::Document& document, std::string& error) {
  // Iteratively: a line of deeply nested brackets must not use up the stack.
  document.Parse<rapidjson::kParseIterativeFlag>(line.data(), line.size());
  if (document.HasParseError()) {
    error = "not JSON (error at byte " + std::to_string(document.GetErrorOffset() + 1) + ")";
    return false;
  }
  if (!document.IsObject()) {
    error = "not a JSON object";
    return false;
  }
  return true;
}

std::string text(const Value& value) { return std::string(value.GetString(), value.GetStringLength()); }

}  // namespace

std::string bodyFileOf(int64_t number) {
  char name[48];
  std::snprintf(name, sizeof name, "%s/%06lld.body", kBodiesFolderName, static_cast<long long>(number));
  return name;
}

bool headerLine(const RecordingHeader& header, std::string& line, std::string& error) {
  rapidjson::StringBuffer buffer;
  JsonWriter json(buffer);
  json.StartObject();
  json.Key("version");
  json.Int(header.version);
  writeText(json, "chartZone", header.chartZone);
  writeText(json, "clock", header.simulatedClock ? "simulated" : "real");
  if (!writeTime(json, "firstCall", header.firstCall, error) || !writeTime(json, "lastCall", header.lastCall, error))
    return false;
  json.Key("stepMicroseconds");
  json.Int64(header.stepMicroseconds);
  json.Key("inputs");
  json.StartArray();
  for (const std::string& input : header.inputs) support::writeJsonString(json, input);
  json.EndArray();
  json.Key("syntheticBars");
  json.Bool(header.syntheticBars);
  json.EndObject();
  line = finishedLine(buffer);
  return true;
}

bool exchangeLine(const RecordedExchange& exchange, const BodyStamp& stamp, std::string& line, std::string& error) {
  rapidjson::StringBuffer buffer;
  JsonWriter json(buffer);
  json.StartObject();
  json.Key("number");
  json.Int64(exchange.number);
  if (!writeTime(json, "requestedAt", exchange.requestedAt, error) ||
      !writeTime(json, "answeredAt", exchange.answeredAt, error))
    return false;
  writeText(json, "endpoint", exchange.endpoint);
  writeText(json, "method", exchange.method);
  writeText(json, "url", exchange.url);
  writeText(json, "route", exchange.route);
  writeText(json, "requestBody", exchange.requestBody);
  json.Key("headers");
  json.StartArray();
  for (const auto& [name, value] : exchange.headers) {
    json.StartArray();
    support::writeJsonString(json, name);
    support::writeJsonString(json, value);
    json.EndArray();
  }
  json.EndArray();
  json.Key("delivered");
  json.Bool(exchange.delivered);
  json.Key("status");
  json.Int64(exchange.status);
  writeText(json, "error", exchange.error);
  json.Key("serviceReached");
  json.Bool(exchange.serviceReached);
  json.Key("keyHidden");
  json.Bool(exchange.keyHidden);
  writeText(json, "bodyFile", bodyFileOf(exchange.number));
  json.Key("bodyBytes");
  json.Uint64(stamp.bytes);
  writeText(json, "bodyChecksum", stamp.checksum);
  json.EndObject();
  line = finishedLine(buffer);
  return true;
}

bool readHeaderLine(std::string_view line, RecordingHeader& header, std::string& error) {
  rapidjson::Document document;
  if (!parsedObject(line, document, error)) return false;
  Fields fields(document);
  fields.whole("version", header.version, 0);
  if (fields.problem().empty() && (header.version < 1 || header.version > kRecordingVersion)) {
    error = "a recording of version " + std::to_string(header.version) + "; this program reads versions 1 to " +
            std::to_string(kRecordingVersion);
    return false;
  }
  fields.text("chartZone", header.chartZone);
  std::string clock;
  fields.text("clock", clock);
  if (fields.problem().empty() && clock != "simulated" && clock != "real") fields.refuse("clock", "simulated or real");
  header.simulatedClock = clock == "simulated";
  fields.time("firstCall", header.firstCall);
  fields.time("lastCall", header.lastCall);
  fields.whole("stepMicroseconds", header.stepMicroseconds, 1);
  header.inputs.clear();
  if (const Value* inputs = fields.array("inputs")) {
    for (const Value& input : inputs->GetArray()) {
      if (!input.IsString()) fields.refuse("inputs", "a list of texts");
      if (input.IsString()) header.inputs.push_back(text(input));
    }
  }
  header.syntheticBars = false;
  if (document.HasMember("syntheticBars")) fields.flag("syntheticBars", header.syntheticBars);
  error = fields.problem();
  return error.empty();
}

bool readExchangeLine(std::string_view line, RecordedExchange& exchange, BodyStamp& stamp, std::string& error) {
  rapidjson::Document document;
  if (!parsedObject(line, document, error)) return false;
  Fields fields(document);
  fields.whole("number", exchange.number, 1);
  fields.time("requestedAt", exchange.requestedAt);
  fields.time("answeredAt", exchange.answeredAt);
  fields.text("endpoint", exchange.endpoint);
  fields.text("method", exchange.method);
  fields.text("url", exchange.url);
  fields.text("route", exchange.route);
  fields.text("requestBody", exchange.requestBody);
  exchange.headers.clear();
  if (const Value* headers = fields.array("headers")) {
    for (const Value& header : headers->GetArray()) {
      const bool pair = header.IsArray() && header.Size() == 2 && header[0].IsString() && header[1].IsString();
      if (!pair) fields.refuse("headers", "a list of [name, value] texts");
      if (pair) exchange.headers.emplace_back(text(header[0]), text(header[1]));
    }
  }
  fields.flag("delivered", exchange.delivered);
  fields.whole("status", exchange.status, 0);
  fields.text("error", exchange.error);
  fields.flag("serviceReached", exchange.serviceReached);
  // Written from version 2 on.
  exchange.keyHidden = false;
  if (document.HasMember("keyHidden")) fields.flag("keyHidden", exchange.keyHidden);
  fields.text("bodyFile", exchange.bodyFile);
  fields.whole("bodyBytes", stamp.bytes, 0);
  fields.text("bodyChecksum", stamp.checksum);
  error = fields.problem();
  // The body is read from the file its number names and from no other, so a
  // damaged line cannot send the reader anywhere outside the recording.
  if (error.empty() && exchange.bodyFile != bodyFileOf(exchange.number))
    error = "\"bodyFile\" of exchange " + std::to_string(exchange.number) + " is not " + bodyFileOf(exchange.number);
  return error.empty();
}

}  // namespace recording
