// One study on one chart over a span of time, as a chart window runs it: the
// session runs on a clock; the bars appear as the clock passes their start,
// the study gets an ordinary call at every step (the first one a full
// recalculation) and a repaint after each, and its last call when the
// session ends.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/chart.h"
#include "host/study_instance.h"
#include "tools/chart/run/clock.h"

namespace chart_tool {

using chart_host::Bar;
using chart_host::Canvas;
using chart_host::StudyInstance;

}  // namespace chart_tool

namespace chart_tool::run {

class ChartSession {
 public:
  // `bars` are all the bars the session may show, in rising time order. The
  // instance and the clock must outlive the session.
  ChartSession(StudyInstance& instance, std::vector<Bar> bars, Clock& clock);

  // Waits until the clock shows `due`, shows every bar that has begun by the
  // clock's time then, and calls the study at that time, which it returns.
  // On a simulated clock an answer to a request made on an earlier call is
  // awaited, so each answer comes on the call after its request.
  HostDateTime callWhenDue(HostDateTime due);
  // Shows every bar at once (for runs on the real clock over a file).
  void showAllBars();
  // Where newer bars come from on the real clock: before each call the feed
  // is asked, and of what it gives, a bar newer than the chart's newest is
  // added and one at the newest's time replaces it (it was still forming).
  using BarsFeed = std::function<std::vector<Bar>()>;
  void setBarsFeed(BarsFeed feed) { feed_ = std::move(feed); }

  // What is done at each call's time before the study is called (a replay
  // hands over the answers the run was handed on that call).
  void setBeforeCall(std::function<void()> beforeCall) { beforeCall_ = std::move(beforeCall); }
  // Answers come on the calls a replay hands them on: the study is never
  // made to wait for one.
  void setAnswersHandedByCall() { answersHandedByCall_ = true; }
  // On a simulated clock answers are awaited, unless a replay hands them.
  bool awaitsAnswers() const { return clock_.simulated() && !answersHandedByCall_; }

  void repaint(Canvas* canvas) { instance_.paint(canvas); }
  int64_t calls() const { return calls_; }
  // The clock's time of the latest call, or of now before the first: what the
  // call's messages are stamped with, on a replay as in the run.
  HostDateTime callTime() const { return calls_ > 0 ? callTime_ : clock_.now(); }

 private:
  StudyInstance& instance_;
  Clock& clock_;
  // True when the bar that was the newest changed.
  bool takeFedBars();

  BarsFeed feed_;
  std::function<void()> beforeCall_;
  bool answersHandedByCall_ = false;
  HostDateTime callTime_ = 0;
  std::vector<Bar> pending_;
  std::size_t shown_ = 0;
  int64_t calls_ = 0;
};

}  // namespace chart_tool::run
