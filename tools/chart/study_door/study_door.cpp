#include "tools/chart/study_door/study_door.h"

#include <cstring>
#include <iterator>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "host/call_context.h"
#include "service/service_endpoint.h"
#include "study/date_time.h"
#include "study/greek_input.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/request_window.h"
#include "study/study_inputs.h"
#include "study/symbol_text.h"
#include "study/time_zone_table.h"

namespace chart_tool::study_door {

static_assert(kTimeZoneCount == tarvio::kTimeZoneCount, "the door's zone count is the study's table's");

namespace {

// How the study begins every message of its futures conversion, and the one
// that says it took a conversion: the contract follows, then two blanks.
constexpr std::string_view kDoorConversionMessage = "Tarvio Futures Conversion";
constexpr std::string_view kDoorConversionTaken = "Tarvio Futures Conversion: -> ";

// "Zero Gamma" for the input "Zero Gamma Label".
std::string levelNameOfLabelInput(const std::string& labelInputName) {
  const std::string suffix = " Label";
  if (labelInputName.size() > suffix.size() &&
      labelInputName.compare(labelInputName.size() - suffix.size(), suffix.size(), suffix) == 0)
    return labelInputName.substr(0, labelInputName.size() - suffix.size());
  return labelInputName;
}

// The drawing keys of the family of levels the Greek input draws: the GEX
// levels, or the gamma levels on the keys the GEX levels use otherwise.
struct DrawnFamily {
  int32_t firstPlace = 0;  // in the study's drawing order
  int32_t count = 0;
};

DrawnFamily drawnFamilyOf(StudyInstance& instance) {
  switch (tarvio::greekOption(tarvio::readIndex(instance.input(tarvio::kGreekInput))).family) {
    case tarvio::ProfileFamily::Gex: return {0, tarvio::kFirstGammaLevelInDrawingOrder};
    case tarvio::ProfileFamily::Gamma: {
      const int32_t all = static_cast<int32_t>(std::size(tarvio::kLevelInputPlaceInDrawingOrder));
      return {tarvio::kFirstGammaLevelInDrawingOrder, all - tarvio::kFirstGammaLevelInDrawingOrder};
    }
    default: return {};
  }
}

std::string normalisedSymbol(const char* text) {
  HostString normalised{};
  tarvio::normaliseSymbolText(normalised, text, nullptr);
  std::string result = hostStringText(normalised);
  releaseHostString(normalised);
  return result;
}

std::string keptText(StudyInstance& instance, int32_t key) {
  return hostStringText(instance.store().stringValue(key));
}

// The first element of the path after `base`, or empty when `url` is not below it.
std::string firstPathElementBelow(const std::string& url, const std::string& base) {
  if (url.compare(0, base.size(), base) != 0) return {};
  const std::string rest = url.substr(base.size());
  return rest.substr(0, rest.find('/'));
}

}  // namespace

std::vector<DrawnLevel> drawnLevels(StudyInstance& instance) {
  const DrawnFamily family = drawnFamilyOf(instance);
  std::vector<DrawnLevel> levels;
  for (int32_t i = 0; i < family.count; ++i) {
    // Which line stands for which level only the study's keys say; where and
    // in what colour it is drawn, the drawing itself.
    const int32_t lineNumber = instance.store().intValue(tarvio::kFirstDrawingKey + i);
    const chart_host::ChartDrawing* drawing =
        lineNumber != 0 ? instance.chart().drawings().find(lineNumber) : nullptr;
    if (drawing == nullptr) continue;
    const int32_t place = tarvio::kLevelInputPlaceInDrawingOrder[family.firstPlace + i];
    const HostInput& label = instance.input(tarvio::kZeroGammaLabelInput + place);
    std::string name = hostStringText(label.textValue);
    if (name.find_first_not_of(' ') == std::string::npos) name = levelNameOfLabelInput(hostStringText(label.name));
    levels.push_back(DrawnLevel{name, drawing->record.price, lineNumber, drawing->record.color});
  }
  return levels;
}

std::optional<HostDateTime> snapshotTimeUtc(StudyInstance& instance) {
  const tarvio::GreekOption& greek = tarvio::greekOption(tarvio::readIndex(instance.input(tarvio::kGreekInput)));
  const tarvio::ProfileSnapshot* held = nullptr;
  if (greek.family == tarvio::ProfileFamily::Gex)
    held = static_cast<const tarvio::GexProfile*>(instance.store().pointerValue(tarvio::kGexProfileKey));
  else if (greek.asksGreekProfile())
    held = static_cast<const tarvio::GreekProfile*>(instance.store().pointerValue(tarvio::kGreekProfileKey));
  if (held == nullptr || held->timestamp == 0 || held->strikes.empty()) return std::nullopt;
  return tarvio::UnixSecondsToHostDateTime(held->timestamp);
}

std::string tickerOfRequestUrl(const std::string& url) {
  const std::string history = firstPathElementBelow(url, std::string(tarvio::kHistoryBaseUrl) + "/");
  if (!history.empty()) return history;
  return firstPathElementBelow(url, std::string(tarvio::kServiceBaseUrl) + "/");
}

std::string typedTicker(StudyInstance& instance) {
  return normalisedSymbol(tarvio::readText(instance.input(tarvio::kTickerInput)));
}

std::string tickerSent(StudyInstance& instance, const std::string& requestTicker) {
  if (!requestTicker.empty()) return requestTicker;
  const std::string kept = keptText(instance, tarvio::kLastConversionTickerKey);
  return kept.empty() ? typedTicker(instance) : kept;
}

bool futuresTargetSet(StudyInstance& instance) {
  const HostInput& target = instance.input(tarvio::kFuturesTargetInput);
  if (target.kind != kInputText || target.textValue.text == nullptr) return false;
  return !normalisedSymbol(target.textValue.text).empty();
}

std::optional<FuturesConversion> futuresConversion(StudyInstance& instance, const std::string& contractTaken) {
  // The target never passes through the chart's transport: the study's
  // keeping is its only source before the study logs a conversion taken.
  const std::string target = keptText(instance, tarvio::kLastConversionFutureKey);
  if (target.empty()) return std::nullopt;
  return FuturesConversion{contractTaken.empty() ? target : contractTaken,
                           tarvio::readFloat(instance.input(tarvio::kMultiplicativePremiumInput)),
                           tarvio::readFloat(instance.input(tarvio::kAdditivePremiumInput))};
}

bool isFuturesConversionLine(std::string_view line) { return line.starts_with(kDoorConversionMessage); }

std::string contractOfConversionLine(std::string_view line) {
  if (!line.starts_with(kDoorConversionTaken)) return {};
  const std::string_view rest = line.substr(kDoorConversionTaken.size());
  return std::string(rest.substr(0, rest.find("  ")));
}

const char* futuresConversionHost() { return tarvio::kServiceApiHost; }

const HostInput& packageInput(StudyInstance& instance) { return instance.input(tarvio::kPackageInput); }

const HostInput& greekInput(StudyInstance& instance) { return instance.input(tarvio::kGreekInput); }

std::string serviceKey(StudyInstance& instance) {
  return hostStringText(instance.input(tarvio::kApiKeyInput).textValue);
}

bool isServiceKeyInput(int32_t index) { return index == tarvio::kApiKeyInput; }

bool requestsHalted(StudyInstance& instance) { return instance.store().intValue(tarvio::kRequestsHaltedKey) != 0; }

int64_t requestInterval_s(StudyInstance& instance) {
  return tarvio::readInteger(instance.input(tarvio::kRequestIntervalInput));
}

bool requestWindowOpen(StudyInstance& instance, HostDateTime now) {
  // The rule converts the time with the host's zone operation, which acts on
  // the instance whose call is in progress: the scope makes it this one. A
  // copy of the record carries the time asked about, so the instance's own
  // record stays as its last call left it.
  chart_host::CallScope scope(instance, nullptr);
  HostStudyInterface record = instance.record();
  record.currentDateTime = now;
  return tarvio::inRequestWindow(record);
}

HostDateTime requestStartTime(StudyInstance& instance) {
  return tarvio::readDateTime(instance.input(tarvio::kRequestStartTimeInput));
}

const char* requestZoneText(StudyInstance& instance) {
  return tarvio::zoneTextForInput(instance.input(tarvio::kTimeZoneInput));
}

int64_t elapsedMicroseconds(HostDateTime now, HostDateTime then) { return tarvio::elapsedMicroseconds(now, then); }

const char* zoneTextAt(int32_t index) {
  return index >= 0 && index < kTimeZoneCount ? tarvio::TimeZoneTable[index] : "";
}

}  // namespace chart_tool::study_door
