// The chart shown while a run goes on: the live view's page (--serve), fed
// after every call with the run's status and, when the chart has changed,
// its new picture; and on the real clock the --png file, rewritten whole on
// every change so an image viewer shows it live. The picture is drawn once
// per change, whoever shows it. Used by the run's one thread; the server's
// threads read only what it publishes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/picture/chart_picture.h"
#include "tools/chart/run/chart_change.h"
#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/live/live_view_board.h"
#include "tools/chart/live/live_view_server.h"

namespace chart_tool::live {

using namespace chart_tool::command_line;
using namespace chart_tool::run;

class LiveOutputs {
 public:
  // Starts serving the page if the options ask for it, and tells its
  // address in one line on standard error. False with the one-line reason
  // when it cannot be served there (a port in use, an address not this
  // machine's).
  bool open(const ChartOptions& options, bool realClock, std::string& error);

  // Notes the chart as it is after a call; true when it changed.
  bool noteChart(ChartMoment moment) { return changed_ = changes_.note(std::move(moment)); }
  int64_t changes() const { return changes_.count(); }

  // Publishes the status after a call and, on a change, the picture. A
  // picture that cannot be drawn or written is told once on standard error;
  // the run goes on.
  void publish(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
               std::string status);

  // Stops serving: every connection is closed.
  void stop() { server_.reset(); }

 private:
  void tellOnce(const std::string& problem);

  ChartChanges changes_;
  bool changed_ = false;
  std::string livePngPath_;  // the --png file on the real clock
  LiveBoard board_;
  std::unique_ptr<LiveViewServer> server_;
  bool problemTold_ = false;
};

}  // namespace chart_tool::live
