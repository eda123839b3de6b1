// The HTTPS GET through WinHTTP, synchronous: open, four 5 s timeouts,
// connect, open the request with TLS, send with the header block, receive,
// read the status as a number, collect the body, close every handle. A failed
// step is named in the error text with the number GetLastError gives for it.
#include <windows.h>
#include <winhttp.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "service/https_get.h"

namespace tarvio {

namespace {

// A body beyond this is not collected further, as if reading had stopped.
constexpr size_t kMaxBodyBytes = 16u * 1024u * 1024u;

constexpr DWORD kStatusCodeAsNumber = WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER;

// UTF-8 to UTF-16 for the WinHTTP calls; empty when the text is empty or not
// convertible.
std::wstring utf8ToWide(const char* text) {
  if (text == nullptr || text[0] == '\0') return {};
  const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (units < 1) return {};
  std::wstring wide(static_cast<size_t>(units), L'\0');
  if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), units) < 1) return {};
  wide.resize(static_cast<size_t>(units) - 1);  // the terminator is not counted
  return wide;
}

void failStep(DirectHttpResult& result, const char* step) {
  const DWORD error = GetLastError();
  formatHostString(result.errorText, "%s failed (GetLastError=%lu)", step,
                   static_cast<unsigned long>(error));
}

// Where the request connects: the service's host and port, or in test builds
// a loopback stand-in named by TARVIO_TEST_CONNECT_TO ("NAME:PORT"). The name
// replaces the service's, so the stand-in's certificate must be made out to
// it and trusted by the system; TLS verification stays on either way.
struct ConnectTarget {
  std::wstring host;
  INTERNET_PORT port;
};

ConnectTarget connectTarget(const HttpsGetRequest& request) {
  ConnectTarget target{utf8ToWide(request.host), request.port};
#ifdef TARVIO_DIRECT_TEST_ROUTE
  if (const char* route = std::getenv("TARVIO_TEST_CONNECT_TO")) {
    const std::string text(route);
    const size_t colon = text.rfind(':');
    const long port = colon == std::string::npos ? 0 : std::strtol(text.c_str() + colon + 1, nullptr, 10);
    // A route without a usable port leaves no host to connect to.
    target.host = port > 0 && port <= 65535 ? utf8ToWide(text.substr(0, colon).c_str()) : L"";
    target.port = static_cast<INTERNET_PORT>(port > 0 && port <= 65535 ? port : 0);
  }
#endif
  return target;
}

// Appends every byte the response still holds to `body`, up to the cap; a
// failed question or read ends the body where it is.
void collectBody(HINTERNET request, std::string& body) {
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available) || available == 0) return;
    const size_t room = kMaxBodyBytes - body.size();
    if (room == 0) return;
    std::vector<char> buffer(available < room ? available : room, '\0');
    DWORD delivered = 0;
    if (!WinHttpReadData(request, buffer.data(), static_cast<DWORD>(buffer.size()), &delivered) ||
        delivered == 0) {
      return;
    }
    body.append(buffer.data(), delivered);
  }
}

// The answer's status and body into the result: a request that got this far
// has completed, whatever its status.
void takeResponse(HINTERNET request, DirectHttpResult& result) {
  DWORD status = 0;
  DWORD statusSize = sizeof status;
  if (WinHttpQueryHeaders(request, kStatusCodeAsNumber, WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                          WINHTTP_NO_HEADER_INDEX)) {
    result.statusCode = status;
  }
  std::string body;
  collectBody(request, body);
  // Taken as a C string: a zero byte ends the body.
  assignHostString(result.body, body.c_str());
  result.completed = true;
}

}  // namespace

void performHttpsGet(const HttpsGetRequest& request, DirectHttpResult& result) {
  const std::wstring userAgent = utf8ToWide(request.userAgent);
  HINTERNET root = WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                  WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (root == nullptr) {
    failStep(result, "WinHttpOpen");
    return;
  }
  const int stepTimeoutMs = static_cast<int>(kHttpsStepTimeoutMs);
  WinHttpSetTimeouts(root, stepTimeoutMs, stepTimeoutMs, stepTimeoutMs, stepTimeoutMs);

  const ConnectTarget target = connectTarget(request);
  HINTERNET connection = nullptr;
  if (target.host.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
  } else {
    connection = WinHttpConnect(root, target.host.c_str(), target.port, 0);
  }
  if (connection == nullptr) {
    failStep(result, "WinHttpConnect");
    WinHttpCloseHandle(root);
    return;
  }

  const std::wstring pathAndQuery = utf8ToWide(request.pathAndQuery);
  HINTERNET httpRequest =
      WinHttpOpenRequest(connection, L"GET", pathAndQuery.c_str(), nullptr, WINHTTP_NO_REFERER,
                         WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
  if (httpRequest == nullptr) {
    failStep(result, "WinHttpOpenRequest");
    WinHttpCloseHandle(connection);
    WinHttpCloseHandle(root);
    return;
  }

  const std::wstring headers = utf8ToWide(request.headerBlock);
  // The connection is only attempted here, so an unreachable host fails this step.
  if (!WinHttpSendRequest(httpRequest, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                          static_cast<DWORD>(headers.size()), WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(httpRequest, nullptr)) {
    failStep(result, "WinHttpSendRequest/ReceiveResponse");
    WinHttpCloseHandle(httpRequest);
    WinHttpCloseHandle(connection);
    WinHttpCloseHandle(root);
    return;
  }

  takeResponse(httpRequest, result);
  WinHttpCloseHandle(httpRequest);
  WinHttpCloseHandle(connection);
  WinHttpCloseHandle(root);
}

}  // namespace tarvio
