#include "tools/chart/live/status_file.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/prettywriter.h>

#include <cmath>
#include <cstdlib>

#include "tools/chart/outputs/key_hiding.h"
#include "tools/support/date_time_text.h"
#include "tools/support/file_replacement.h"
#include "tools/support/json_text.h"

namespace chart_tool::live {

using namespace chart_tool::outputs;

namespace {

using JsonWriter = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

class StatusWriter {
 public:
  StatusWriter(JsonWriter& json, const std::string& apiKey) : json_(json), apiKey_(apiKey) {}

  void text(const char* name, const std::string& value) {
    json_.Key(name);
    support::writeJsonString(json_, withoutKey(value, apiKey_));
  }
  // An empty text is written as null.
  void textOrNull(const char* name, const std::string& value) {
    if (value.empty()) return null(name);
    text(name, value);
  }
  void null(const char* name) {
    json_.Key(name);
    json_.Null();
  }
  void number(const char* name, int64_t value) {
    json_.Key(name);
    json_.Int64(value);
  }
  template <typename Number>
  void numberOrNull(const char* name, std::optional<Number> value) {
    if (!value) return null(name);
    number(name, static_cast<int64_t>(*value));
  }
  void timeOrNull(const char* name, std::optional<HostDateTime> value) {
    if (!value) return null(name);
    text(name, support::formatDateTime(*value));
  }
  void yesNo(const char* name, bool value) {
    json_.Key(name);
    json_.Bool(value);
  }
  void levels(const std::vector<study_door::DrawnLevel>& levels) {
    json_.Key("levels");
    json_.StartArray();
    for (const study_door::DrawnLevel& level : levels) {
      json_.StartObject();
      text("name", level.name);
      json_.Key("price");
      price(level.price);
      json_.EndObject();
    }
    json_.EndArray();
  }
  void priceOrNull(const char* name, std::optional<float> value) {
    json_.Key(name);
    if (value) return price(*value);
    json_.Null();
  }
  void texts(const char* name, const std::vector<std::string>& values) {
    json_.Key(name);
    json_.StartArray();
    for (const std::string& value : values) {
      support::writeJsonString(json_, withoutKey(value, apiKey_));
    }
    json_.EndArray();
  }
  void alertList(const std::vector<alerts::RaisedAlert>& alerts) {
    json_.Key("alertList");
    json_.StartArray();
    for (const alerts::RaisedAlert& alert : alerts) {
      json_.StartObject();
      text("time", support::formatDateTime(alert.time));
      text("text", alert.text);
      text("ticker", alert.ticker);
      text("kind", alerts::kindName(alert.kind));
      text("direction", alerts::directionName(alert.direction));
      text("level", alert.level);
      priceOrNull("levelPrice", alert.levelPrice);
      priceOrNull("price", alert.price);
      json_.EndObject();
    }
    json_.EndArray();
  }

 private:
  // The float's shortest decimal text (5790.45, not 5790.4501953125); null
  // for a price that is not a number.
  void price(float value) {
    if (!std::isfinite(value)) return static_cast<void>(json_.Null());
    json_.Double(std::strtod(support::jsonFloat(value).c_str(), nullptr));
  }

  JsonWriter& json_;
  const std::string& apiKey_;
};

}  // namespace

std::string statusJson(const ServiceRecord& record, const std::vector<study_door::DrawnLevel>& levels,
                       const std::vector<std::string>& alerts, const std::string& notice,
                       const std::string& apiKey, const StatusExtras& extras) {
  rapidjson::StringBuffer buffer;
  JsonWriter json(buffer);
  json.SetIndent(' ', 2);
  StatusWriter status(json, apiKey);
  json.StartObject();
  status.text("now", support::formatDateTime(record.now()));
  status.timeOrNull("lastGoodAnswer", record.lastGoodAnswer());
  status.numberOrNull("ageSeconds", record.age_s());
  status.yesNo("stale", record.stale());
  status.number("calls", record.calls());
  status.number("answers", record.answers());
  status.number("historyAnswers", record.historyAnswers());
  status.number("refusals", record.refusals());
  status.number("failedTransfers", record.failedTransfers());
  status.numberOrNull("lastHttpStatus", record.lastHttpStatus());
  status.textOrNull("lastError", record.lastError());
  status.yesNo("halted", record.halted());
  status.textOrNull("haltReason", record.haltReason());
  status.text("requestWindow", record.windowOpen() ? "open" : "closed");
  status.textOrNull("notice", notice);
  status.levels(levels);
  status.texts("alerts", alerts);
  status.text("title", extras.title);
  status.textOrNull("dataAge", extras.dataAge);
  status.textOrNull("warning", extras.warning);
  status.priceOrNull("lastPrice", extras.lastPrice);
  status.priceOrNull("tickSize", extras.tickSize);
  status.number("changes", extras.changes);
  // Later members come after the first ones, which keep their places.
  status.text("levelsAgeFrom", record.snapshotTime() ? "service" : "arrival");
  status.timeOrNull("snapshotTime", record.snapshotTime());
  status.textOrNull("staleReason", record.staleReason());
  status.timeOrNull("lastErrorAt", record.lastErrorAt());
  status.number("studyMessages", extras.messages.studyMessages);
  status.number("studyAlerts", extras.messages.studyAlerts);
  status.number("levelAlerts", extras.messages.levelAlerts);
  status.textOrNull("alertsHeld", extras.alertsHeld);
  status.textOrNull("levelsWarning", extras.levelsWarning);
  if (const run::PriceRecord* price = extras.price) {
    status.timeOrNull("priceTime", price->priceTime());
    status.numberOrNull("priceAgeSeconds", price->age_s());
    status.yesNo("priceStale", price->stale());
    status.textOrNull("priceAge", extras.priceAge);
    status.textOrNull("priceWarning", extras.priceWarning);
    status.textOrNull("barsWarning", price->barsWarning());
  }
  status.alertList(extras.alertList);
  json.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

bool StatusFile::open(const std::string& path, std::string& error) {
  path_ = path;
  return path_.empty() || write("{}\n", error);
}

std::string StatusFile::replace(const std::string& text) {
  std::string error;
  if (path_.empty() || write(text, error) || failureTold_) return {};
  failureTold_ = true;
  return "--status " + error + "; the run goes on, and the file may show an earlier call";
}

bool StatusFile::write(const std::string& text, std::string& error) const {
  // Replaced on every call: a flush each time would cost more than the file is worth.
  const support::Status replaced = support::replaceFile(path_, text, support::Durability::unflushed);
  if (!replaced) error = replaced.message();
  return replaced.ok();
}

}  // namespace chart_tool::live
