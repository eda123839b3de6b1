#include <cstdarg>
#include <vector>

#include "tools/chart/live/connection_gate.h"
#include "tools/chart/live/event_streams.h"
#include "tools/chart/live/live_view_server.h"
#include "tools/support/http_daemon.h"

namespace chart_tool::live {

namespace {

using Clock = std::chrono::steady_clock;

// Enough for a browser's request headers, far below what would let a client
// make the program hold much memory.
constexpr size_t kConnectionMemory_bytes = 32 * 1024;
constexpr unsigned kIdleTimeout_s = 10;
// The library's own cap stands above the gate's, which counts connections
// cut but not yet closed apart: the gate is the one that decides.
constexpr unsigned kLibraryConnectionsAboveGate = 200;
// How long a request for a picture at a new size waits for the run's thread.
constexpr std::chrono::seconds kLongestPictureWait{2};

const char* headerValue(MHD_Connection* connection, MHD_ValueKind kind, const char* name) {
  const char* value = MHD_lookup_connection_value(connection, kind, name);
  return value != nullptr ? value : "";
}

int socketOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
  return info != nullptr ? info->connect_fd : -1;
}

// A request for a picture at a size the run's thread has yet to draw.
struct PictureWait {
  PictureSize size;
  Clock::time_point until;
};

}  // namespace

struct LiveViewServer::Running {
  Running(std::vector<ServedChart> served, ServedNames names, ConnectionLimits limits)
      : charts(namesOf(served)),
        boards(boardsOf(served)),
        names(std::move(names)),
        gate(limits),
        events(charts, [this] { return snapshots(); }, limits.eventStreams, limits.keepAlive) {}

  static ChartNames namesOf(const std::vector<ServedChart>& served) {
    ChartNames names;
    for (const ServedChart& chart : served) names.push_back(chart.name);
    return names;
  }
  static std::vector<LiveBoard*> boardsOf(const std::vector<ServedChart>& served) {
    std::vector<LiveBoard*> boards;
    for (const ServedChart& chart : served) boards.push_back(chart.board);
    return boards;
  }
  ChartSnapshots snapshots() const {
    ChartSnapshots latest;
    for (LiveBoard* board : boards) latest.push_back(board->current());
    return latest;
  }

  // Resumes every request waiting for a picture: each looks again.
  void resumeWaiting() {
    std::lock_guard lock(waitMutex);
    for (MHD_Connection* connection : suspended) MHD_resume_connection(connection);
    suspended.clear();
  }
  // Holds the request until a picture is drawn or its wait is over; false
  // when the server is stopping, and it must be answered now.
  bool suspend(MHD_Connection* connection) {
    std::lock_guard lock(waitMutex);
    if (stopping) return false;
    MHD_suspend_connection(connection);
    suspended.push_back(connection);
    return true;
  }

  const ChartNames charts;
  const std::vector<LiveBoard*> boards;
  const ServedNames names;
  ConnectionGate gate;
  EventStreams events;
  support::HttpDaemon daemon;
  std::mutex waitMutex;
  std::vector<MHD_Connection*> suspended;
  bool stopping = false;
  // The server library's complaints while it starts, for the reason it could not.
  std::mutex complaintMutex;
  std::string startComplaint;
  bool started = false;
};

struct LiveViewCallbacks {
  using Running = LiveViewServer::Running;

  static void onComplaint(void* cls, const char* format, va_list arguments) {
    auto* running = static_cast<Running*>(cls);
    std::string line = support::libraryComplaintLine(format, arguments);
    while (!line.empty() && line.back() == '.') line.pop_back();
    std::lock_guard lock(running->complaintMutex);
    if (!running->started) running->startComplaint = line;
  }

  // The library tells here before it closes a connection's socket.
  static void onConnection(void* cls, MHD_Connection* connection, void**, MHD_ConnectionNotificationCode code) {
    if (code == MHD_CONNECTION_NOTIFY_CLOSED) static_cast<Running*>(cls)->gate.closed(socketOf(connection));
  }

  static void onCompleted(void* cls, MHD_Connection* connection, void** context, MHD_RequestTerminationCode) {
    delete static_cast<PictureWait*>(*context);
    *context = nullptr;
    static_cast<Running*>(cls)->gate.answered(socketOf(connection));
  }

  // The picture a request for one at the page's size gets now (null before
  // the first picture: the route says so); nothing while the request is
  // held for the run's thread to draw it.
  static std::optional<std::shared_ptr<const std::string>> pictureFor(Running& running, LiveBoard& board,
                                                                      MHD_Connection* connection, PictureSize size,
                                                                      void** context) {
    if (std::shared_ptr<const std::string> drawn = board.pictureAt(size)) return drawn;
    auto* wait = static_cast<PictureWait*>(*context);
    if (wait == nullptr) *context = wait = new PictureWait{size, Clock::now() + kLongestPictureWait};
    if (board.current()->png && Clock::now() < wait->until && running.suspend(connection)) return std::nullopt;
    return board.nearestPicture(size);
  }

