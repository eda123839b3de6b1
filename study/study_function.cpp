#include "study/study_function.h"

#include <cmath>
#include <exception>
#include <utility>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "render/profile_graphics.h"
#include "service/request_driver.h"
#include "study/carry_forward.h"
#include "study/configuration_checks.h"
#include "study/drawing_cleanup.h"
#include "study/host_calls.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/loggable_text.h"
#include "study/profile_selection.h"
#include "study/request_window.h"
#include "study/study_inputs.h"
#include "study/study_log.h"
#include "study/symbol_text.h"

namespace tarvio {

namespace {

// The texts the values own, released with them.
constexpr HostString OrdinaryCallValues::* kOwnedTexts[] = {
    &OrdinaryCallValues::ticker, &OrdinaryCallValues::futuresTarget, &OrdinaryCallValues::apiKey,
    &OrdinaryCallValues::requestUrl};

// Steps every call takes before it knows whether the instance goes away:
// normalised ticker, premiums (a multiplier that is not positive is corrected
// in the settings too) and futures target.
void readConfiguration(HostStudyInterface& sc, OrdinaryCallValues& values) {
  normaliseSymbolText(values.ticker, readText(inputAt(sc, kTickerInput)), "SPX");

  values.additivePremium = readFloat(inputAt(sc, kAdditivePremiumInput));
  HostInput& multiplier = inputAt(sc, kMultiplicativePremiumInput);
  values.multiplicativePremium = readFloat(multiplier);
  // A multiplier of 0 or less, or one that is not a number at all, would put
  // every level at a meaningless price: the settings are corrected to 1.0.
  if (!(values.multiplicativePremium > 0.0f) || !std::isfinite(values.multiplicativePremium)) {
    multiplier.kind = kInputFloat;
    multiplier.floatValue = 1.0f;
    values.multiplicativePremium = 1.0f;
  }

  // The target input is declared without text, and "blank disables" the
  // conversion: read as "Unset" it would send a request for a contract named
  // UNSET on every chart that never asked for one.
  const HostInput& target = inputAt(sc, kFuturesTargetInput);
  const bool holdsText = target.kind == kInputText && target.textValue.text != nullptr;
  normaliseSymbolText(values.futuresTarget, holdsText ? readText(target) : "", nullptr);
}

RequestTexts requestTextsOf(const OrdinaryCallValues& values) {
  return RequestTexts{hostStringText(values.ticker), hostStringText(values.futuresTarget),
                      hostStringText(values.apiKey)};
}

void resetForFullRecalculation(HostStudyInterface& sc) {
  HostCalls host(sc);
  host.setPersistentInt(kRequestStateKey, kRequestDue);
  host.setPersistentInt(kDayResetArmedKey, 0);
  // A recalculation lifts a halt, so a corrected configuration resumes requests.
  host.setPersistentInt(kRequestsHaltedKey, 0);
  sweepStudyDrawings(sc);
}

void runOneCall(HostStudyInterface& sc) {
  if (sc.isSetDefaultsPass != 0) {
    declareStudy(sc);
    return;
  }
  OrdinaryCallValues values;
  if (sc.isLastCall != 0 || sc.isBeingRemoved != 0) {
    readConfiguration(sc, values);
    endStudyInstance(sc);
  } else {
    prepareOrdinaryCall(sc, values);
    handOverToRequestDriver(sc, values);
  }
}

// The call is over; the next one starts afresh from the persistent stores. A
// log operation that throws as well leaves nothing more to report to.
void logInternalError(HostStudyInterface& sc, const char* what) noexcept {
  try {
    logMessage(sc, kLogAlert, "Tarvio: internal error: %s", loggableText(what).c_str());
  } catch (...) {
  }
}

}  // namespace

OrdinaryCallValues::OrdinaryCallValues(OrdinaryCallValues&& other) noexcept { *this = std::move(other); }

OrdinaryCallValues& OrdinaryCallValues::operator=(OrdinaryCallValues&& other) noexcept {
  if (this == &other) return *this;
  for (HostString OrdinaryCallValues::* text : kOwnedTexts) {
    releaseHostString(this->*text);
    this->*text = std::exchange(other.*text, HostString{});
  }
  additivePremium = other.additivePremium;
  multiplicativePremium = other.multiplicativePremium;
  isGreekProfile = other.isGreekProfile;
  requestIntervalSeconds = other.requestIntervalSeconds;
  inRequestWindow = other.inRequestWindow;
  nextDrawingKey = other.nextDrawingKey;
  return *this;
}

OrdinaryCallValues::~OrdinaryCallValues() {
  for (HostString OrdinaryCallValues::* text : kOwnedTexts) releaseHostString(this->*text);
}

void declareStudy(HostStudyInterface& sc) {
  assignHostString(sc.studyName, "Gex Profile");
  sc.graphRegion = 0;
  sc.loopPerBar = 0;
  sc.updateEveryTick = 1;
  declareInputs(sc);
  declareSubgraphs(sc);
}

void prepareOrdinaryCall(HostStudyInterface& sc, OrdinaryCallValues& values) {
  HostCalls host(sc);
  readConfiguration(sc, values);
  if (sc.isFullRecalculation != 0) resetForFullRecalculation(sc);

  const ProfileSelection selection =
      selectProfile(readIndex(inputAt(sc, kPackageInput)), readIndex(inputAt(sc, kGreekInput)));
  buildProfileUrl(values.requestUrl, hostStringText(values.ticker), selection);
  values.isGreekProfile = selection.isGreekProfile;
  values.nextDrawingKey = kFirstDrawingKey;

  // The key is sent exactly as typed.
  assignHostString(values.apiKey, readText(inputAt(sc, kApiKeyInput)));
  int32_t& requestsHalted = host.persistentInt(kRequestsHaltedKey);
  runConfigurationChecks(sc, requestTextsOf(values), requestsHalted);

  values.inRequestWindow = inRequestWindow(sc);
  sc.graphicsCallback = drawProfileGraphics;
  values.requestIntervalSeconds = readInteger(inputAt(sc, kRequestIntervalInput));

  if (sc.barCount > 1) carryForwardOutputs(sc, kSubgraphCount);
}

void endStudyInstance(HostStudyInterface& sc) {
  HostCalls host(sc);
  removeAllStudyDrawings(sc);
  host.setPersistentInt(kProfileReadyKey, 0);
  void*& gex = host.persistentPointer(kGexProfileKey);
  delete static_cast<GexProfile*>(gex);
  host.setPersistentPointer(kGexProfileKey, nullptr);
  void*& greek = host.persistentPointer(kGreekProfileKey);
  delete static_cast<GreekProfile*>(greek);
  host.setPersistentPointer(kGreekProfileKey, nullptr);
}

void handOverToRequestDriver(HostStudyInterface& sc, OrdinaryCallValues& values) {
  HostCalls host(sc);
  const RequestDriverCall call{
      sc,
      values.requestUrl,
      values.apiKey,
      values.ticker,
      values.futuresTarget,
      values.requestIntervalSeconds,
      values.additivePremium,
      values.multiplicativePremium,
      values.nextDrawingKey,
      values.isGreekProfile,
      static_cast<GexProfile*>(host.persistentPointer(kGexProfileKey)),
      static_cast<GreekProfile*>(host.persistentPointer(kGreekProfileKey)),
      host.persistentInt(kRequestStateKey),
      host.persistentInt64(kLastRequestTimeKey),
      host.persistentInt(kDayResetArmedKey),
      values.inRequestWindow,
      host.persistentInt(kAwaitingFreshProfileKey),
      host.persistentInt(kRequestsHaltedKey),
  };
  driveRequests(call);
}

void runStudyFunction(HostStudyInterface& sc) noexcept {
  try {
    runOneCall(sc);
  } catch (const std::exception& error) {
    logInternalError(sc, error.what());
  } catch (...) {
    logInternalError(sc, "unknown exception");
  }
}

}  // namespace tarvio
