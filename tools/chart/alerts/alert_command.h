// The program --on-alert names, started for every alert with the alert's
// text as its one argument and its parts in the environment (TARVIO_ALERT_*,
// see alertEnvironment). The run never waits for it: programs that have
// ended are released at the next alert. At most kMostRunning run at once in
// the whole run, whichever of a board's charts started them: an alert that
// comes while as many still run starts none, and that is told once until
// one is started again. At the end of the run the stragglers get kEndGrace
// to finish, then each is ended with everything it started.
// Not thread-safe: each chart uses its own, over the run's shared count.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/chart/alerts/raised_alert.h"
#include "tools/support/started_program.h"

namespace chart_tool::alerts {

// The alert's parts by name, as the program's environment gets them:
// TARVIO_ALERT_TEXT, _TICKER, _LEVEL, _LEVEL_PRICE, _PRICE, _KIND (cross,
// near), _DIRECTION (up, down) and _TIME ("YYYY-MM-DD HH:MM:SS").
support::ProgramEnvironment alertEnvironment(const RaisedAlert& alert);

class AlertCommand {
 public:
  static constexpr std::size_t kMostRunning = 4;

  // The programs running for all the charts of a run. Thread-safe.
  class RunningCount {
   public:
    // One more, unless kMostRunning run already.
    bool take();
    void give(std::size_t programs) { running_ -= programs; }

   private:
    std::atomic<std::size_t> running_{0};
  };
  static constexpr std::chrono::seconds kEndGrace{2};

  // Told in one line: a program that cannot be started (once), an alert
  // passed over while kMostRunning run, programs ended at the end.
  using Note = std::function<void(const std::string& line)>;

  // An empty `program` starts nothing; it is started as it is named (a path
  // found before the run, see support::findProgram). `count`: the run's,
  // which must outlive the command; null: the command's own.
  AlertCommand(std::string program, Note note, RunningCount* count = nullptr);
  // Ends the run's programs as end() does, without a word.
  ~AlertCommand();
  AlertCommand(const AlertCommand&) = delete;
  AlertCommand& operator=(const AlertCommand&) = delete;

  void run(const RaisedAlert& alert);

  // Releases the programs that have ended; the number still running.
  std::size_t releaseEnded();

  // The end of the run: waits up to kEndGrace for the programs still
  // running, then ends each with all it started and tells how many.
  void end();

 private:
  // The number ended after the grace.
  std::size_t endRunning();

  std::string program_;
  Note note_;
  bool failureTold_ = false;
  bool passingOverTold_ = false;
  std::vector<support::StartedProgram> running_;
  RunningCount ownCount_;
  RunningCount& count_;
};

}  // namespace chart_tool::alerts
