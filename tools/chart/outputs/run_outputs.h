// Where a chart run's results go: the message log (standard error and a
// file), a progress bar on a terminal, the graphics trace, the status file
// after every call, and at the end the output series and the drawings; plus
// the texts the program prints.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/picture/chart_picture.h"
#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/run/clock.h"
#include "host/message_log.h"
#include "tools/chart/live/service_record.h"
#include "tools/chart/live/status_file.h"
#include "tools/chart/outputs/trace_canvas.h"

namespace chart_host { class StudyInstance; }

namespace chart_tool {

using chart_host::LogLine;
using chart_host::StudyInstance;

}  // namespace chart_tool

namespace chart_tool::run { class ChartSession; }

namespace chart_tool::outputs {

using namespace chart_tool::command_line;
using namespace chart_tool::live;
using namespace chart_tool::run;

using run::ChartSession;

class RunOutputs {
 public:
  // Opens every file the options name, so a bad path stops the run before
  // it starts; false with the reason. Log lines carry the clock's time; the
  // clock must outlive the outputs.
  bool open(const ChartOptions& options, const Clock& clock, std::string& error);

  // The service key, hidden in whatever the outputs write of their own.
  void hideKey(std::string apiKey) { apiKey_ = std::move(apiKey); }

  void logLine(const LogLine& line);
  void repaint(ChartSession& session, int64_t repaint, HostDateTime now);

  void startProgress(int64_t totalCalls);
  void showProgress(int64_t done, HostDateTime now);
  void endProgress();

  // The run's status after a call (see status_file.h), of the chart as the
  // picture shows it and its count of changes; rewrites the status file with
  // it, if one was asked for, and returns it. A failure is told once on
  // standard error and the run goes on.
  std::string writeStatus(StudyInstance& instance, const ServiceRecord& record, const std::vector<std::string>& alerts,
                          const chart_host::ChartPictureOptions& picture, int64_t changes);

  // The output series and the drawings, while the study is still on the chart.
  bool writeEnd(StudyInstance& instance, std::string& error);
  // The run's paragraph on standard error, unless quiet: how the service
  // answered, its messages, and the files written.
  void printSummary(const ServiceRecord& record) const;

 private:
  void clearProgressLine();
  ChartOptions options_;
  std::ofstream log_;
  std::ofstream trace_;
  std::unique_ptr<TraceCanvas> traceCanvas_;
  StatusFile status_;
  std::string apiKey_;
  const Clock* clock_ = nullptr;
  int64_t totalCalls_ = 0;
  bool progressShown_ = false;
  bool progressOn_ = false;
  int alerts_ = 0;
  int messages_ = 0;
};

// Every declared input: index, name, kind and value.
void printInputs(StudyInstance& instance, std::ostream& out);

// An input's value as a person reads it: a list's chosen option, a colour
// as #RRGGBB, a time of day as HH:MM, yes or no.
std::string inputValueText(const HostInput& input);

// The picture's marks of how old its levels are (see data_age.h).
void markDataAge(chart_host::ChartPictureOptions& picture, const ServiceRecord& record, StudyInstance& instance);

}  // namespace chart_tool::outputs
