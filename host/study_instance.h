// One study placed on one chart: its host record, inputs, output series,
// persistent stores, message log and the drawings it placed. It drives the
// study function through its passes: set-defaults, ordinary calls, repaints
// and the last call. Not thread-safe; one instance is called at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/message_log.h"
#include "host/persistent_store.h"
#include "study/host_interface.h"

class Canvas;

// What the host tells the study on one ordinary call.
struct CallSettings {
  HostDateTime currentDateTime = 0;  // the chart's time of the update
  HostDateTime clockDateTime = 0;    // wall clock in the chart's zone
  HostDateTime alternateClockDateTime = 0;
  bool useAlternateClock = false;
  bool fullRecalculation = false;
  int32_t updateStartIndex = 0;
  // Delivers an HTTP answer on this call when requestId is not 0.
  int32_t httpResponseRequestId = 0;
  std::string httpResponseText;
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

 private:
  // Brings the host-filled fields and per-bar arrays up to date with the chart.
  void refreshHostFields();

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
};
