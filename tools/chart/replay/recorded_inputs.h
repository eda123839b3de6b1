// A study's inputs as texts --set takes back ("Request Interval=5"), each
// exact: a number to the last bit of its float, a list option by index, times
// to the microsecond. A recording keeps them so a replay can set the run's
// inputs again.
#pragma once

#include <string>
#include <vector>

namespace chart_host { class StudyInstance; }

namespace chart_tool::replay {

// Every declared input in index order but the service key (and a text input
// without text), as "name=value"; by index ("37=3") when the name holds an
// '=' or would find another input.
std::vector<std::string> inputSettingTexts(chart_host::StudyInstance& instance);

}  // namespace chart_tool::replay
