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
#include "tools/chart/live/live_view_address.h"
#include "tools/chart/run/after_call.h"
#include "tools/chart/live/live_view_board.h"
#include "tools/chart/live/live_view_server.h"

namespace chart_tool::live {

class LiveOutputs : public run::AfterCall {
 public:
  // Starts serving the page if the settings ask for it, and tells its
  // address in one line on standard error; `livePngPath` is the picture file
  // kept live (the --png file on the real clock), or empty. False with the
  // one-line reason when the page cannot be served there (a port in use, an
  // address not this machine's).
  bool open(const LivePageSettings& page, const std::string& livePngPath, std::string& error);

  // Publishes the status after a call and, when the chart changed, the
  // picture. A picture that cannot be drawn or written is told once on
  // standard error; the run goes on.
  void afterCall(run::CallRecord& call) override;

  // Stops serving: every connection is closed.
  void stop() { server_.reset(); }

 private:
  void tellOnce(const std::string& problem);

  std::string livePngPath_;  // the --png file on the real clock
  LiveBoard board_;
  std::unique_ptr<LiveViewServer> server_;
  bool problemTold_ = false;
};

}  // namespace chart_tool::live
