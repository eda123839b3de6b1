// The chart shown while a run goes on: its board on the live view's page
// (--serve; the page itself is the run's LiveView), fed after every call
// with the chart's status and, when the chart has changed, its new
// picture; and on the real clock the --png file, rewritten whole on
// every change so an image viewer shows it live. The picture is drawn once
// per change, whoever shows it, and once per change at each size pages have
// asked for lately: after the call, or between calls when a page asks for a
// new size while the run waits on the real clock. Drawing at another size
// leaves the chart laid out as the run's own picture, so the study and the
// run's files see the same chart whatever pages ask. One per chart, used by
// that chart's own thread; the server's threads read only what it publishes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/picture/chart_picture.h"
#include "tools/chart/run/after_call.h"
#include "tools/chart/run/wait_work.h"
#include "tools/chart/live/live_view_board.h"

namespace chart_tool::live {

class LiveOutputs : public run::AfterCall {
 public:
  LiveOutputs() = default;
  ~LiveOutputs() override { stop(); }
  LiveOutputs(const LiveOutputs&) = delete;
  LiveOutputs& operator=(const LiveOutputs&) = delete;

  // Feeds `board` (null: no page) and keeps `livePngPath` live (the --png
  // file on the real clock), or nothing when empty. `waitWork` is where
  // pages' sizes are drawn while the chart waits (null on a simulated
  // clock); it and the board must outlive this. `tell` gets this chart's
  // problems, one line each without the program's name. False with the
  // one-line reason when it cannot start (nothing can fail today).
  bool open(LiveBoard* board, const std::string& livePngPath, run::WaitWork* waitWork,
            std::function<void(const std::string&)> tell, std::string& error);

  // Publishes the status after a call and, when the chart changed, the
  // picture. A picture that cannot be drawn or written is told once; the
  // run goes on.
  void afterCall(run::CallRecord& call) override;

  // Stops feeding the board: its last status and picture stay on the page.
  void stop();

 private:
  void tellOnce(const std::string& problem);
  // The status, and the picture at the run's size when the chart changed.
  void publish(run::CallRecord& call);
  // Draws the sizes pages asked for that the latest change has no picture of.
  void drawAskedSizes();

  std::string livePngPath_;  // the --png file on the real clock
  LiveBoard* board_ = nullptr;
  std::function<void(const std::string&)> tell_;
  bool problemTold_ = false;
  run::WaitWork* waitWork_ = nullptr;
  // The chart and its picture as of the latest call, for pages' sizes.
  chart_host::StudyInstance* instance_ = nullptr;
  chart_host::ChartPictureOptions picture_;
};

}  // namespace chart_tool::live
