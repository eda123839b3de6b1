// The chart as it stood every so many seconds of a simulated run
// (tarvio-chart --frames DIR --frame-every SECONDS): numbered pictures,
// frame-000001.png, frame-000002.png, ..., each the picture --png would draw
// at that call, and frames.csv ("frame,time") with the clock time of each,
// a line added as each frame is written. The first frame is the first
// call's; the next is due that many seconds later and is drawn at the first
// call at or after it. Not thread-safe: the run's thread writes them.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

#include "host/picture/chart_picture.h"
#include "study/host_interface.h"
#include "tools/chart/run/after_call.h"

namespace chart_host { class StudyInstance; }

namespace chart_tool::outputs {

inline constexpr const char* kFramesIndexName = "frames.csv";

// "frame-000042.png": the name of frame `number` (from 1).
std::string frameFileName(int64_t number);

class FramesWriter : public run::AfterCall {
 public:
  // Makes `folder` if it is missing, removes the frames an earlier run left
  // there and starts the index. False with a one-line reason naming the
  // folder or file.
  bool open(const std::string& folder, int64_t every_us, std::string& error);
  bool isOpen() const { return index_.is_open(); }

  // After the call at `now` (its picture laid out and repainted): writes the
  // frame when one is due. A frame that cannot be written ends the frames;
  // failure() says why.
  void look(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture, HostDateTime now);
  void afterCall(run::CallRecord& call) override {
    if (!from_ || call.now >= *from_) look(call.instance, call.picture, call.now);
  }
  // Frames begin at the first call at or after `from` (a replay's window).
  void beginAt(std::optional<HostDateTime> from) { from_ = from; }

  int64_t written() const { return written_; }
  const std::string& failure() const { return failure_; }

 private:
  std::string folder_;
  std::ofstream index_;
  int64_t every_us_ = 0;
  bool started_ = false;
  HostDateTime due_ = 0;
  int64_t written_ = 0;
  std::string failure_;
  std::optional<HostDateTime> from_;
};

}  // namespace chart_tool::outputs
