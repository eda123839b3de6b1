#include "tools/chart/alerts/alert_watch.h"

#include "tools/chart/study_door/study_door.h"

namespace chart_tool::alerts {

AlertWatch::AlertWatch(StudyInstance& instance, const AlertSettings& raise, std::string program, float tickSize,
                       AlertCommand::RunningCount* running)
    : instance_(instance), command_(std::move(program), [&instance](const std::string& line) {
        instance.log().add(kHostLineMark + line, false);
      }, running) {
  if (raise.any()) alerts_.emplace(raise, tickSize);
}

void AlertWatch::look(HostDateTime now) {
  const std::vector<chart_host::Bar>& bars = instance_.chart().bars();
  if (!alerts_ || bars.empty()) return;
  const std::string ticker = study_door::typedTicker(instance_);
  for (RaisedAlert& alert : alerts_->look(ticker, bars.back().close, study_door::drawnLevels(instance_), now)) {
    alert.barTime = bars.back().dateTime;
    instance_.log().add(kHostLineMark + alert.text, true);
    command_.run(alert);
    if (raised_.size() == kRaisedKept) raised_.erase(raised_.begin());
    raised_.push_back(std::move(alert));
  }
}

void AlertWatch::afterCall(run::CallRecord& call) {
  if (alerts_ && call.price.stale()) {
    call.alertsHeld = "the price is STALE: " + call.price.staleReason();
    if (const std::optional<float> price = call.price.lastPrice())
      alerts_->follow(*price, study_door::drawnLevels(instance_));
  } else {
    look(call.now);
  }
  call.alerts = recentAlerts();
  call.raisedAlerts = raised_;
}

const std::vector<std::string>& AlertWatch::recentAlerts() const {
  static const std::vector<std::string> kNone;
  return alerts_ ? alerts_->recentAlerts() : kNone;
}

}  // namespace chart_tool::alerts
