#include "tools/chart/run/request_routes.h"

#include <filesystem>
#include <system_error>

#include "tools/chart/command_line/run_plan.h"
#include "tools/chart/run/platform.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::run {

using namespace chart_tool::command_line;

namespace {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

// Below the working folder as a relative path (build/linux/...), otherwise
// as it stands.
std::string shownPath(const std::string& path) {
  std::error_code error;
  const fs::path relative = fs::relative(path, fs::current_path(error), error);
  if (error || relative.empty() || *relative.begin() == "..") return path;
  return relative.generic_string();
}

}  // namespace

std::string testRouteModuleBeside(const std::string& module) {
  const fs::path built(module);
  return (built.parent_path() / "tests" / "test_route" / built.filename()).generic_string();
}

std::string futuresRouteNote(const RunSettings& run, chart_host::StudyInstance& instance) {
  if (run.console.quiet || run.service.address.empty() || !study_door::futuresTargetSet(instance)) return {};
  const std::string testRoute = testRouteModuleBeside(moduleBesideProgram());
  if (!run.modulePath.empty() && sameFile(run.modulePath, testRoute)) return {};
  return std::string("note: the module sends its futures conversion to ") + study_door::futuresConversionHost() +
         " itself, not to " + run.service.address + "; the test build of the module (--module " +
         shownPath(testRoute) + ") follows --service-address";
}

}  // namespace chart_tool::run
