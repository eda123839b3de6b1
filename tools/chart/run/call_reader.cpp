#include "tools/chart/run/call_reader.h"

#include <algorithm>
#include <iterator>

#include "tools/chart/inputs/zone_names.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/support/date_time_text.h"

namespace chart_tool {

using chart_host::StudyInstance;

}  // namespace chart_tool

namespace chart_tool::run {

using namespace chart_tool::inputs;

std::string requestStartText(StudyInstance& instance) {
  const std::string start = support::formatTimeOfDay(study_door::requestStartTime(instance)).substr(0, 5);
  return start + " " + zoneTimeName(study_door::requestZoneText(instance));
}

CallReader::CallReader(StudyInstance& instance) : instance_(instance), linesSeen_(instance.log().lines().size()) {}

ObservedCall CallReader::read(HostDateTime now) {
  ObservedCall call;
  call.now = now;
  call.answer = instance_.lastCallAnswer();
  const std::vector<chart_host::LogLine>& lines = instance_.log().lines();
  // The host's own lines (its notes, the alerts added after the previous
  // call) are not the study's judgement of an answer.
  if (linesSeen_ <= lines.size())
    std::copy_if(lines.begin() + static_cast<std::ptrdiff_t>(linesSeen_), lines.end(), std::back_inserter(call.lines),
                 [](const chart_host::LogLine& line) { return !chart_host::isHostLine(line); });
  linesSeen_ = lines.size();
  call.halted = study_door::requestsHalted(instance_);
  call.windowOpen = study_door::requestWindowOpen(instance_, now);
  call.interval_s = study_door::requestInterval_s(instance_);
  HostDateTime snapshot = 0;
  if (const std::optional<HostDateTime> utc = study_door::snapshotTimeUtc(instance_);
      utc && instance_.chart().convertFromZone(*utc, "UTC+00", snapshot))
    call.snapshotTime = snapshot;
  return call;
}

}  // namespace chart_tool::run
