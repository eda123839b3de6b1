#include "tools/standin/https_server.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace standin {

namespace {

// A body that is sent in part, then the connection is closed.
struct CutBody {
  std::string body;
  size_t cut = 0;  // bytes sent before the close
};

ssize_t readCutBody(void* cls, uint64_t position, char* buffer, size_t max) {
  const CutBody& cut = *static_cast<const CutBody*>(cls);
  if (position >= cut.cut) return MHD_CONTENT_READER_END_WITH_ERROR;
  const size_t count = std::min<size_t>(max, cut.cut - static_cast<size_t>(position));
  std::memcpy(buffer, cut.body.data() + position, count);
  return static_cast<ssize_t>(count);
}

void freeCutBody(void* cls) { delete static_cast<CutBody*>(cls); }

// libmicrohttpd's own complaints, one prefixed line each.
void logLibraryMessage(void*, const char* format, va_list arguments) {
  const std::string line = support::libraryComplaintLine(format, arguments);
  std::fprintf(stderr, "tarvio-standin: libmicrohttpd: %s\n", line.c_str());
}

MHD_Result appendHeader(void* headers, enum MHD_ValueKind, const char* key, const char* value) {
  static_cast<HeaderList*>(headers)->emplace_back(key != nullptr ? key : "", value != nullptr ? value : "");
  return MHD_YES;
}

// What is known of one request while it arrives.
struct PendingRequest {
  ReceivedRequest request;
  bool started = false;
};

MHD_Result deliver(MHD_Connection* connection, const Reply& reply) {
  MHD_Response* response = nullptr;
  if (reply.delivery == Delivery::Whole) {
    response = MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                               MHD_RESPMEM_MUST_COPY);
  } else {
    auto* cut = new CutBody{reply.body, reply.body.size() / 2};
    const uint64_t size = reply.delivery == Delivery::CutWithLength ? reply.body.size() : MHD_SIZE_UNKNOWN;
    response = MHD_create_response_from_callback(size, 4096, readCutBody, cut, freeCutBody);
    if (response == nullptr) delete cut;
  }
  if (response == nullptr) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.content_type.c_str());
  const MHD_Result queued = MHD_queue_response(connection, reply.status, response);
  MHD_destroy_response(response);
  return queued;
}

}  // namespace

struct ServerCallbacks {
  // The request line has arrived: keep the target exactly as sent.
  static void* onRequestLine(void*, const char* uri, MHD_Connection*) {
    auto* pending = new PendingRequest;
    pending->request.target = uri != nullptr ? uri : "";
    return pending;
  }

  static void onCompleted(void*, MHD_Connection*, void** request, MHD_RequestTerminationCode) {
    delete static_cast<PendingRequest*>(*request);
    *request = nullptr;
  }

  // Called once when the headers are in, once per piece of body, and once
  // more when the body is complete: then the reply is made and queued.
  static MHD_Result onRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                              const char*, const char* upload_data, size_t* upload_data_size, void** request) {
    auto* server = static_cast<HttpsServer*>(cls);
    auto* pending = static_cast<PendingRequest*>(*request);
    if (pending == nullptr) {  // not seen by the request-line hook: keep the decoded path
      pending = new PendingRequest;
      pending->request.target = url != nullptr ? url : "";
      *request = pending;
    }
    ReceivedRequest& received = pending->request;
    if (!pending->started) {
      pending->started = true;
      received.method = method != nullptr ? method : "";
      MHD_get_connection_values(connection, MHD_HEADER_KIND, appendHeader, &received.headers);
      return MHD_YES;
    }
    if (*upload_data_size > 0) {
      const size_t room = kMaxRequestBodyBytes - received.body.size();
      if (*upload_data_size > room) received.body_too_large = true;
      received.body.append(upload_data, std::min(room, *upload_data_size));
      *upload_data_size = 0;
      return MHD_YES;
    }
    const Reply reply = server->handler_(received);
    if (reply.delay_s > 0 && server->waitOrStop(reply.delay_s)) return MHD_NO;
    return deliver(connection, reply);
  }
};

bool HttpsServer::waitOrStop(double seconds) {
  std::unique_lock lock(mutex_);
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  return wake_.wait_until(lock, until, [this] { return stopping_; });
}

std::unique_ptr<HttpsServer> HttpsServer::start(const ServerConfig& config, RequestHandler handler,
                                                std::string& problem) {
  std::unique_ptr<HttpsServer> server(new HttpsServer(std::move(handler)));
  server->identity_ = config.identity;

  if (!support::HttpDaemon::isIpAddress(config.address)) {
    problem = "'" + config.address + "' is not an IP address";
    return nullptr;
  }
  const unsigned int flags = MHD_USE_TLS | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION |
                             MHD_USE_AUTO | MHD_USE_ERROR_LOG;
  const bool listening = server->daemon_.start(
      support::ListenAddress{config.address, config.port}, flags, &ServerCallbacks::onRequest, server.get(),
      {{MHD_OPTION_EXTERNAL_LOGGER, reinterpret_cast<intptr_t>(&logLibraryMessage), nullptr},
       {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(server->identity_.key_pem.c_str())},
       {MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(server->identity_.certificate_pem.c_str())},
       {MHD_OPTION_URI_LOG_CALLBACK, reinterpret_cast<intptr_t>(&ServerCallbacks::onRequestLine), server.get()},
       {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&ServerCallbacks::onCompleted), server.get()},
       {MHD_OPTION_CONNECTION_TIMEOUT, 60, nullptr}});
  if (!listening) {
    problem = "cannot listen on " + config.address + " port " + std::to_string(config.port) +
              " (in use, or TLS setup failed)";
    return nullptr;
  }
  return server;
}

void HttpsServer::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  daemon_.stop();
}

HttpsServer::~HttpsServer() { stop(); }

}  // namespace standin