  static MHD_Response* responseTo(Running& running, MHD_Connection* connection, LiveReply& reply) {
    if (!reply.stream)
      return MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                             MHD_RESPMEM_MUST_COPY);
    if (MHD_Response* stream = running.events.open(connection)) return stream;
    // At the cap: the page tries again, and after a few tries asks once a second instead.
    reply.status = MHD_HTTP_SERVICE_UNAVAILABLE;
    reply.contentType = "text/plain; charset=utf-8";
    reply.body = "too many event streams open; try again later\n";
    reply.headers.emplace_back("Retry-After", "5");
    reply.stream = false;
    return responseTo(running, connection, reply);
  }

  // Every request is answered once its headers are in, at once or, for a
  // picture at a new size, once it is drawn; a body is never read (nothing
  // the server answers takes one), and the connection of a request that
  // sent one is closed after the answer.
  static MHD_Result onRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                              const char*, const char*, size_t*, void** context) {
    auto& running = *static_cast<Running*>(cls);
    if (*context == nullptr) running.gate.headersIn(socketOf(connection));
    const LiveRequest request{method != nullptr ? method : "", url != nullptr ? url : "",
                              headerValue(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST),
                              headerValue(connection, MHD_GET_ARGUMENT_KIND, "w"),
                              headerValue(connection, MHD_GET_ARGUMENT_KIND, "h")};
    ChartSnapshots snapshots = running.snapshots();
    if (const std::optional<PictureSize> size = pagePictureSize(request, running.charts, running.names)) {
      const std::size_t chart = *pictureChart(request.path, running.charts);
      std::optional<std::shared_ptr<const std::string>> picture =
          pictureFor(running, *running.boards[chart], connection, *size, context);
      if (!picture) return MHD_YES;  // held until drawn
      auto sized = std::make_shared<LiveSnapshot>(*snapshots[chart]);
      sized->png = std::move(*picture);
      snapshots[chart] = std::move(sized);
    }
    LiveReply reply = answerLiveRequest(request, running.charts, snapshots, running.names);
    MHD_Response* response = responseTo(running, connection, reply);
    if (response == nullptr) return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
    for (const auto& [name, value] : reply.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
    const MHD_Result queued = MHD_queue_response(connection, reply.status, response);
    MHD_destroy_response(response);
    return queued;
  }

  static bool startDaemon(Running& running, ConnectionLimits limits) {
    using Callbacks = LiveViewCallbacks;
    const unsigned libraryLimit = static_cast<unsigned>(limits.connections) + kLibraryConnectionsAboveGate;
    return running.daemon.startUnlistened(
        MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO | MHD_USE_ERROR_LOG | MHD_ALLOW_SUSPEND_RESUME,
        &Callbacks::onRequest, &running,
        {{MHD_OPTION_EXTERNAL_LOGGER, reinterpret_cast<intptr_t>(&Callbacks::onComplaint), &running},
         {MHD_OPTION_NOTIFY_CONNECTION, reinterpret_cast<intptr_t>(&Callbacks::onConnection), &running},
         {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&Callbacks::onCompleted), &running},
         {MHD_OPTION_CONNECTION_LIMIT, libraryLimit, nullptr},
         {MHD_OPTION_CONNECTION_TIMEOUT, kIdleTimeout_s, nullptr},
         {MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory_bytes, nullptr}});
  }
};

std::string liveViewUnavailableReason() { return {}; }

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress& address, ServedNames names, LiveBoard& board,
                                                      std::string& error, ConnectionLimits limits) {
  return start(address, std::move(names), {ServedChart{"", &board}}, error, limits);
}

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress& address, ServedNames names,
                                                      std::vector<ServedChart> charts, std::string& error,
                                                      ConnectionLimits limits) {
  const std::string where = "--serve " + hostAndPort(address, address.port);
  if (!support::HttpDaemon::isIpAddress(address.ip)) {
    error = where + ": '" + address.host + "' is not an IP address";
    return nullptr;
  }
  std::unique_ptr<LiveViewServer> server(new LiveViewServer);
  server->running_ = std::make_unique<Running>(std::move(charts), std::move(names), limits);
  Running& running = *server->running_;
  std::string reason;
  bool serving = running.gate.listen(support::ListenAddress{address.ip, address.port}, reason);
  if (serving && !LiveViewCallbacks::startDaemon(running, limits)) {
    serving = false;
    std::lock_guard lock(running.complaintMutex);
    reason = running.startComplaint.empty() ? "the server library would not start" : running.startComplaint;
  }
  {
    std::lock_guard lock(running.complaintMutex);
    running.started = true;
  }
  if (!serving) {
    error = where + ": cannot serve the page there (" + reason + ")";
    return nullptr;
  }
  for (LiveBoard* board : running.boards) {
    board->setOnDrawn([&running] { running.resumeWaiting(); });
    board->setOnPublished([&running] { running.events.wake(); });
  }
  running.gate.start([&running](int fd, const sockaddr* from, socklen_t length) {
    return running.daemon.addConnection(fd, from, length);
  }, [&running] {
    running.resumeWaiting();
    running.events.tick();
  });
  return server;
}

// Requests waiting for a picture are answered first, with what there is, and
// the events' streams end; the gate stops cutting before the library closes
// every connection.
LiveViewServer::~LiveViewServer() {
  if (!running_) return;
  for (LiveBoard* board : running_->boards) {
    board->setOnDrawn(nullptr);
    board->setOnPublished(nullptr);
  }
  running_->events.stop();
  {
    std::lock_guard lock(running_->waitMutex);
    running_->stopping = true;
  }
  running_->resumeWaiting();
  running_->gate.stop();
  running_->daemon.stop();
}

uint16_t LiveViewServer::port() const { return running_->gate.port(); }

ConnectionCounts LiveViewServer::connectionCounts() const { return running_->gate.counts(); }

std::size_t LiveViewServer::eventStreams() const { return running_->events.count(); }

}  // namespace chart_tool::live
