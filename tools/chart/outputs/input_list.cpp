#include "tools/chart/outputs/input_list.h"

#include <cstdio>

#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/outputs/series_and_drawings.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::outputs {

using namespace chart_host;
using namespace chart_tool::inputs;

namespace {

const char* kindName(int32_t kind) {
  static constexpr const char* kNames[] = {"none", "list", "text", "number", "whole number", "yes/no",
                                           "colour", "time of day", "time zone", "date", "date and time"};
  return kind >= 0 && kind <= 10 ? kNames[kind] : "unknown";
}

std::string listOption(const HostInput& input) {
  const std::string options = hostStringText(input.listOptions);
  std::size_t start = 0;
  for (int32_t i = 0; i < input.intValue && start != std::string::npos; ++i) {
    start = options.find(';', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return std::to_string(input.intValue);
  return options.substr(start, options.find(';', start) - start);
}

}  // namespace

std::string inputValueText(const HostInput& input) {
  switch (input.kind) {
    case kInputList: return listOption(input);
    case kInputText: return input.textValue.text ? hostStringText(input.textValue) : "(no text)";
    case kInputFloat: {
      char text[32];
      std::snprintf(text, sizeof text, "%g", input.floatValue);
      return text;
    }
    case kInputYesNo: return input.intValue != 0 ? "yes" : "no";
    case kInputColor: return colorText(static_cast<uint32_t>(input.intValue));
    case kInputTimeOfDay:
      return support::formatTimeOfDay(static_cast<HostDateTime>(input.dateTimeValue * kMicrosecondsPerDay + 0.5))
          .substr(0, 5);
    case kInputDate:
    case kInputDateTime:
      return support::formatDateTime(static_cast<HostDateTime>(input.dateTimeValue * kMicrosecondsPerDay + 0.5));
    default: return std::to_string(input.intValue);
  }
}

void printInputs(StudyInstance& instance, std::ostream& out) {
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
    const HostInput& input = instance.input(i);
    if (input.kind == kInputNone) continue;
    out << i << "\t" << hostStringText(input.name) << "\t" << kindName(input.kind) << "\t" << inputValueText(input);
    if (input.kind == kInputList) out << "\t(" << hostStringText(input.listOptions) << ")";
    out << "\n";
  }
}

}  // namespace chart_tool::outputs
