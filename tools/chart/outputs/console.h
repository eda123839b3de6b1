// The run's standard error: the program's own lines, the study's log lines
// and the progress bar, which a line clears first so the two never mix. The
// service key, once known, is hidden in the program's own lines; the log's
// come with it hidden already (see RunLog). On a board each chart has its
// own console, whose lines begin with the chart's name; the consoles of a
// run share standard error a whole line (or paragraph) at a time.
// Each used by its chart's one thread.
#pragma once

#include <string>

#include "tools/chart/command_line/run_plan.h"

namespace chart_tool::outputs {

class Console {
 public:
  // `chart`: the chart's name on a board; empty for a run's only chart.
  explicit Console(command_line::ConsoleSettings settings, std::string chart = {});

  bool quiet() const { return settings_.quiet; }
  // A progress bar is drawn: asked for, and standard error is a terminal.
  bool progressOn() const { return progressOn_; }

  // From now on the key is hidden in the lines told (see key_hiding.h).
  void keepKeyOut(std::string key) { key_ = std::move(key); }

  // "tarvio-chart: LINE" ("tarvio-chart: NAME: LINE" on a board), told
  // even when quiet.
  void tell(const std::string& line);
  // The last line told, for a page that shows why a chart failed.
  const std::string& lastTold() const { return lastTold_; }
  // A line of the run's log, as the log wrote it, unless quiet.
  void logLine(const std::string& line);
  // The progress bar in place of the one shown before.
  void showProgress(const std::string& bar);
  void clearProgress();

 private:
  void write(const std::string& text);

  command_line::ConsoleSettings settings_;
  std::string prefix_;  // "NAME: " on a board
  std::string key_;
  std::string lastTold_;
  bool progressOn_ = false;
  bool progressShown_ = false;
};

}  // namespace chart_tool::outputs
