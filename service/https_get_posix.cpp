// The HTTPS GET through libcurl. The steps and failure texts follow the
// Windows client so that both platforms report alike; the number in a failure
// text is libcurl's result code (CURLcode) of the step that failed.
//
// libcurl has no separate name-resolution, send and receive timeouts, so the
// four 5 s bounds become: 5 s to resolve and connect (TLS included), a
// transfer that stalls for 5 s is given up, and the whole request never takes
// longer than the four bounds together.
#include <curl/curl.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "service/https_get.h"

namespace tarvio {

namespace {

// A body beyond this is not collected further, as if reading had stopped.
constexpr size_t kMaxBodyBytes = 16u * 1024u * 1024u;

struct Transfer {
  std::string body;
  bool headersReceived = false;
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const size_t room = kMaxBodyBytes - transfer->body.size();
  transfer->body.append(data, bytes < room ? bytes : room);
  // Returning fewer bytes than offered stops the transfer.
  return bytes <= room ? bytes : 0;
}

// The blank line closing the response headers; from then on a failure is a
// failure to read the body, not to get a response.
size_t noteHeader(char* data, size_t size, size_t count, void* user) {
  const size_t bytes = size * count;
  if (bytes == 2 && data[0] == '\r' && data[1] == '\n') {
    static_cast<Transfer*>(user)->headersReceived = true;
  }
  return bytes;
}

void failStep(DirectHttpResult& result, const char* step, CURLcode code) {
  formatHostString(result.errorText, "%s failed (GetLastError=%lu)", step,
                   static_cast<unsigned long>(code));
}

// The CR LF separated header block as libcurl's list of lines.
curl_slist* headerLines(const char* block, bool& ok) {
  curl_slist* lines = nullptr;
  ok = true;
  const char* cursor = block != nullptr ? block : "";
  while (*cursor != '\0') {
    const char* end = std::strstr(cursor, "\r\n");
    const size_t length = end != nullptr ? static_cast<size_t>(end - cursor) : std::strlen(cursor);
    if (length > 0) {
      curl_slist* grown = curl_slist_append(lines, std::string(cursor, length).c_str());
      if (grown == nullptr) {
        ok = false;
        break;
      }
      lines = grown;
    }
    cursor += length + (end != nullptr ? 2 : 0);
  }
  return lines;
}

// Test builds may send the request to a loopback stand-in of the service and
// trust its certificate; TLS verification stays on either way.
CURLcode applyTestRoute(CURL* curl, const HttpsGetRequest& request, curl_slist*& connectTo) {
#ifdef TARVIO_DIRECT_TEST_ROUTE
  if (const char* address = std::getenv("TARVIO_TEST_CONNECT_TO")) {
    const std::string entry =
        std::string(request.host) + ":" + std::to_string(request.port) + ":" + address;
    connectTo = curl_slist_append(nullptr, entry.c_str());
    const CURLcode code = curl_easy_setopt(curl, CURLOPT_CONNECT_TO, connectTo);
    if (code != CURLE_OK) return code;
  }
  if (const char* caFile = std::getenv("TARVIO_TEST_CA_FILE")) {
    return curl_easy_setopt(curl, CURLOPT_CAINFO, caFile);
  }
#else
  (void)curl;
  (void)request;
  (void)connectTo;
#endif
  return CURLE_OK;
}

// The user agent, and the timeouts that bound each step and the whole
// request; libcurl never raises a signal for them.
void setAgentAndTimeouts(CURL* curl, const HttpsGetRequest& request) {
  const long stepTimeoutMs = kHttpsStepTimeoutMs;
  curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, stepTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(kHttpsStepTimeoutMs / 1000));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 4 * stepTimeoutMs);
}

}  // namespace

void performHttpsGet(const HttpsGetRequest& request, DirectHttpResult& result) {
  // The host may already be inside libcurl on threads of its own when the
  // module first gets here. A libcurl that reports CURL_VERSION_THREADSAFE
  // (7.84 and later) guards its global initialisation itself, so this is safe
  // at any time; the host's tests fail against a libcurl that does not. The
  // once-flag only saves the repeated calls.
  static std::once_flag globalInit;
  std::call_once(globalInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    failStep(result, "WinHttpOpen", CURLE_FAILED_INIT);
    return;
  }
  Transfer transfer;
  curl_slist* connectTo = nullptr;
  curl_slist* headers = nullptr;
  setAgentAndTimeouts(curl, request);

  const std::string url = std::string("https://") + request.host + ":" +
                          std::to_string(request.port) + request.pathAndQuery;
  CURLcode code = curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (code == CURLE_OK) code = curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
  if (code == CURLE_OK) code = applyTestRoute(curl, request, connectTo);
  if (code != CURLE_OK) {
    failStep(result, "WinHttpConnect", code);
  } else {
    bool headersOk = true;
    headers = headerLines(request.headerBlock, headersOk);
    code = headersOk ? curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L) : CURLE_OUT_OF_MEMORY;
    if (code == CURLE_OK) code = curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    if (code != CURLE_OK) {
      failStep(result, "WinHttpOpenRequest", code);
    } else {
      curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
      curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
      curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, noteHeader);
      curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
      code = curl_easy_perform(curl);
      // A transfer cut short after the response headers keeps what was read.
      if (code != CURLE_OK && !transfer.headersReceived) {
        failStep(result, "WinHttpSendRequest/ReceiveResponse", code);
      } else {
        long status = 0;
        if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status > 0) {
          result.statusCode = static_cast<uint32_t>(status);
        }
        // Taken as a C string: a zero byte ends the body.
        assignHostString(result.body, transfer.body.c_str());
        result.completed = true;
      }
    }
  }
  curl_slist_free_all(headers);
  curl_slist_free_all(connectTo);
  curl_easy_cleanup(curl);
}

}  // namespace tarvio
