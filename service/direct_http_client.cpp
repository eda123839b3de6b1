#include "service/direct_http_client.h"

#include "service/futures_request.h"
#include "service/https_get.h"
#include "service/service_endpoint.h"
#include "study/scoped_release.h"

namespace tarvio {

void releaseDirectHttpResult(DirectHttpResult& result) {
  releaseHostString(result.body);
  releaseHostString(result.errorText);
  result.completed = false;
  result.statusCode = 0;
}

DirectHttpResult fetchFuturesConversion(const char* ticker, const char* futuresTarget,
                                        const char* apiKey) {
  DirectHttpResult result{};
  HostString pathAndQuery{};
  const ScopedRelease releasePath(pathAndQuery);
  formatFuturesPathAndQuery(pathAndQuery, ticker, futuresTarget);
  HostString headerBlock{};
  const ScopedRelease releaseHeaders(headerBlock);
  formatFuturesHeaderBlock(headerBlock, apiKey);

  const HttpsGetRequest request{kServiceApiHost, kServicePort, hostStringText(pathAndQuery),
                                hostStringText(headerBlock), kDirectUserAgent};
  performHttpsGet(request, result);

  return result;
}

}  // namespace tarvio
