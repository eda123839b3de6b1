// Recording a chart run's exchanges with the service (--record): a transport
// that passes every request on and hands each finished exchange to an
// ExchangeRecorder, which writes them to the recording folder in the order
// the requests were made. The service key is never written: the header that
// carries it keeps its name with the value recording::kHiddenKey, and the key
// is hidden wherever else it shows (a URL, a body, an error the service
// quotes it in). Completions may come on any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/http_transport.h"
#include "tools/chart/run/clock.h"
#include "tools/recording/recording_writer.h"

namespace chart_tool {

using chart_host::HttpOutcome;
using chart_host::HttpRequest;
using chart_host::HttpTransport;

}  // namespace chart_tool

namespace chart_tool::replay {

using namespace chart_tool::run;

// Writes finished exchanges in number order: one that finishes before an
// earlier one waits for it. The first failure to write stops the recording
// (the run goes on without it). Thread-safe.
class ExchangeRecorder {
 public:
  explicit ExchangeRecorder(std::unique_ptr<recording::RecordingWriter> writer) : writer_(std::move(writer)) {}

  // The number of a request about to start; on the study's thread only.
  int64_t begin();
  // The request was refused and will never finish: its number is given again.
  void abandon(int64_t number);
  void finish(recording::RecordedExchange exchange);
  // Hands the answer of exchange `number` on to the host by `handOn`, noting
  // the order the answers reach it in: the host hands them to the study in
  // that order, one a call.
  void handOn(int64_t number, const std::function<void()>& handOn);
  // The exchange whose answer the study was handed on a call that took one:
  // the next in the order they reached the host. On the study's thread.
  int64_t nextHanded();
  void appendCall(const recording::RecordedCall& call);

  // The reason the recording stopped, the first time it is asked after the
  // recording stopped; empty otherwise.
  std::string newFailure();
  // The exchanges in the recording, and whether it stopped early.
  int64_t written() const;
  bool stopped() const;

 private:
  void fail(const std::string& error);

  mutable std::mutex mutex_;
  std::mutex handingMutex_;  // held while an answer reaches the host, so the order noted is the host's
  std::vector<int64_t> reachedHost_;
  std::size_t handed_ = 0;
  std::unique_ptr<recording::RecordingWriter> writer_;
  std::map<int64_t, recording::RecordedExchange> waiting_;
  int64_t nextNumber_ = 1;
  std::string failure_;
  bool failureTold_ = false;
};

// When an answer arrived, in the chart's time. On the simulated clock every
// answer is handed to the study on the call after its request, one step
// later, and that is its time (the same on every run). On the real clock it
// is the request's time plus the real time the transfer took, measured on the
// worker thread without touching the clock (which is not thread-safe).
struct AnswerTiming {
  bool simulated = true;
  int64_t step_us = kMicrosecondsPerSecond;
};

class RecordingTransport : public HttpTransport {
 public:
  // The clock must outlive the transport; it is read in start only, on the
  // study's thread.
  RecordingTransport(std::shared_ptr<HttpTransport> next, std::shared_ptr<ExchangeRecorder> recorder,
                     const Clock& clock, AnswerTiming timing, std::string apiKey);
  bool start(const HttpRequest& request, Completion done) override;

 private:
  std::shared_ptr<HttpTransport> next_;
  std::shared_ptr<ExchangeRecorder> recorder_;
  const Clock& clock_;
  AnswerTiming timing_;
  std::string apiKey_;
};

// The request as a recording keeps it: endpoint, method, route and headers,
// the key hidden.
recording::RecordedExchange recordedRequest(const HttpRequest& request, const std::string& apiKey);

}  // namespace chart_tool::replay
