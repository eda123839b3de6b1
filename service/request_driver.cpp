#include "service/request_driver.h"

#include <cstring>

#include "render/major_levels.h"
#include "service/conversion_schedule.h"
#include "service/history_window.h"
#include "service/majors_history.h"
#include "service/service_requests.h"
#include "study/date_time.h"
#include "study/drawing_cleanup.h"
#include "study/instance_state.h"
#include "study/study_log.h"

namespace {

constexpr const char* kTransferFailedText = "HTTP_REQUEST_ERROR";
constexpr const char* kEmptyResponseText = "EMPTY_RESPONSE";

// The two snapshots, made on first use and kept in the pointer store.
struct Snapshots {
  GexProfile& gex;
  GreekProfile& greek;
};

Snapshots ensureSnapshots(const RequestDriverCall& call) {
  GexProfile* gex = call.gex;
  if (gex == nullptr) {
    gex = new GexProfile();
    call.sc.ops.HostSetPersistentPointer(kGexProfileKey, gex);
  }
  GreekProfile* greek = call.greek;
  if (greek == nullptr) {
    greek = new GreekProfile();
    call.sc.ops.HostSetPersistentPointer(kGreekProfileKey, greek);
  }
  return Snapshots{*gex, *greek};
}

bool isText(const HostString& value, const char* text) {
  return std::strcmp(hostStringText(value), text) == 0;
}

bool selectedSnapshotHasStrikes(const RequestDriverCall& call, const Snapshots& snapshots) {
  return call.isGreekProfile == 0 ? !snapshots.gex.strikes.empty()
                                  : !snapshots.greek.strikes.empty();
}

void drawLevels(const RequestDriverCall& call, const Snapshots& snapshots) {
  drawMajorLevels(call.sc, call.nextDrawingKey, call.isGreekProfile, snapshots.gex, snapshots.greek,
                  call.additivePremium, call.multiplicativePremium);
}

// Once per full recalculation, while no profile request is outstanding.
void sendHistoryWhenWanted(const RequestDriverCall& call, int32_t& historyState) {
  if (historyState != kHistoryWanted || call.requestsHalted != 0 ||
      call.requestState == kRequestWaiting) {
    return;
  }
  const HistoryWindow window = currentHistoryWindow(call.sc);
  if (window.empty()) {
    // Before the open there is nothing to show yet.
    historyState = kHistoryDone;
    return;
  }
  sendMajorsHistoryRequest(call.sc, hostStringText(call.ticker), call.apiKey,
                           window.startUnixSeconds, window.endUnixSeconds, historyState);
}

void collectHistory(const RequestDriverCall& call, int32_t& historyState) {
  HostStudyInterface& sc = call.sc;
  if (historyState != kHistoryWaiting || sc.httpResponseRequestId == 0) return;
  const HostString& text = sc.httpResponseText;
  if (text.length != 0 && !isText(text, kTransferFailedText)) {
    parseMajorsHistory(sc, hostStringText(text), call.additivePremium, call.multiplicativePremium);
  }
  historyState = kHistoryDone;
}

// True when this call is done with the profile (a request went out or the
// interval has not passed); false when a delivered answer may be waiting.
bool sendProfileWhenDue(const RequestDriverCall& call, int32_t historyState) {
  if (!call.inRequestWindow || historyState == kHistoryWaiting || call.requestsHalted != 0) {
    return false;
  }
  if (call.requestState == kRequestWaiting) return false;
  const int64_t interval = static_cast<int64_t>(call.requestIntervalSeconds) * 1000000LL;
  if (call.lastRequestTime != 0 &&
      elapsedMicroseconds(call.sc.currentDateTime, call.lastRequestTime) < interval) {
    return true;
  }
  call.requestState = kRequestDue;
  call.lastRequestTime = call.sc.currentDateTime;
  sendProfileRequest(call.sc, call.requestUrl, call.apiKey, call.requestState);
  if (call.requestState == kRequestWaiting) call.awaitingFreshProfile = 0;
  return true;
}

void handleProfileAnswer(const RequestDriverCall& call, const Snapshots& snapshots) {
  HostStudyInterface& sc = call.sc;
  if (sc.httpResponseRequestId == 0 || call.requestState != kRequestWaiting) return;
  call.requestState = kRequestHandled;

  const HostString& text = sc.httpResponseText;
  const bool emptyAnswer = isText(text, kEmptyResponseText);
  if (emptyAnswer || isText(text, kTransferFailedText)) {
    logMessage(sc, kLogAlert, "There was an error requesting data from the server.");
    clear(snapshots.gex);
    clear(snapshots.greek);
    if (emptyAnswer && sc.updateStartIndex == 0) {
      logMessage(sc, kLogNote, "There are no TarVio levels for the given parameters.");
    }
    // The text still goes to the parser, which reports it as unreadable.
  }
  if (sc.barCount <= 0 || sc.barCount <= sc.updateStartIndex) return;
  if (call.awaitingFreshProfile != 0 || text.length == 0) return;

  if (call.requestsHalted != 0) {
    if (sc.isFullRecalculation != 0 || selectedSnapshotHasStrikes(call, snapshots)) {
      drawLevels(call, snapshots);
    }
    return;
  }

  const ProfileParseResult result =
      call.isGreekProfile == 0 ? parse_gex_profile(sc, hostStringText(text), &snapshots.gex)
                               : parse_greek_profile(sc, hostStringText(text), &snapshots.greek);
  switch (result) {
    case ProfileParseResult::Halt:
      removeAllStudyDrawings(sc);
      call.requestsHalted = 1;
      break;
    case ProfileParseResult::Retry:
      removeAllStudyDrawings(sc);
      // The last good snapshot stays on the chart until a new one arrives.
      if (selectedSnapshotHasStrikes(call, snapshots)) drawLevels(call, snapshots);
      break;
    case ProfileParseResult::Parsed:
      sc.ops.HostSetPersistentInt(kProfileReadyKey, 1);
      sc.updateStartIndex = 0;
      drawLevels(call, snapshots);
      break;
  }
}

}  // namespace

void driveRequests(const RequestDriverCall& call) {
  HostStudyInterface& sc = call.sc;
  const Snapshots snapshots = ensureSnapshots(call);
  int32_t& historyState = sc.ops.HostPersistentInt(kHistoryRequestStateKey);

  if (sc.isFullRecalculation != 0) {
    call.dayResetArmed = 0;
    call.requestState = kRequestDue;
    historyState = kHistoryWanted;
  }

  sendHistoryWhenWanted(call, historyState);
  collectHistory(call, historyState);

  runFuturesConversionSchedule(sc, hostStringText(call.ticker), hostStringText(call.futuresTarget),
                               hostStringText(call.apiKey));

  if (sendProfileWhenDue(call, historyState)) return;
  handleProfileAnswer(call, snapshots);
}
