#include "tools/chart/study_requests.h"

#include <algorithm>
#include <iterator>

#include "host/call_context.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/request_window.h"
#include "study/study_inputs.h"
#include "study/time_zone_table.h"
#include "tools/chart/zone_names.h"
#include "tools/support/date_time_text.h"

namespace chart_tool {

using chart_host::StudyInstance;

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

std::string requestStartText(StudyInstance& instance) {
  const HostDateTime start = tarvio::readDateTime(instance.input(tarvio::kRequestStartTimeInput));
  const char* zoneText = tarvio::zoneTextForInput(instance.input(tarvio::kTimeZoneInput));
  return support::formatTimeOfDay(start).substr(0, 5) + " " + zoneTimeName(zoneText);
}

std::string serviceKey(StudyInstance& instance) {
  return hostStringText(instance.input(tarvio::kApiKeyInput).textValue);
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
  call.halted = requestsHalted(instance_);
  call.windowOpen = requestWindowOpen(instance_, now);
  call.interval_s = requestInterval_s(instance_);
  return call;
}

}  // namespace chart_tool
