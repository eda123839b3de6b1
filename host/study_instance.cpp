#include "host/study_instance.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "host/call_context.h"
#include "host/host_operations.h"

namespace chart_host {

StudyInstance::StudyInstance(Chart& chart, StudyFunction study, int32_t studyId)
    : chart_(chart),
      study_(study),
      studyId_(studyId),
      inputs_(kInputSlots),
      subgraphs_(kSubgraphSlots),
      values_(kSubgraphSlots),
      colors_(kSubgraphSlots) {
  for (HostInput& input : inputs_) input.timeZoneIndex = -1;
  record_.recordSize = sizeof(HostStudyInterface);
  record_.hostVersion = kDefaultHostVersion;
  record_.chartNumber = chart.chartNumber();
  record_.inputs = inputs_.data();
  record_.inputCount = kInputSlots;
  record_.subgraphs = subgraphs_.data();
  record_.subgraphCount = kSubgraphSlots;
  record_.spareInput.timeZoneIndex = -1;
  record_.ops = makeHostOperations();
}

StudyInstance::~StudyInstance() {
  for (HostInput& input : inputs_) {
    releaseHostString(input.name);
    releaseHostString(input.textValue);
    releaseHostString(input.listOptions);
  }
  for (HostSubgraph& subgraph : subgraphs_) releaseHostString(subgraph.name);
  releaseHostString(record_.studyName);
  releaseHostString(record_.httpResponseText);
  releaseHostString(record_.spareInput.name);
  releaseHostString(record_.spareInput.textValue);
  releaseHostString(record_.spareInput.listOptions);
  releaseHostString(record_.spareSubgraph.name);
}

void StudyInstance::refreshHostFields() {
  const auto& times = chart_.barDateTimes();
  record_.barCount = static_cast<int32_t>(times.size());
  record_.barDateTimes = times.empty() ? nullptr : times.data();
  record_.currentBarIndex = std::max(record_.barCount - 1, 0);
  record_.tickSize = chart_.tickSize();
  const PlotArea& area = chart_.plotArea();
  record_.plotLeft = area.left;
  record_.plotTop = area.top;
  record_.plotRight = area.right;
  record_.plotBottom = area.bottom;
  for (std::size_t i = 0; i < subgraphs_.size(); ++i) {
    HostSubgraph& subgraph = subgraphs_[i];
    // New bars start without a value, in the series' own colour.
    values_[i].resize(times.size(), 0.0f);
    colors_[i].resize(times.size(), subgraph.primaryColor);
    subgraph.values = values_[i].empty() ? nullptr : values_[i].data();
    subgraph.valueCount = static_cast<int32_t>(values_[i].size());
    subgraph.colors = colors_[i].empty() ? nullptr : colors_[i].data();
    subgraph.colorCount = static_cast<int32_t>(colors_[i].size());
  }
}

void StudyInstance::setHttpTransport(std::shared_ptr<HttpTransport> transport) {
  http_.setTransport(std::move(transport));
}

// One answer per call at most, so the study sees each of them.
void StudyInstance::deliverHttpAnswer(const CallSettings& settings) {
  lastCallAnswer_.reset();
  if (settings.httpResponseRequestId != 0) {
    record_.httpResponseRequestId = settings.httpResponseRequestId;
    assignHostString(record_.httpResponseText, settings.httpResponseText.c_str());
    return;
  }
  record_.httpResponseRequestId = 0;
  lastCallAnswer_ = http_.takeAnswer(settings.waitForHttpAnswer);
  if (lastCallAnswer_) {
    record_.httpResponseRequestId = lastCallAnswer_->requestId;
    assignHostString(record_.httpResponseText, lastCallAnswer_->text.c_str());
    // Before the study's own lines about the same answer.
    if (std::optional<std::string> note = statusNotes_.noteFor(*lastCallAnswer_)) log_.add(std::move(*note), false);
  }
}

void StudyInstance::runSetDefaultsPass() {
  if (ended_) return;
  refreshHostFields();
  record_.isSetDefaultsPass = 1;
  {
    CallScope scope(*this, nullptr);
    study_(record_);
  }
  record_.isSetDefaultsPass = 0;
}

void StudyInstance::runCall(const CallSettings& settings) {
  runCallWith(settings, [this](HostStudyInterface& sc) { study_(sc); });
}

void StudyInstance::runCallWith(const CallSettings& settings,
                                const std::function<void(HostStudyInterface&)>& body) {
  if (ended_) return;
  refreshHostFields();
  record_.currentDateTime = settings.currentDateTime;
  record_.clockDateTime = settings.clockDateTime;
  record_.alternateClockDateTime = settings.alternateClockDateTime;
  record_.useAlternateClock = settings.useAlternateClock ? 1 : 0;
  record_.isFullRecalculation = settings.fullRecalculation ? 1 : 0;
  record_.updateStartIndex = settings.updateStartIndex;
  deliverHttpAnswer(settings);
  {
    CallScope scope(*this, nullptr);
    body(record_);
  }
  record_.isFullRecalculation = 0;
  record_.httpResponseRequestId = 0;
  releaseHostString(record_.httpResponseText);
}

void StudyInstance::runLastCall(bool beingRemoved) {
  if (ended_) return;
  refreshHostFields();
  record_.isLastCall = beingRemoved ? 0 : 1;
  record_.isBeingRemoved = beingRemoved ? 1 : 0;
  {
    CallScope scope(*this, nullptr);
    study_(record_);
  }
  ended_ = true;
}

void StudyInstance::paint(Canvas* canvas) {
  if (ended_ || record_.graphicsCallback == nullptr) return;
  refreshHostFields();
  CallScope scope(*this, canvas);
  record_.graphicsCallback(nullptr, nullptr, record_);
}

}  // namespace chart_host
