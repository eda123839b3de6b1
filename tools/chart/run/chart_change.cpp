#include "tools/chart/run/chart_change.h"

#include "host/study_instance.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::run {

ChartMoment chartMomentOf(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
                          const ServiceRecord& record, const std::vector<std::string>& alerts) {
  ChartMoment moment;
  moment.title = picture.title;
  moment.warning = picture.warning;
  moment.notice = picture.plotNotice;
  moment.answers = record.answers() + record.historyAnswers() + record.refusals() + record.failedTransfers();
  moment.halted = record.halted();
  const std::vector<chart_host::Bar>& bars = instance.chart().bars();
  moment.bars = bars.size();
  if (!bars.empty()) {
    const chart_host::Bar& newest = bars.back();
    moment.newestBarTime = newest.dateTime;
    moment.newestBarPrices = {newest.open, newest.high, newest.low, newest.close};
  }
  for (const study_door::DrawnLevel& level : study_door::drawnLevels(instance))
    moment.levels.emplace_back(level.name, level.price);
  moment.alerts = alerts;
  return moment;
}

bool ChartChanges::note(ChartMoment moment) {
  if (count_ > 0 && moment == last_) return false;
  last_ = std::move(moment);
  ++count_;
  return true;
}

void ChartChanges::afterCall(CallRecord& call) {
  call.changed = note(chartMomentOf(call.instance, call.picture, call.service, call.alerts));
  call.changes = count_;
}

}  // namespace chart_tool::run
