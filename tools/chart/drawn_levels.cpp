#include "tools/chart/drawn_levels.h"

#include <iterator>

#include "study/greek_input.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

namespace chart_tool {

namespace {

// "Zero Gamma" for the input "Zero Gamma Label".
std::string levelNameOf(const std::string& labelInputName) {
  const std::string suffix = " Label";
  if (labelInputName.size() > suffix.size() &&
      labelInputName.compare(labelInputName.size() - suffix.size(), suffix.size(), suffix) == 0)
    return labelInputName.substr(0, labelInputName.size() - suffix.size());
  return labelInputName;
}

}  // namespace

std::vector<DrawnLevel> drawnLevels(chart_host::StudyInstance& instance) {
  using namespace tarvio;
  const ProfileFamily family = greekOption(readIndex(instance.input(kGreekInput))).family;
  int32_t first = 0;
  int32_t count = 0;
  if (family == ProfileFamily::Gex) {
    count = kFirstGammaLevelInDrawingOrder;
  } else if (family == ProfileFamily::Gamma) {
    first = kFirstGammaLevelInDrawingOrder;
    count = static_cast<int32_t>(std::size(kLevelInputPlaceInDrawingOrder)) - first;
  }
  std::vector<DrawnLevel> levels;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t lineNumber = instance.store().intValue(kFirstDrawingKey + i);
    const chart_host::ChartDrawing* drawing =
        lineNumber != 0 ? instance.chart().drawings().find(lineNumber) : nullptr;
    if (drawing == nullptr) continue;
    const HostInput& label = instance.input(kZeroGammaLabelInput + kLevelInputPlaceInDrawingOrder[first + i]);
    std::string name = hostStringText(label.textValue);
    if (name.find_first_not_of(' ') == std::string::npos) name = levelNameOf(hostStringText(label.name));
    levels.push_back(DrawnLevel{name, drawing->record.price, lineNumber, drawing->record.color});
  }
  return levels;
}

}  // namespace chart_tool
