#include "service/service_requests.h"

#include "service/header_list.h"
#include "service/service_endpoint.h"
#include "study/host_calls.h"
#include "study/instance_state.h"
#include "study/scoped_release.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

// Records in `state` whether the host took the request, logging a refusal,
// and passes the host's id on.
int32_t noteHostTook(HostStudyInterface& sc, int32_t requestId, int32_t& state, int32_t accepted,
                     int32_t refused, const char* refusal) {
  state = requestId != 0 ? accepted : refused;
  if (requestId == 0) logMessage(sc, kLogAlert, "%s", refusal);
  return requestId;
}

}  // namespace

int32_t sendProfileRequest(HostStudyInterface& sc, const HostString& requestUrl,
                           const HostString& apiKey, int32_t& requestState) {
  HostCalls host(sc);
  HeaderList headers;
  headers.addFormatted("User-Agent", "Sierra Chart %d", sc.hostVersion);
  headers.add(kPluginVersionHeader, kPluginVersion);
  headers.addFormatted("Authorization", "Basic %s", hostStringText(apiKey));
  headers.add("Accept", kJsonMediaType);

  const HostString noBody{};
  const int32_t requestId =
      host.makeHttpRequest(requestUrl, noBody, headers.data(), headers.count());
  return noteHostTook(sc, requestId, requestState, kRequestWaiting, kRequestRefused,
                      "Error making HTTP Request.");
}

int32_t sendMajorsHistoryRequest(HostStudyInterface& sc, const char* ticker,
                                 const HostString& apiKey, int64_t startUnixSeconds,
                                 int64_t endUnixSeconds, int32_t& historyRequestState) {
  HostCalls host(sc);
  HostString url{};
  const ScopedRelease releaseUrl(url);
  formatHostString(url, "%s/%s/classic/gex_full/majors/7", kHistoryBaseUrl,
                   ticker != nullptr ? ticker : "");
  HostString body{};
  const ScopedRelease releaseBody(body);
  formatHostString(body, "{\"start\": %lld, \"end\": %lld}",
                   static_cast<long long>(startUnixSeconds),
                   static_cast<long long>(endUnixSeconds));
  HeaderList headers;
  headers.addFormatted("Authorization", "Basic %s", hostStringText(apiKey));
  headers.add("Accept", kJsonMediaType);
  headers.add("Content-Type", kJsonMediaType);
  headers.add(kPluginVersionHeader, kPluginVersion);
  headers.addFormatted("User-Agent", "Sierra Chart %d (Hist)", sc.hostVersion);

  const int32_t requestId = host.makeHttpRequest(url, body, headers.data(), headers.count());
  return noteHostTook(sc, requestId, historyRequestState, kHistoryWaiting, kHistoryDone,
                      "Tarvio: Error sending Majors history request.");
}

}  // namespace tarvio
