// A program under test left running while the test talks to it: its
// standard error goes to a file the test can read as it grows (to find the
// line a program prints once it is ready), its standard output is thrown
// away. Killed at the end of the test if it has not ended by then.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace live_test {

class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments,
                    std::string standardErrorPath);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  bool started() const { return pid_ > 0; }
  std::string standardError() const;
  // The first line of standard error that holds `part`, waiting up to
  // `timeout_s` for it; nothing when the program ended or time ran out.
  std::optional<std::string> lineWith(const std::string& part, double timeout_s);
  // Asks it to end (a request to terminate), as a user ending a run would.
  void requestStop();
  // The exit status once it ends, -1 when it did not exit normally within
  // `timeout_s` (it is then killed).
  int waitForExit(double timeout_s);
  // Whether it has ended; its exit status is then waitForExit's.
  bool ended();

 private:
  pid_t pid_ = -1;
  int exitStatus_ = -1;
  std::string errorPath_;
};

}  // namespace live_test
