// A replay of a recording of calls (version 2 on) repeats the run call for
// call: each call comes at its recorded time, the chart shows the bars it
// held then, and the study is handed, on the same call, the answer the run
// was handed. A request is held until the call its answer was handed on;
// one made to another route than the run's fails, with a note of the host's
// once per route. For the thread that calls the study.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/http_transport.h"
#include "tools/chart/run/price_record.h"
#include "tools/recording/recorded_exchange.h"

namespace chart_tool::replay {

class HandedAnswers : public chart_host::HttpTransport {
 public:
  using NoteSink = std::function<void(const std::string&)>;
  HandedAnswers(std::vector<recording::RecordedExchange> exchanges, NoteSink note)
      : exchanges_(std::move(exchanges)), note_(std::move(note)) {}
  // Requests still held fail, as a transport going away completes them.
  ~HandedAnswers() override;

  // Holds the request as the next exchange, in the order the run made them.
  bool start(const chart_host::HttpRequest& request, Completion done) override;
  // Completes the request of exchange `number` as that exchange ended.
  void handOver(int64_t number);

 private:
  struct Held {
    std::string route;
    Completion done;
  };
  std::vector<recording::RecordedExchange> exchanges_;
  // Fails a request the run made otherwise, with a note once per route.
  void failNotInTheRun(const std::string& route, const Completion& done);

  std::map<int64_t, Held> held_;
  int64_t started_ = 0;
  NoteSink note_;
  std::set<std::string> noted_;  // routes already told to have no answer
};

class RecordedCalls {
 public:
  RecordedCalls(std::vector<recording::RecordedCall> calls, std::shared_ptr<HandedAnswers> answers,
                bool barsBeforeFirstCall)
      : calls_(std::move(calls)), answers_(std::move(answers)), barsBeforeFirstCall_(barsBeforeFirstCall) {}

  // The recorded calls' times, in order.
  std::vector<HostDateTime> times() const;
  // Whether the recording's bars were all on the chart before the first
  // call (a run on the real clock); otherwise the calls bring every bar.
  bool barsBeforeFirstCall() const { return barsBeforeFirstCall_; }

  // At the next call's time, before the study is called: hands over its answer.
  void beforeCall();
  // The bars that changed on that call, newest last.
  std::vector<chart_host::Bar> changedBars() const;
  // What the run told of its bars file on that call.
  run::BarsTrouble barsTrouble() const;

 private:
  std::vector<recording::RecordedCall> calls_;
  std::shared_ptr<HandedAnswers> answers_;
  bool barsBeforeFirstCall_;
  std::size_t next_ = 0;
};

}  // namespace chart_tool::replay
