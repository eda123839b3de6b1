// The major levels the study has on the chart now: which level each of its
// lines stands for, by the keys under which the study keeps their line
// numbers, with the name the user gave its label and its price. What the
// status file lists and the alerts watch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/study_instance.h"

namespace chart_tool {

struct DrawnLevel {
  std::string name;  // the level's label input ("ZG"), or its name when that is blank
  float price = 0;   // where the line is drawn, premiums applied
  int32_t lineNumber = 0;
  HostColor color = 0;
};

// In the order the study keeps them; levels without a line are left out.
std::vector<DrawnLevel> drawnLevels(chart_host::StudyInstance& instance);

}  // namespace chart_tool
