#include "tools/chart/live/live_view_routes.h"

#include <algorithm>
#include <cctype>

#include "tools/chart/live/live_view_page.h"
#include "tools/chart/live/machine_names.h"
#include "tools/support/json_text.h"
#include "tools/support/number_text.h"

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

LiveReply pictureReply(const LiveSnapshot& snapshot) {
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

// The page's files; on a board, / is the board's page, which is not served
// under its own name on either page.
std::optional<LiveReply> pageFileReply(const std::string& path, bool board) {
  if (path == "/board.html") return std::nullopt;
  const std::string wanted = board && path == "/" ? "/board.html" : path;
  for (const PageFile& file : livePageFiles()) {
    if (wanted != file.path) continue;
    LiveReply reply;
    reply.contentType = file.contentType;
    reply.body = file.body;
    reply.headers.emplace_back("Content-Security-Policy", kPagePolicy);
    return reply;
  }
  return std::nullopt;
}

LiveReply chosen(const LiveRequest& request, const ChartNames& charts, const ChartSnapshots& snapshots) {
  const bool board = isBoard(charts);
  if (request.path == "/status.json") {
    LiveReply reply;
    reply.contentType = "application/json; charset=utf-8";
    reply.body = board ? boardStatusJson(charts, snapshots) : snapshots.front()->status;
    return reply;
  }
  if (request.path == "/events") {
    LiveReply reply;
    reply.contentType = "text/event-stream";
    reply.stream = request.method == "GET";
    return reply;
  }
  if (const std::optional<std::size_t> chart = pictureChart(request.path, charts))
    return pictureReply(*snapshots[*chart]);
  if (std::optional<LiveReply> file = pageFileReply(request.path, board)) return std::move(*file);
  return plain(404, board ? "not found: the live view has /, /status.json, /chart/NAME.png for each chart and /events"
                          : "not found: the live view has /, /status.json, /chart.png and /events");
}

// The chart's status object with its name first, and why it failed.
std::string namedStatus(const std::string& name, const LiveSnapshot& snapshot) {
  std::string members = "\"name\":" + support::jsonString(name);
  if (!snapshot.failed.empty()) members += ",\"failed\":" + support::jsonString(snapshot.failed);
  std::string status = snapshot.status;
  while (!status.empty() && std::isspace(static_cast<unsigned char>(status.back()))) status.pop_back();
  const std::size_t open = status.find_first_not_of(" \t\r\n");
  if (open == std::string::npos || status[open] != '{') return "{" + members + "}";
  const std::size_t next = status.find_first_not_of(" \t\r\n", open + 1);
  const bool empty = next == std::string::npos || status[next] == '}';
  return status.insert(open + 1, empty ? members : members + ",");
}

}  // namespace

