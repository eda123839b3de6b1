// One study placed on one chart: its host record, inputs, output series,
// persistent stores, message log and the drawings it placed. It drives the
// study function through its passes: set-defaults, ordinary calls, repaints
// and the last call. Not thread-safe; one instance is called at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/answer_status_note.h"
#include "host/chart.h"
#include "host/http_facility.h"
#include "host/message_log.h"
#include "host/persistent_store.h"
#include "study/host_interface.h"

namespace chart_host {

class Canvas;

// What the host tells the study on one ordinary call.
struct CallSettings {
  HostDateTime currentDateTime = 0;  // the chart's time of the update
  HostDateTime clockDateTime = 0;    // wall clock in the chart's zone
  HostDateTime alternateClockDateTime = 0;
  bool useAlternateClock = false;
  bool fullRecalculation = false;
  int32_t updateStartIndex = 0;
  // Delivers this HTTP answer on the call when requestId is not 0; when it is
  // 0, the oldest answer the instance's HTTP facility holds is delivered.
  int32_t httpResponseRequestId = 0;
  std::string httpResponseText;
  // Waits for an answer when requests are outstanding and none has arrived.
  bool waitForHttpAnswer = false;
};

class StudyInstance {
 public:
  // Room the host gives every study for inputs and output series.
  static constexpr int32_t kInputSlots = 128;
  static constexpr int32_t kSubgraphSlots = 60;
  static constexpr int32_t kDefaultHostVersion = 2911;

  StudyInstance(Chart& chart, StudyFunction study, int32_t studyId);
  ~StudyInstance();
  StudyInstance(const StudyInstance&) = delete;
  StudyInstance& operator=(const StudyInstance&) = delete;

  void runSetDefaultsPass();
  void runCall(const CallSettings& settings);
  // An ordinary call that runs `body` in place of the study function, with
  // the same host fields and operations (for driving parts of a study).
  void runCallWith(const CallSettings& settings, const std::function<void(HostStudyInterface&)>& body);
  // The last call; the instance is then ended and takes no further calls.
  void runLastCall(bool beingRemoved);
  // Calls the graphics callback the study registered, if any.
  void paint(Canvas* canvas);

  bool ended() const { return ended_; }
  int32_t studyId() const { return studyId_; }
  Chart& chart() { return chart_; }
  HostStudyInterface& record() { return record_; }
  HostInput& input(int32_t index) { return inputAt(record_, index); }
  HostSubgraph& subgraph(int32_t index) { return subgraphAt(record_, index); }
  std::string studyName() const { return hostStringText(record_.studyName); }
  PersistentStore& store() { return store_; }
  MessageLog& log() { return log_; }
  void setHostVersion(int32_t version) { record_.hostVersion = version; }
  HttpFacility& http() { return http_; }
  void setHttpTransport(std::shared_ptr<HttpTransport> transport);
  // The answer the facility handed to the latest ordinary call, if it had one.
  const std::optional<HttpAnswer>& lastCallAnswer() const { return lastCallAnswer_; }

 private:
  // Brings the host-filled fields and per-bar arrays up to date with the chart.
  void refreshHostFields();
  // Puts this call's HTTP answer, if it has one, into the record, with the
  // host's note of a status the study cannot see.
  void deliverHttpAnswer(const CallSettings& settings);

  Chart& chart_;
  StudyFunction study_;
  int32_t studyId_;
  bool ended_ = false;
  HostStudyInterface record_{};
  std::vector<HostInput> inputs_;
  std::vector<HostSubgraph> subgraphs_;
  std::vector<std::vector<float>> values_;
  std::vector<std::vector<HostColor>> colors_;
  PersistentStore store_;
  MessageLog log_;
  HttpFacility http_;
  std::optional<HttpAnswer> lastCallAnswer_;
  AnswerStatusNotes statusNotes_;
};

}  // namespace chart_host
