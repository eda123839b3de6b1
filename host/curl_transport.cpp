#include "host/curl_transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>
#include <utility>

#include "host/header_line.h"
#include "host/transfer_queue.h"

namespace chart_host {

namespace {

// How long the worker sleeps when nothing happens; libcurl's own timers and
// curl_multi_wakeup cut it short.
constexpr int kIdlePollMs = 1000;

void initCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long positiveOr(long value, long fallback) { return value > 0 ? value : fallback; }

bool sameHeaderName(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool hasHeader(const HttpRequest& request, const char* name) {
  return std::any_of(request.headers.begin(), request.headers.end(),
                     [name](const auto& header) { return sameHeaderName(header.first, name); });
}

// Where a failed transfer broke off. libcurl stamps the moment a request is
// about to go out (pretransfer): on a fresh connection after its TLS
// handshake, on a reused one at once (its handshake time is then 0). A
// request that went out reached the service. Failures of the name, the
// connection and the certificate never get that far, whatever the timer says.
TransferFailure failureOf(CURL* easy, CURLcode result) {
  switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_BAD_FUNCTION_ARGUMENT:
      return TransferFailure::ServiceNotReached;
    default:
      break;
  }
  curl_off_t pretransfer_us = 0;
  const bool sent = curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer_us) == CURLE_OK &&
                    pretransfer_us > 0;
  return sent ? TransferFailure::AnswerCutShort : TransferFailure::ServiceNotReached;
}

struct Transfer {
  CURL* easy = nullptr;
  curl_slist* headers = nullptr;
  std::string body;
  std::size_t maxBodyBytes = 0;
  HttpTransport::Completion done;

  Transfer() = default;
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
  // The handle goes before the header list it still points to.
  ~Transfer() {
    curl_easy_cleanup(easy);
    curl_slist_free_all(headers);
  }

  void finish(CURLcode result) {
    HttpOutcome outcome;
    if (result == CURLE_OK) {
      outcome.delivered = true;
      curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &outcome.status);
      outcome.body = std::move(body);
    } else {
      outcome.error = curl_easy_strerror(result);
      outcome.failure = failureOf(easy, result);
    }
    completeQuietly(done, std::move(outcome));
  }
};

// Returning fewer bytes than offered ends the transfer as failed.
size_t collectBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (bytes > transfer->maxBodyBytes - transfer->body.size()) return 0;
  try {
    transfer->body.append(data, bytes);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return bytes;
}

// The request's headers in its order, "Name: value" ("Name;" sends an empty
// value). libcurl's own Expect and Accept are left out unless the request
// has them. False when a header cannot be sent as given or memory ran out.
bool buildHeaderLines(const HttpRequest& request, curl_slist*& lines) {
  if (!headersFitTheirLines(request.headers)) return false;
  std::vector<std::string> texts;
  for (const auto& [name, value] : request.headers) {
    texts.push_back(value.empty() ? name + ";" : name + ": " + value);
  }
  if (!hasHeader(request, "Expect")) texts.emplace_back("Expect:");
  if (!hasHeader(request, "Accept")) texts.emplace_back("Accept:");
  for (const std::string& text : texts) {
    curl_slist* grown = curl_slist_append(lines, text.c_str());
    if (grown == nullptr) return false;
    lines = grown;
  }
  return true;
}

}  // namespace

// The multi handle is used on the worker thread only; other threads reach it
// through `incoming` and curl_multi_wakeup, which is safe from any thread.
template <>
struct CurlTransport::Worker {
  CurlTransportOptions options;
  CURLM* multi = nullptr;
  curl_slist* connectTo = nullptr;

  TransferQueue<std::unique_ptr<Transfer>> incoming;

  std::unordered_map<CURL*, std::unique_ptr<Transfer>> running;  // worker thread only
  std::thread thread;

  explicit Worker(CurlTransportOptions chosen) : options(std::move(chosen)) {
    const CurlTransportOptions defaults;
    options.connectTimeoutMs = positiveOr(options.connectTimeoutMs, defaults.connectTimeoutMs);
    options.totalTimeoutMs = positiveOr(options.totalTimeoutMs, defaults.totalTimeoutMs);
    try {
      for (const std::string& entry : options.connectTo) {
        curl_slist* grown = curl_slist_append(connectTo, entry.c_str());
        if (grown == nullptr) throw std::bad_alloc();
        connectTo = grown;
      }
      multi = curl_multi_init();
      if (multi != nullptr) thread = std::thread([this] { run(); });
    } catch (...) {
      // The destructor does not run for a worker that was never made.
      curl_multi_cleanup(multi);
      curl_slist_free_all(connectTo);
      throw;
    }
  }

