// The program --on-alert names, started once for every alert with the
// alert's text as its one argument. The run never waits for it: programs
// that have ended are released at the next alert, and at the end of the run
// the stragglers get a short while before they are left to finish alone.
// Not thread-safe: one run uses one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/support/started_program.h"

namespace chart_tool::alerts {

class AlertCommand {
 public:
  // Told once, in one line, when the program cannot be started.
  using Note = std::function<void(const std::string& line)>;

  // An empty `program` starts nothing.
  AlertCommand(std::string program, Note note);
  ~AlertCommand();
  AlertCommand(const AlertCommand&) = delete;
  AlertCommand& operator=(const AlertCommand&) = delete;

  void run(const std::string& alertText);

  // Releases the programs that have ended; the number still running.
  std::size_t releaseEnded();

 private:
  std::string program_;
  Note note_;
  bool failureTold_ = false;
  std::vector<support::StartedProgram> running_;
};

}  // namespace chart_tool::alerts