namespace {

// The name of a Host header without its port: "[::1]" of "[::1]:8080",
// "localhost" of "localhost:8080"; empty when what follows the name is not
// a port.
std::string hostName(const std::string& host) {
  const std::size_t end = !host.empty() && host.front() == '[' ? host.find(']') + 1 : host.find(':');
  if (end == 0 || end >= host.size()) return end == 0 ? std::string() : host;
  const std::string port = host.substr(end);
  const bool digits = port.size() > 1 && port[0] == ':' &&
                      std::all_of(port.begin() + 1, port.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
  return digits ? host.substr(0, end) : std::string();
}

// The query's number rounded to the step and kept within the bounds; the
// lowest bound for what is not a number.
int32_t pageSide(const std::string& text, int32_t lowest, int32_t highest) {
  const std::optional<int64_t> asked = support::readWholeNumber(text, 0, 1'000'000'000'000);
  if (!asked) return lowest;
  const int64_t rounded = (*asked + kPagePictureStep_px / 2) / kPagePictureStep_px * kPagePictureStep_px;
  return static_cast<int32_t>(std::clamp<int64_t>(rounded, lowest, highest));
}

bool answered(const LiveRequest& request, const ServedNames& names) {
  return (request.method == "GET" || request.method == "HEAD") && isServedHost(request.host, names);
}

}  // namespace

ServedNames servedNamesFor(const ServeAddress& address) {
  ServedNames names;
  if (!address.loopback) names.machine = machineNames();
  return names;
}

bool isLoopbackHost(const std::string& host) {
  const std::string name = hostName(host);
  if (name.empty()) return false;
  const bool bracketed = name.front() == '[';
  const std::optional<ServeAddress> read = readServeAddress(name + ":0");
  return read && read->loopback && read->ipv6 == bracketed;
}

bool isServedHost(const std::string& host, const ServedNames& names) {
  if (isLoopbackHost(host)) return true;
  std::string name = hostName(host);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return !name.empty() && std::find(names.machine.begin(), names.machine.end(), name) != names.machine.end();
}

bool isBoard(const ChartNames& charts) { return !(charts.size() == 1 && charts.front().empty()); }

std::optional<std::size_t> pictureChart(const std::string& path, const ChartNames& charts) {
  if (!isBoard(charts)) return path == "/chart.png" ? std::optional<std::size_t>(0) : std::nullopt;
  const std::string front = "/chart/", back = ".png";
  if (path.size() <= front.size() + back.size() || path.compare(0, front.size(), front) != 0 ||
      path.compare(path.size() - back.size(), back.size(), back) != 0)
    return std::nullopt;
  const std::string name = path.substr(front.size(), path.size() - front.size() - back.size());
  const auto found = std::find(charts.begin(), charts.end(), name);
  if (found == charts.end()) return std::nullopt;
  return static_cast<std::size_t>(found - charts.begin());
}

std::string boardStatusJson(const ChartNames& charts, const ChartSnapshots& snapshots) {
  std::string text = "{\"charts\":[";
  for (std::size_t chart = 0; chart < charts.size() && chart < snapshots.size(); ++chart)
    text += (chart == 0 ? "\n" : ",\n") + namedStatus(charts[chart], *snapshots[chart]);
  return text + "\n]}\n";
}

std::optional<PictureSize> pagePictureSize(const LiveRequest& request, const ServedNames& names) {
  return pagePictureSize(request, ChartNames{""}, names);
}

std::optional<PictureSize> pagePictureSize(const LiveRequest& request, const ChartNames& charts,
                                           const ServedNames& names) {
  if (!pictureChart(request.path, charts) || request.width.empty() || request.height.empty() ||
      !answered(request, names))
    return std::nullopt;
  return PictureSize{pageSide(request.width, kSmallestPagePicture.width_px, kLargestPagePicture.width_px),
                     pageSide(request.height, kSmallestPagePicture.height_px, kLargestPagePicture.height_px)};
}

LiveReply answerLiveRequest(const LiveRequest& request, const LiveSnapshot& snapshot, const ServedNames& names) {
  return answerLiveRequest(request, ChartNames{""}, {std::make_shared<const LiveSnapshot>(snapshot)}, names);
}

LiveReply answerLiveRequest(const LiveRequest& request, const ChartNames& charts, const ChartSnapshots& snapshots,
                            const ServedNames& names) {
  LiveReply reply;
  if (request.method != "GET" && request.method != "HEAD") {
    reply = plain(405, "the live view answers GET and HEAD only");
    reply.headers.emplace_back("Allow", "GET, HEAD");
  } else if (request.host.empty()) {
    reply = plain(400, "a request to the live view names the machine it is sent to (Host)");
  } else if (!isServedHost(request.host, names)) {
    reply = plain(403, names.machine.empty()
                           ? "the live view answers only to this machine's own names (localhost, 127.0.0.1, [::1])"
                           : "the live view answers only to this machine's own names and addresses");
  } else {
    reply = chosen(request, charts, snapshots);
  }
  reply.headers.emplace_back("Cache-Control", "no-store");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  return reply;
}

}  // namespace chart_tool::live
