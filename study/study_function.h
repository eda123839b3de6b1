// The study function: what the host runs for each study instance on the
// set-defaults pass, on every chart update and on the instance's last call.
// All state that outlives a call is kept in the host's persistent stores.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

// The values one ordinary call reads and normalises from the inputs. They
// live for the call only; texts are released by releaseOrdinaryCallValues.
struct OrdinaryCallValues {
  HostString ticker;
  HostString futuresTarget;
  HostString apiKey;
  HostString requestUrl;
  float additivePremium;
  float multiplicativePremium;
  int32_t isGreekProfile;
  int32_t requestIntervalSeconds;
  bool inRequestWindow;
  int32_t nextDrawingKey;
};

void releaseOrdinaryCallValues(OrdinaryCallValues& values);

// One call of the study function.
void runStudyFunction(HostStudyInterface& sc);

// The declarations of the set-defaults pass.
void declareStudy(HostStudyInterface& sc);

// The ordinary call up to the hand-over to the request driver: normalises
// the configuration, keeps the instance's state, checks the configuration and
// carries the outputs forward. Fills `values` for the hand-over.
void prepareOrdinaryCall(HostStudyInterface& sc, OrdinaryCallValues& values);

// Step 14 of the ordinary call: the request driver gets the call's values and
// the instance's state.
void handOverToRequestDriver(HostStudyInterface& sc, OrdinaryCallValues& values);

// The instance goes away: its drawings are removed and both profiles released.
void endStudyInstance(HostStudyInterface& sc);

}  // namespace tarvio
