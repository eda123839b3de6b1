// The study function: what the host runs for each study instance on the
// set-defaults pass, on every chart update and on the instance's last call.
// All state that outlives a call is kept in the host's persistent stores.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

// The values one ordinary call reads and normalises from the inputs. They
// live for the call only and own their texts: whichever way the call ends,
// they are released with the values.
struct OrdinaryCallValues {
  OrdinaryCallValues() = default;
  OrdinaryCallValues(OrdinaryCallValues&& other) noexcept;
  OrdinaryCallValues& operator=(OrdinaryCallValues&& other) noexcept;
  ~OrdinaryCallValues();

  HostString ticker{};
  HostString futuresTarget{};
  HostString apiKey{};
  HostString requestUrl{};
  float additivePremium = 0.0f;
  float multiplicativePremium = 0.0f;
  int32_t isGreekProfile = 0;
  int32_t requestIntervalSeconds = 0;
  bool inRequestWindow = false;
  int32_t nextDrawingKey = 0;
};

// One call of the study function, as the host makes it. Nothing is thrown
// out of it: an exception from inside (a failed allocation, or a host
// operation that threw) ends the call with an alert line in the log, and
// what the call held is released.
void runStudyFunction(HostStudyInterface& sc) noexcept;

// The declarations of the set-defaults pass.
void declareStudy(HostStudyInterface& sc);

// The ordinary call up to the hand-over to the request driver: normalises
// the configuration, keeps the instance's state, checks the configuration and
// carries the outputs forward. Fills `values` for the hand-over.
void prepareOrdinaryCall(HostStudyInterface& sc, OrdinaryCallValues& values);

// The end of the ordinary call: the request driver gets the call's values and
// the instance's state, and sends, reads and draws from them.
void handOverToRequestDriver(HostStudyInterface& sc, OrdinaryCallValues& values);

// The instance goes away: its drawings are removed and both profiles released.
void endStudyInstance(HostStudyInterface& sc);

}  // namespace tarvio
