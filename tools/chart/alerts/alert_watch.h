// The run's watch on the last price against the levels the study drew: after
// every study call it looks at the newest bar's close, adds each alert to the
// instance's message log as the host's line (so it reaches the log file and
// standard error marked ALERT) and starts the --on-alert program with it.
// It keeps the run's latest alerts in their parts, for the picture's marks
// and the status's list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/study_instance.h"
#include "tools/chart/alerts/alert_command.h"
#include "tools/chart/alerts/alert_settings.h"
#include "tools/chart/alerts/level_alerts.h"
#include "tools/chart/alerts/raised_alert.h"
#include "tools/chart/run/after_call.h"

namespace chart_tool {

using chart_host::StudyInstance;
using chart_host::kHostLineMark;

}  // namespace chart_tool

namespace chart_tool::alerts {

class AlertWatch : public run::AfterCall {
 public:
  // The latest alerts kept in their parts (and marked on the picture).
  static constexpr std::size_t kRaisedKept = 50;

  // The instance must outlive the watch, or end() be called before it goes.
  // Without an alert asked for it watches nothing. `program` is the file
  // --on-alert names, as found before the run; empty: none. `running`: the
  // run's count of programs running, shared by its charts (null: its own).
  AlertWatch(StudyInstance& instance, const AlertSettings& raise, std::string program, float tickSize,
             AlertCommand::RunningCount* running = nullptr);

  // One look after a study call at clock time `now`.
  void look(HostDateTime now);
  // A look, and the latest alerts put on the call for those that show them.
  // While the price is stale no look is taken: a still price near a level
  // is the market that was, not the market that is.
  void afterCall(run::CallRecord& call) override;

  // The end of the run: the --on-alert programs still running get their
  // grace, then are ended (see AlertCommand::end), told in the log.
  void end() { command_.end(); }

  // The latest alert texts, oldest first (at most LevelAlerts::kRecentAlertsKept).
  const std::vector<std::string>& recentAlerts() const;
  // The latest alerts in their parts, oldest first (at most kRaisedKept).
  const std::vector<RaisedAlert>& raisedAlerts() const { return raised_; }

 private:
  StudyInstance& instance_;
  std::optional<LevelAlerts> alerts_;
  AlertCommand command_;
  std::vector<RaisedAlert> raised_;
};

}  // namespace chart_tool::alerts
