#include "tools/chart/alerts/alert_command.h"

#include <algorithm>
#include <thread>

#include "tools/support/date_time_text.h"

namespace chart_tool::alerts {

namespace {

constexpr auto kEndPoll = std::chrono::milliseconds(20);

}  // namespace

support::ProgramEnvironment alertEnvironment(const RaisedAlert& alert) {
  return {
      {"TARVIO_ALERT_TEXT", alert.text},
      {"TARVIO_ALERT_TICKER", alert.ticker},
      {"TARVIO_ALERT_LEVEL", alert.level},
      {"TARVIO_ALERT_LEVEL_PRICE", alert.levelPriceText},
      {"TARVIO_ALERT_PRICE", alert.priceText},
      {"TARVIO_ALERT_KIND", kindName(alert.kind)},
      {"TARVIO_ALERT_DIRECTION", directionName(alert.direction)},
      {"TARVIO_ALERT_TIME", support::formatDateTime(alert.time)},
  };
}

bool AlertCommand::RunningCount::take() {
  std::size_t running = running_.load();
  while (running < kMostRunning)
    if (running_.compare_exchange_weak(running, running + 1)) return true;
  return false;
}

AlertCommand::AlertCommand(std::string program, Note note, RunningCount* count)
    : program_(std::move(program)), note_(std::move(note)), count_(count ? *count : ownCount_) {}

AlertCommand::~AlertCommand() { endRunning(); }

void AlertCommand::run(const RaisedAlert& alert) {
  if (program_.empty()) return;
  releaseEnded();
  if (!count_.take()) {
    if (!passingOverTold_)
      note_("--on-alert: " + std::to_string(kMostRunning) + " programs started on earlier alerts still run, so " +
            "none is started for this alert, nor for the next until one has ended");
    passingOverTold_ = true;
    return;
  }
  const support::Result<support::StartedProgram> started =
      support::startProgram(program_, alert.text, alertEnvironment(alert));
  if (started) {
    running_.push_back(started.value());
    passingOverTold_ = false;
    return;
  }
  count_.give(1);
  if (!failureTold_) {
    failureTold_ = true;
    note_("--on-alert: cannot start '" + program_ + "': " + started.message());
  }
}

std::size_t AlertCommand::releaseEnded() {
  const auto ended = std::remove_if(running_.begin(), running_.end(),
                                    [](support::StartedProgram& program) { return support::programEnded(program); });
  count_.give(static_cast<std::size_t>(running_.end() - ended));
  running_.erase(ended, running_.end());
  return running_.size();
}

void AlertCommand::end() {
  const std::size_t ended = endRunning();
  if (ended > 0)
    note_("--on-alert: " + std::to_string(ended) + (ended == 1 ? " program" : " programs") + " still running " +
          std::to_string(kEndGrace.count()) + " s after the run ended " +
          (ended == 1 ? "was ended, with all it started" : "were ended, with all they started"));
}

std::size_t AlertCommand::endRunning() {
  const auto giveUp = std::chrono::steady_clock::now() + kEndGrace;
  while (releaseEnded() > 0 && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(kEndPoll);
  const std::size_t ended = running_.size();
  for (support::StartedProgram& program : running_) support::endProgram(program);
  count_.give(running_.size());
  running_.clear();
  return ended;
}

}  // namespace chart_tool::alerts
