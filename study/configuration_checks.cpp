#include "study/configuration_checks.h"

#include "study/input_readers.h"
#include "study/study_inputs.h"
#include "study/study_log.h"

namespace {

constexpr int32_t kClassicPackage = 0;
constexpr int32_t kStatePackage = 1;
constexpr int32_t kFirstGreekKind = 3;  // gamma and delta kinds start here

}  // namespace

void runConfigurationChecks(HostStudyInterface& sc, int32_t& requestsHalted) {
  const int32_t package = readIndex(inputAt(sc, kPackageInput));
  const int32_t greek = readIndex(inputAt(sc, kGreekInput));
  const int32_t display = readIndex(inputAt(sc, kGexDisplayInput));

  if (requestsHalted != 1 && package == kStatePackage && (greek == 0 || greek == 1) &&
      (display == 1 || display == 2)) {
    logMessage(sc, kLogAlert, "%s",
               "No State GEX OI Data, halting requests. Choose GEX Volume or Gamma/Delta");
    requestsHalted = 1;
  }
  if (requestsHalted != 1 && package == kClassicPackage && greek >= kFirstGreekKind) {
    logMessage(sc, kLogAlert, "%s",
               "Tarvio: Gamma/Delta requires the State package. Change Package to 'State'.");
    requestsHalted = 1;
  }
}
