// When the chart changes as a person watching it sees it: a new answer or a
// refused one, a new bar or a change to the one forming, a level that moves,
// an alert, a new mark in the title bar or a new minute on its clock. Only
// the running age of the levels within the minute is no change: a page shows
// that by itself. The count of changes is what the status file's "changes"
// holds and what the live view and a live picture file are redrawn on.
// Not thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/chart.h"
#include "host/picture/chart_picture.h"
#include "tools/chart/run/service_record.h"
#include "tools/chart/run/after_call.h"

namespace chart_host { class StudyInstance; }

namespace chart_tool::run {

// What the chart shows at one moment, as far as a change goes.
struct ChartMoment {
  std::string title;  // to the minute
  std::string warning;
  std::string notice;
  int64_t answers = 0;  // every answer judged, of any kind
  bool halted = false;
  std::size_t bars = 0;
  HostDateTime newestBarTime = 0;
  std::vector<float> newestBarPrices;  // open, high, low, close
  std::vector<std::pair<std::string, float>> levels;
  std::vector<std::string> alerts;
  bool operator==(const ChartMoment&) const = default;
};

ChartMoment chartMomentOf(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
                          const ServiceRecord& record, const std::vector<std::string>& alerts);

class ChartChanges : public AfterCall {
 public:
  // True, and counted, when the moment differs from the one noted before;
  // the first moment is a change.
  bool note(ChartMoment moment);
  int64_t count() const { return count_; }
  // Notes the chart after the call, its alerts judged and its picture laid
  // out, and puts on the call whether it changed and the count so far.
  void afterCall(CallRecord& call) override;

 private:
  ChartMoment last_;
  int64_t count_ = 0;
};

}  // namespace chart_tool::run
