#include "service/request_driver.h"

#include <cstring>

#include "render/major_levels.h"
#include "service/conversion_schedule.h"
#include "service/history_window.h"
#include "service/majors_history.h"
#include "service/service_requests.h"
#include "study/date_time.h"
#include "study/drawing_cleanup.h"
#include "study/host_calls.h"
#include "study/instance_state.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

constexpr const char* kTransferFailedText = "HTTP_REQUEST_ERROR";
constexpr const char* kEmptyResponseText = "EMPTY_RESPONSE";

// The two snapshots, made on first use and kept in the pointer store.
struct Snapshots {
  GexProfile& gex;
  GreekProfile& greek;
};

Snapshots ensureSnapshots(const RequestDriverCall& call) {
  HostCalls host(call.sc);
  GexProfile* gex = call.gex;
  if (gex == nullptr) {
    gex = new GexProfile();
    host.setPersistentPointer(kGexProfileKey, gex);
  }
  GreekProfile* greek = call.greek;
  if (greek == nullptr) {
    greek = new GreekProfile();
    host.setPersistentPointer(kGreekProfileKey, greek);
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

// How long a request superseded by a full recalculation keeps new requests
// back while its answer is awaited: a host that drops such answers must not
// stop requests for good.
constexpr int64_t kSupersededRequestWait = kMicrosecondsPerMinute;

// Which request the answer delivered on this call belongs to.
enum class DeliveredAnswer { None, Profile, History, Stale };

// The one request the host has not answered yet, by the id it gave.
struct OutstandingRequest {
  int32_t& id;
  HostDateTime& sentAt;
};

// The references live as long as `host`.
OutstandingRequest outstandingRequest(HostCalls& host) {
  return OutstandingRequest{host.persistentInt(kOutstandingRequestIdKey),
                            host.persistentInt64(kOutstandingRequestSentKey)};
}

void noteSent(const RequestDriverCall& call, int32_t requestId) {
  HostCalls host(call.sc);
  const OutstandingRequest outstanding = outstandingRequest(host);
  outstanding.id = requestId;
  outstanding.sentAt = call.sc.currentDateTime;
}

// An answer is taken only for the request whose id it carries. One for a
// request a full recalculation superseded (the ticker changed while it was
// out) is dropped, so an old ticker's levels are never drawn as the new one's.
DeliveredAnswer matchDeliveredAnswer(const RequestDriverCall& call, int32_t historyState) {
  HostStudyInterface& sc = call.sc;
  if (sc.httpResponseRequestId == 0) return DeliveredAnswer::None;
  HostCalls host(sc);
  const OutstandingRequest outstanding = outstandingRequest(host);
  DeliveredAnswer answer = DeliveredAnswer::Stale;
  if (sc.httpResponseRequestId == outstanding.id) {
    outstanding.id = 0;
    if (historyState == kHistoryWaiting) {
      answer = DeliveredAnswer::History;
    } else if (call.requestState == kRequestWaiting) {
      answer = DeliveredAnswer::Profile;
    }
  }
  if (answer == DeliveredAnswer::Stale) {
    logMessage(sc, kLogNote, "Tarvio: an answer to an earlier request was ignored.");
  }
  return answer;
}

// True while a superseded request is still out: nothing new is sent then, so
// the service never has more than one request of this instance at a time.
bool supersededRequestOut(const RequestDriverCall& call, int32_t historyState) {
  HostCalls host(call.sc);
  if (call.requestState == kRequestWaiting || historyState == kHistoryWaiting) return false;
  // Looked up one at a time: this runs on every call, and mostly nothing is out.
  int32_t& id = host.persistentInt(kOutstandingRequestIdKey);
  if (id == 0) return false;
  const HostDateTime sentAt = host.persistentInt64(kOutstandingRequestSentKey);
  const int64_t waited = elapsedMicroseconds(call.sc.currentDateTime, sentAt);
  if (waited >= 0 && waited < kSupersededRequestWait) return true;
  id = 0;  // given up on: its answer, if it still comes, is dropped
  return false;
}

void drawLevels(const RequestDriverCall& call, const Snapshots& snapshots) {
  drawMajorLevels(call.sc, call.nextDrawingKey, call.isGreekProfile, snapshots.gex, snapshots.greek,
                  call.additivePremium, call.multiplicativePremium);
}

// Once per full recalculation, while no profile request is outstanding.
void sendHistoryWhenWanted(const RequestDriverCall& call, int32_t& historyState) {
  if (historyState != kHistoryWanted || call.requestsHalted != 0 ||
      call.requestState == kRequestWaiting || supersededRequestOut(call, historyState)) {
    return;
  }
  const HistoryWindow window = currentHistoryWindow(call.sc);
  if (window.empty()) {
    // Before the open there is nothing to show yet.
    historyState = kHistoryDone;
    return;
  }
  noteSent(call, sendMajorsHistoryRequest(call.sc, hostStringText(call.ticker), call.apiKey,
                                          window.startUnixSeconds, window.endUnixSeconds,
                                          historyState));
}

void collectHistory(const RequestDriverCall& call, DeliveredAnswer answer, int32_t& historyState) {
  HostStudyInterface& sc = call.sc;
  if (answer != DeliveredAnswer::History) return;
  const HostString& text = sc.httpResponseText;
  if (text.length != 0 && !isText(text, kTransferFailedText)) {
    // Whatever the reading, the history is done until the next full
    // recalculation: it is asked once, and the reader logs why it skipped one.
    static_cast<void>(readMajorsHistory(sc, hostStringText(text), call.additivePremium,
                                        call.multiplicativePremium));
  }
  historyState = kHistoryDone;
}

// True when this call is done with the profile (a request went out or the
// interval has not passed); false when a delivered answer may be waiting.
bool sendProfileWhenDue(const RequestDriverCall& call, int32_t historyState) {
  if (!call.inRequestWindow || historyState == kHistoryWaiting || call.requestsHalted != 0) {
    return false;
  }
  if (call.requestState == kRequestWaiting || supersededRequestOut(call, historyState)) return false;
  const int64_t interval =
      static_cast<int64_t>(call.requestIntervalSeconds) * kMicrosecondsPerSecond;
  // A clock that went back (a replay, the autumn clock change) counts as due:
  // otherwise requests would stop until it passed the old time again.
  const int64_t elapsed = elapsedMicroseconds(call.sc.currentDateTime, call.lastRequestTime);
  if (call.lastRequestTime != 0 && elapsed >= 0 && elapsed < interval) return true;
  call.requestState = kRequestDue;
  call.lastRequestTime = call.sc.currentDateTime;
  noteSent(call, sendProfileRequest(call.sc, call.requestUrl, call.apiKey, call.requestState));
  if (call.requestState == kRequestWaiting) call.awaitingFreshProfile = 0;
  return true;
}

void handleProfileAnswer(const RequestDriverCall& call, DeliveredAnswer answer,
                         const Snapshots& snapshots) {
  HostStudyInterface& sc = call.sc;
  HostCalls host(sc);
  if (answer != DeliveredAnswer::Profile) return;
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

  const tarvio::ReadOutcome result =
      call.isGreekProfile == 0 ? parse_gex_profile(sc, hostStringText(text), &snapshots.gex)
                               : parse_greek_profile(sc, hostStringText(text), &snapshots.greek);
  switch (result) {
    case tarvio::ReadOutcome::Halt:
      removeAllStudyDrawings(sc);
      call.requestsHalted = 1;
      break;
    case tarvio::ReadOutcome::Retry:
      removeAllStudyDrawings(sc);
      // The last good snapshot stays on the chart until a new one arrives.
      if (selectedSnapshotHasStrikes(call, snapshots)) drawLevels(call, snapshots);
      break;
    case tarvio::ReadOutcome::Parsed:
      host.setPersistentInt(kProfileReadyKey, 1);
      sc.updateStartIndex = 0;
      drawLevels(call, snapshots);
      break;
  }
}

}  // namespace

void driveRequests(const RequestDriverCall& call) {
  HostStudyInterface& sc = call.sc;
  HostCalls host(sc);
  const Snapshots snapshots = ensureSnapshots(call);
  int32_t& historyState = host.persistentInt(kHistoryRequestStateKey);

  if (sc.isFullRecalculation != 0) {
    call.dayResetArmed = 0;
    call.requestState = kRequestDue;
    historyState = kHistoryWanted;
  }

  const DeliveredAnswer answer = matchDeliveredAnswer(call, historyState);
  sendHistoryWhenWanted(call, historyState);
  collectHistory(call, answer, historyState);

  runFuturesConversionSchedule(sc, hostStringText(call.ticker), hostStringText(call.futuresTarget),
                               hostStringText(call.apiKey));

  if (sendProfileWhenDue(call, historyState)) return;
  handleProfileAnswer(call, answer, snapshots);
}

}  // namespace tarvio
