#include "tools/chart/live/live_view_routes.h"

#include "tools/chart/live/live_view_address.h"
#include "tools/chart/live/live_view_page.h"

namespace chart_tool::live {

namespace {

// The page's own files and the same origin only (and the empty icon written
// into the page): no script, style, picture or connection from anywhere
// else, and no framing by another site.
constexpr const char* kPagePolicy =
    "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'; base-uri 'none'; form-action 'none'";

LiveReply plain(unsigned status, std::string text) {
  LiveReply reply;
  reply.status = status;
  reply.contentType = "text/plain; charset=utf-8";
  reply.body = std::move(text) + "\n";
  return reply;
}

LiveReply chosen(const LiveRequest& request, const LiveSnapshot& snapshot) {
  if (request.path == "/status.json") {
    LiveReply reply;
    reply.contentType = "application/json; charset=utf-8";
    reply.body = snapshot.status;
    return reply;
  }
  if (request.path == "/chart.png") {
    if (!snapshot.png) {
      LiveReply reply = plain(503, "no picture yet: the chart is drawn after the first call");
      reply.headers.emplace_back("Retry-After", "1");
      return reply;
    }
    LiveReply reply;
    reply.contentType = "image/png";
    reply.body = *snapshot.png;
    return reply;
  }
  for (const PageFile& file : livePageFiles()) {
    if (request.path != file.path) continue;
    LiveReply reply;
    reply.contentType = file.contentType;
    reply.body = file.body;
    reply.headers.emplace_back("Content-Security-Policy", kPagePolicy);
    return reply;
  }
  return plain(404, "not found: the live view has /, /status.json and /chart.png");
}

}  // namespace

bool isLoopbackHost(const std::string& host) {
  std::string name = host;
  if (!name.empty() && name.front() == '[') {
    name = name.substr(0, name.find(']') + 1);
  } else {
    name = name.substr(0, name.find(':'));
  }
  const std::optional<ServeAddress> read = readServeAddress(name + ":0");
  return read && read->loopback;
}

LiveReply answerLiveRequest(const LiveRequest& request, const LiveSnapshot& snapshot, bool anyHost) {
  LiveReply reply;
  if (request.method != "GET" && request.method != "HEAD") {
    reply = plain(405, "the live view answers GET and HEAD only");
    reply.headers.emplace_back("Allow", "GET, HEAD");
  } else if (!anyHost && !request.host.empty() && !isLoopbackHost(request.host)) {
    reply = plain(403, "the live view answers only to this machine's own names (localhost, 127.0.0.1, [::1])");
  } else {
    reply = chosen(request, snapshot);
  }
  reply.headers.emplace_back("Cache-Control", "no-store");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  return reply;
}

}  // namespace chart_tool::live
