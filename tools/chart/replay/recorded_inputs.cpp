#include "tools/chart/replay/recorded_inputs.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "host/study_instance.h"
#include "tools/chart/outputs/series_and_drawings.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::replay {

using namespace chart_tool::inputs;
using namespace chart_tool::outputs;

namespace {

HostDateTime microsecondsOf(double days) {
  return static_cast<HostDateTime>(std::llround(days * static_cast<double>(kMicrosecondsPerDay)));
}

// ".ffffff" when the time has a fraction of a second, which the readers of
// times of day and dates with times take.
std::string fractionOf(HostDateTime time) {
  const int64_t fraction = ((time % kMicrosecondsPerSecond) + kMicrosecondsPerSecond) % kMicrosecondsPerSecond;
  if (fraction == 0) return {};
  char text[16];
  std::snprintf(text, sizeof text, ".%06lld", static_cast<long long>(fraction));
  return text;
}

std::optional<std::string> settingValue(const HostInput& input) {
  switch (input.kind) {
    case kInputText:
      if (input.textValue.text == nullptr) return std::nullopt;
      return std::string(hostStringText(input.textValue));
    case kInputFloat: {
      char text[32];
      std::snprintf(text, sizeof text, "%.9g", input.floatValue);  // nine digits: every float exactly
      return std::string(text);
    }
    case kInputYesNo: return std::string(input.intValue != 0 ? "yes" : "no");
    case kInputColor: return colorText(static_cast<uint32_t>(input.intValue));
    case kInputTimeOfDay: {
      const HostDateTime time = microsecondsOf(input.dateTimeValue);
      return support::formatTimeOfDay(time) + fractionOf(time);
    }
    case kInputDate: return support::formatDateTime(microsecondsOf(input.dateTimeValue)).substr(0, 10);
    case kInputDateTime: {
      const HostDateTime time = microsecondsOf(input.dateTimeValue);
      return support::formatDateTime(time) + fractionOf(time);
    }
    // Lists by option index, whole numbers and time zones by their number.
    default: return std::to_string(input.intValue);
  }
}

// The input's name when it names this input back and holds no '=' (--set
// splits at the first); its index otherwise.
std::string settingName(chart_host::StudyInstance& instance, int32_t index) {
  const std::string name = hostStringText(instance.input(index).name);
  std::string ignored;
  const bool namesItBack = !name.empty() && name.find('=') == std::string::npos && findInput(instance, name, ignored) == index;
  return namesItBack ? name : std::to_string(index);
}

}  // namespace

std::vector<std::string> inputSettingTexts(chart_host::StudyInstance& instance) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < chart_host::StudyInstance::kInputSlots; ++i) {
    const HostInput& input = instance.input(i);
    if (input.kind == kInputNone || study_door::isServiceKeyInput(i)) continue;
    if (const std::optional<std::string> value = settingValue(input)) texts.push_back(settingName(instance, i) + "=" + *value);
  }
  return texts;
}

}  // namespace chart_tool::replay
