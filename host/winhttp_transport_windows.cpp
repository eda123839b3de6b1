#include "host/winhttp_transport.h"

#include <windows.h>
#include <winhttp.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "host/header_line.h"
#include "host/transfer_queue.h"

namespace chart_host {

namespace {

std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (units < 1) return {};
  std::wstring result(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), units);
  return result;
}

// Closes a WinHTTP handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr) WinHttpCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

// Failures that mean the service was never reached, whatever step they come
// from: WinHTTP may resolve, connect and shake hands again for a request it
// sends once more on a fresh connection.
bool neverReached(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED:
      return true;
    default:
      return false;
  }
}

// A failed transfer with its reason for the host's messages: the step, and
// WinHTTP's error number when a WinHTTP call failed (read before anything
// else can overwrite it). Until the request is sent nothing of the service
// was seen; after that, the service was reached and its answer cut short.
HttpOutcome failed(const char* step, bool winHttpError = true, bool requestSent = false) {
  const DWORD error = winHttpError ? GetLastError() : 0;
  HttpOutcome outcome;
  outcome.error = step;
  if (winHttpError) outcome.error += " failed (WinHTTP error " + std::to_string(error) + ")";
  outcome.failure = requestSent && !neverReached(error) ? TransferFailure::AnswerCutShort
                                                        : TransferFailure::ServiceNotReached;
  return outcome;
}

// A failure once the request went out.
HttpOutcome cutShort(const char* step, bool winHttpError = true) { return failed(step, winHttpError, true); }

// Whether the body is shorter than the answer's Content-Length said. A
// connection closed mid-body can end the reads without an error (Wine's
// WinHTTP does), which would hand the study half an answer as if whole.
bool shorterThanAnnounced(HINTERNET request, size_t bodyBytes) {
  DWORD announced = 0;
  DWORD size = sizeof announced;
  return WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX) &&
         bodyBytes < announced;
}

// The request's headers in its order as one block of CR LF ended lines.
std::string headerBlock(const HttpRequest& request) {
  std::string block;
  for (const auto& [name, value] : request.headers) block += name + ": " + value + "\r\n";
  return block;
}

struct Target {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring pathAndQuery;
};

// The https URL's host, port and path with query; false for anything else.
bool crackUrl(const std::string& url, const std::string& connectTo, Target& target) {
  const std::wstring wideUrl = wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (wideUrl.empty() || !WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts) ||
      parts.nScheme != INTERNET_SCHEME_HTTPS || parts.dwHostNameLength == 0) {
    return false;
  }
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.port = parts.nPort;
  target.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  target.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.pathAndQuery.empty()) target.pathAndQuery = L"/";
  if (!connectTo.empty()) {
    const size_t colon = connectTo.rfind(':');
    const long port = colon == std::string::npos ? 0 : std::strtol(connectTo.c_str() + colon + 1, nullptr, 10);
    if (port <= 0 || port > 65535) return false;
    target.host = wide(connectTo.substr(0, colon));
    target.port = static_cast<INTERNET_PORT>(port);
  }
  return !target.host.empty();
}

}  // namespace

template <>
struct WinHttpTransport::Worker {
  struct Pending {
    HttpRequest request;
    Completion done;
  };

  WinHttpTransportOptions options;
  HINTERNET root = nullptr;
  TransferQueue<Pending> queue;
  std::thread thread;

  explicit Worker(WinHttpTransportOptions chosen) : options(std::move(chosen)) {
    const WinHttpTransportOptions defaults;
    if (options.connectTimeoutMs < 1) options.connectTimeoutMs = defaults.connectTimeoutMs;
    if (options.receiveTimeoutMs < 1) options.receiveTimeoutMs = defaults.receiveTimeoutMs;
    const std::wstring agent = wide(options.userAgent);
    root = WinHttpOpen(agent.empty() ? nullptr : agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                          WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (root == nullptr) return;
    const int connectMs = static_cast<int>(options.connectTimeoutMs);
    const int receiveMs = static_cast<int>(options.receiveTimeoutMs);
    WinHttpSetTimeouts(root, connectMs, connectMs, receiveMs, receiveMs);
    thread = std::thread([this] { run(); });
  }

  ~Worker() {
    if (thread.joinable()) {
      queue.close();
      thread.join();
    }
    if (root != nullptr) WinHttpCloseHandle(root);
  }

  void run() {
    while (std::optional<Pending> next = queue.waitForNext()) {
      completeQuietly(next->done, perform(next->request));
    }
    for (Pending& left : queue.takeAll().transfers) {
      completeQuietly(left.done, failed("the transport was stopped", false));
    }
  }

  HttpOutcome perform(const HttpRequest& request) const {
    Target target;
    if (!crackUrl(request.url, options.connectTo, target)) return failed("not an https URL", false);
    if (!headersFitTheirLines(request.headers)) return failed("a header would break its line", false);
    const std::wstring wideHeaders = wide(headerBlock(request));

    Handle connection(WinHttpConnect(root, target.host.c_str(), target.port, 0));
    if (connection.get() == nullptr) return failed("WinHttpConnect");
    const wchar_t* verb = request.body.empty() ? L"GET" : L"POST";
    Handle transfer(WinHttpOpenRequest(connection.get(), verb, target.pathAndQuery.c_str(), nullptr,
                                       WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                       WINHTTP_FLAG_SECURE));
    if (transfer.get() == nullptr) return failed("WinHttpOpenRequest");
    const DWORD bodySize = static_cast<DWORD>(request.body.size());
    void* body = request.body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(request.body.data());
    if (!WinHttpSendRequest(transfer.get(),
                            wideHeaders.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : wideHeaders.c_str(),
                            static_cast<DWORD>(wideHeaders.size()), body, bodySize, bodySize, 0)) {
      return failed("WinHttpSendRequest");
    }
    if (!WinHttpReceiveResponse(transfer.get(), nullptr)) return cutShort("WinHttpReceiveResponse");

    HttpOutcome outcome;
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    if (!WinHttpQueryHeaders(transfer.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX)) {
      return cutShort("WinHttpQueryHeaders");
    }
    outcome.status = static_cast<long>(status);
    for (;;) {
      DWORD available = 0;
      if (!WinHttpQueryDataAvailable(transfer.get(), &available)) return cutShort("WinHttpQueryDataAvailable");
      if (available == 0) break;
      if (available > options.maxBodyBytes - outcome.body.size()) return cutShort("the body is too long", false);
      const size_t had = outcome.body.size();
      outcome.body.resize(had + available);
      DWORD read = 0;
      if (!WinHttpReadData(transfer.get(), outcome.body.data() + had, available, &read)) {
        return cutShort("WinHttpReadData");
      }
      outcome.body.resize(had + read);
      if (read == 0) break;
    }
    if (shorterThanAnnounced(transfer.get(), outcome.body.size())) {
      return cutShort("the answer ended before its Content-Length", false);
    }
    outcome.delivered = true;
    return outcome;
  }
};

template <>
WinHttpTransport::HttpsTransport(WinHttpTransportOptions options)
    : worker_(std::make_unique<Worker>(std::move(options))) {}

template <>
WinHttpTransport::~HttpsTransport() = default;

template <>
bool WinHttpTransport::start(const HttpRequest& request, Completion done) {
  Worker& worker = *worker_;
  return worker.root != nullptr && worker.queue.put(Worker::Pending{request, std::move(done)});
}

}  // namespace chart_host
