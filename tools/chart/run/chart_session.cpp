#include "tools/chart/run/chart_session.h"

namespace chart_tool::run {

using namespace chart_host;

ChartSession::ChartSession(StudyInstance& instance, std::vector<Bar> bars, Clock& clock)
    : instance_(instance), clock_(clock), pending_(std::move(bars)) {}

void ChartSession::showAllBars() {
  for (; shown_ < pending_.size(); ++shown_) instance_.chart().appendBar(pending_[shown_]);
}

bool ChartSession::takeFedBars() {
  Chart& chart = instance_.chart();
  const std::size_t before = chart.bars().size();
  bool newestChanged = false;
  for (const Bar& bar : feed_()) {
    if (chart.bars().empty() || bar.dateTime > chart.bars().back().dateTime) {
      chart.appendBar(bar);
    } else if (bar.dateTime == chart.bars().back().dateTime && chart.bars().size() == before &&
               bar != chart.bars().back()) {
      // A file written again with its newest bar as it was changes nothing.
      chart.replaceLastBar(bar);
      newestChanged = true;
    }
  }
  return newestChanged;
}

HostDateTime ChartSession::callWhenDue(HostDateTime due) {
  clock_.waitUntil(due);
  const HostDateTime now = clock_.now();
  callTime_ = now;
  if (beforeCall_) beforeCall_();
  Chart& chart = instance_.chart();
  const std::size_t before = chart.bars().size();
  const bool newestChanged = feed_ && takeFedBars();
  for (; shown_ < pending_.size() && pending_[shown_].dateTime <= now; ++shown_)
    chart.appendBar(pending_[shown_]);
  CallSettings settings;
  settings.currentDateTime = now;
  settings.clockDateTime = now;
  settings.fullRecalculation = calls_ == 0;
  // The study looks again from the first new bar, or from the bar that was
  // the newest when none was added or it changed (it was still forming).
  const std::size_t after = chart.bars().size();
  const std::size_t start =
      calls_ == 0 ? 0 : (after > before && !newestChanged ? before : (before > 0 ? before - 1 : 0));
  settings.updateStartIndex = static_cast<int32_t>(start);
  settings.waitForHttpAnswer = awaitsAnswers();
  ++calls_;
  instance_.runCall(settings);
  return now;
}

}  // namespace chart_tool::run
