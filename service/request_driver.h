// The request driver: on every ordinary call it decides which of the three
// service requests goes out (majors history, futures conversion, profile),
// recognises the answer the host delivers for an outstanding request, hands
// it to the right reader and the parsed snapshot on to the level drawing.
// It keeps nothing of its own: all state lives in the host's persistent
// stores. Of the two requests sent through the host, at most one is
// outstanding at a time.
#pragma once

#include <cstdint>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "study/host_interface.h"

namespace tarvio {

// What the study function hands over on each ordinary call.
struct RequestDriverCall {
  HostStudyInterface& sc;
  const HostString& requestUrl;
  const HostString& apiKey;
  const HostString& ticker;
  const HostString& futuresTarget;  // empty: no futures conversion
  int32_t requestIntervalSeconds;
  float additivePremium;
  float multiplicativePremium;
  int32_t& nextDrawingKey;
  int32_t isGreekProfile;
  GexProfile* gex;      // absent until the first call creates it
  GreekProfile* greek;  // likewise
  int32_t& requestState;
  HostDateTime& lastRequestTime;
  int32_t& dayResetArmed;
  bool inRequestWindow;
  int32_t& awaitingFreshProfile;
  int32_t& requestsHalted;
};

void driveRequests(const RequestDriverCall& call);

}  // namespace tarvio
