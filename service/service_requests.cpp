#include "service/service_requests.h"

#include "service/header_list.h"
#include "service/service_endpoint.h"
#include "study/host_calls.h"
#include "study/instance_state.h"
#include "study/study_log.h"

namespace tarvio {

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
  if (requestId != 0) {
    requestState = kRequestWaiting;
  } else {
    logMessage(sc, kLogAlert, "Error making HTTP Request.");
    requestState = kRequestRefused;
  }
  return requestId;
}

int32_t sendMajorsHistoryRequest(HostStudyInterface& sc, const char* ticker,
                                 const HostString& apiKey, int64_t startUnixSeconds,
                                 int64_t endUnixSeconds, int32_t& historyRequestState) {
  HostCalls host(sc);
  HostString url{};
  formatHostString(url, "%s/%s/classic/gex_full/majors/7", kHistoryBaseUrl,
                   ticker != nullptr ? ticker : "");
  HostString body{};
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
  releaseHostString(url);
  releaseHostString(body);
  if (requestId != 0) {
    historyRequestState = kHistoryWaiting;
  } else {
    logMessage(sc, kLogAlert, "Tarvio: Error sending Majors history request.");
    historyRequestState = kHistoryDone;
  }
  return requestId;
}

}  // namespace tarvio
