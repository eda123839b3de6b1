#include "study/configuration_checks.h"

#include "study/greek_input.h"
#include "study/input_readers.h"
#include "study/loggable_text.h"
#include "study/study_inputs.h"
#include "study/study_log.h"
#include "study/symbol_text.h"

namespace tarvio {

namespace {

constexpr int32_t kClassicPackage = 0;
constexpr int32_t kStatePackage = 1;

constexpr const char* kSymbolRule = "use only letters, digits and _ . - ^";

void haltForSymbol(HostStudyInterface& sc, const char* input, const char* symbol,
                   int32_t& requestsHalted) {
  logMessage(sc, kLogAlert, "Tarvio: the %s \"%s\" cannot go into a request: %s. Halting requests.",
             input, loggableText(symbol).c_str(), kSymbolRule);
  requestsHalted = 1;
}

void checkRequestTexts(HostStudyInterface& sc, const RequestTexts& texts, int32_t& requestsHalted) {
  if (requestsHalted != 1 && !symbolFitsRequest(texts.ticker)) {
    haltForSymbol(sc, "Ticker", texts.ticker, requestsHalted);
  }
  if (requestsHalted != 1 && !symbolFitsRequest(texts.futuresTarget)) {
    haltForSymbol(sc, "Futures Target", texts.futuresTarget, requestsHalted);
  }
  // The key itself is never written to the log.
  if (requestsHalted != 1 && !apiKeyFitsRequest(texts.apiKey)) {
    logMessage(sc, kLogAlert, "%s",
               "Tarvio: the API KEY holds a control character (such as a line break) and cannot "
               "go into a request: type it again. Halting requests.");
    requestsHalted = 1;
  }
}

}  // namespace

bool requestTextsFit(const RequestTexts& texts) {
  return symbolFitsRequest(texts.ticker) && symbolFitsRequest(texts.futuresTarget) &&
         apiKeyFitsRequest(texts.apiKey);
}

void runConfigurationChecks(HostStudyInterface& sc, const RequestTexts& texts,
                            int32_t& requestsHalted) {
  const int32_t package = readIndex(inputAt(sc, kPackageInput));
  const tarvio::GreekOption& greek = tarvio::greekOption(readIndex(inputAt(sc, kGreekInput)));
  const int32_t display = readIndex(inputAt(sc, kGexDisplayInput));

  if (requestsHalted != 1 && package == kStatePackage && !greek.stateServesOpenInterest &&
      (display == 1 || display == 2)) {
    logMessage(sc, kLogAlert, "%s",
               "No State GEX OI Data, halting requests. Choose GEX Volume or Gamma/Delta");
    requestsHalted = 1;
  }
  if (requestsHalted != 1 && package == kClassicPackage && greek.needsStatePackage) {
    logMessage(sc, kLogAlert, "%s",
               "Tarvio: Gamma/Delta requires the State package. Change Package to 'State'.");
    requestsHalted = 1;
  }
  checkRequestTexts(sc, texts, requestsHalted);
}

}  // namespace tarvio
