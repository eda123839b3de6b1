#include "tools/chart/alerts/alert_command.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace chart_tool::alerts {

namespace {

// How long the end of a run waits for programs still running.
constexpr auto kEndWait = std::chrono::seconds(2);
constexpr auto kEndPoll = std::chrono::milliseconds(20);

}  // namespace

AlertCommand::AlertCommand(std::string program, Note note) : program_(std::move(program)), note_(std::move(note)) {}

AlertCommand::~AlertCommand() {
  const auto giveUp = std::chrono::steady_clock::now() + kEndWait;
  while (releaseEnded() > 0 && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(kEndPoll);
  for (const support::StartedProgram program : running_) support::leaveProgram(program);
}

void AlertCommand::run(const std::string& alertText) {
  if (program_.empty()) return;
  releaseEnded();
  const support::Result<support::StartedProgram> started = support::startProgram(program_, alertText);
  if (started) {
    running_.push_back(started.value());
  } else if (!failureTold_) {
    failureTold_ = true;
    note_("--on-alert: cannot start '" + program_ + "': " + started.message());
  }
}

std::size_t AlertCommand::releaseEnded() {
  running_.erase(std::remove_if(running_.begin(), running_.end(), support::programEnded), running_.end());
  return running_.size();
}

}  // namespace chart_tool::alerts