  ~Worker() {
    if (thread.joinable()) {
      incoming.close();
      curl_multi_wakeup(multi);
      thread.join();
    }
    curl_multi_cleanup(multi);
    curl_slist_free_all(connectTo);
  }

  bool configure(Transfer& transfer, const HttpRequest& request) const {
    CURL* easy = transfer.easy;
    transfer.maxBodyBytes = options.maxBodyBytes;
    if (!buildHeaderLines(request, transfer.headers)) return false;
    CURLcode code = curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    const auto set = [&](CURLoption option, auto value) {
      if (code == CURLE_OK) code = curl_easy_setopt(easy, option, value);
    };
    set(CURLOPT_PROTOCOLS_STR, "https");
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);
    set(CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    set(CURLOPT_TIMEOUT_MS, options.totalTimeoutMs);
    if (!options.caFile.empty()) set(CURLOPT_CAINFO, options.caFile.c_str());
    if (connectTo != nullptr) set(CURLOPT_CONNECT_TO, connectTo);
    if (!options.userAgent.empty()) set(CURLOPT_USERAGENT, options.userAgent.c_str());
    set(CURLOPT_HTTPHEADER, transfer.headers);
    set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBodyBytes));
    set(CURLOPT_WRITEFUNCTION, collectBody);
    set(CURLOPT_WRITEDATA, static_cast<void*>(&transfer));
    if (request.body.empty()) {
      set(CURLOPT_HTTPGET, 1L);
    } else {
      set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
      set(CURLOPT_COPYPOSTFIELDS, request.body.c_str());
    }
    return code == CURLE_OK;
  }

  void run() {
    for (;;) {
      auto [arrived, stop] = incoming.takeAll();
      for (std::unique_ptr<Transfer>& transfer : arrived) {
        if (stop || curl_multi_add_handle(multi, transfer->easy) != CURLM_OK) {
          transfer->finish(CURLE_ABORTED_BY_CALLBACK);
        } else {
          CURL* easy = transfer->easy;
          running.emplace(easy, std::move(transfer));
        }
      }
      if (stop) break;
      int active = 0;
      curl_multi_perform(multi, &active);
      finishCompleted();
      // A poll that fails at once must not turn the loop into a busy wait.
      if (curl_multi_poll(multi, nullptr, 0, kIdlePollMs, nullptr) != CURLM_OK) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    for (auto& [easy, transfer] : running) {
      curl_multi_remove_handle(multi, easy);
      transfer->finish(CURLE_ABORTED_BY_CALLBACK);
    }
    running.clear();
  }

  void finishCompleted() {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      // The message is gone once its handle leaves the multi handle.
      CURL* easy = message->easy_handle;
      const CURLcode result = message->data.result;
      auto found = running.find(easy);
      curl_multi_remove_handle(multi, easy);
      if (found == running.end()) continue;
      std::unique_ptr<Transfer> transfer = std::move(found->second);
      running.erase(found);
      transfer->finish(result);
    }
  }
};

template <>
CurlTransport::HttpsTransport(CurlTransportOptions options) {
  initCurlOnce();
  worker_ = std::make_unique<Worker>(std::move(options));
}

template <>
CurlTransport::~HttpsTransport() = default;

template <>
bool CurlTransport::start(const HttpRequest& request, Completion done) {
  Worker& worker = *worker_;
  if (worker.multi == nullptr || worker.incoming.closed()) return false;
  auto transfer = std::make_unique<Transfer>();
  transfer->easy = curl_easy_init();
  if (transfer->easy == nullptr) return false;
  transfer->done = std::move(done);
  if (!worker.configure(*transfer, request)) {
    transfer->finish(CURLE_BAD_FUNCTION_ARGUMENT);
    return true;
  }
  if (!worker.incoming.put(std::move(transfer))) return false;
  curl_multi_wakeup(worker.multi);
  return true;
}

}  // namespace chart_host
