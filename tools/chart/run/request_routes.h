// Where the study's requests go when tarvio-chart talks to a stand-in. The
// host's transport follows --service-address, but the module sends its
// futures-conversion request itself, to the service's real host; only the
// test build of the module follows the address too (tarvio-chart hands it
// the address in its environment). A run that would mix the two is told so.
#pragma once

#include <string>

namespace chart_host { class StudyInstance; }

namespace chart_tool::command_line { struct RunSettings; }

namespace chart_tool::run {

using command_line::RunSettings;

// The test build of the module, as built beside `module` (the module built
// with the program): tests/test_route/ below its folder, same file name.
std::string testRouteModuleBeside(const std::string& module);

// With --service-address and a Futures Target set, the note (unless --quiet)
// that the module sends its conversion to the real service and which module
// follows the address. Empty when the module loaded is that test build.
std::string futuresRouteNote(const RunSettings& run, chart_host::StudyInstance& instance);

}  // namespace chart_tool::run
