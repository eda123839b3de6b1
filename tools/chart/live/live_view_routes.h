// What the live view's server answers to one request, from the latest
// snapshots of its charts. A single chart's page: the page and its files at
// their paths, /status.json (the status file's JSON) and /chart.png (the
// latest picture; with ?w=W&h=H, at the page's size). A board of named
// charts: the board's page at /, /status.json as {"charts": [...]} (each
// chart's status with its "name", and "failed" when it failed) and each
// picture at /chart/NAME.png. Both: /events, the stream of server-sent
// events the server itself keeps (live_view_events.h). Only GET and HEAD
// are answered; nothing is ever to be
// cached, so the browser never shows an old chart. Only this machine's own
// names are answered in the Host header (loopback's, and on a public address
// the machine's), so a web site whose name points at this machine cannot
// have a browser read the page; a request without one is refused. Pure: the
// server's threads call it concurrently.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/chart/live/live_view_address.h"
#include "tools/chart/live/live_view_board.h"

namespace chart_tool::live {

struct LiveRequest {
  std::string method;
  std::string path;  // without the query
  std::string host;  // the Host header; empty when there was none
  std::string width{};  // the query's w and h, empty when absent
  std::string height{};
};

struct LiveReply {
  unsigned status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // beyond the content type
  // The events' stream, for the server to keep open: the body is what it
  // starts with.
  bool stream = false;
};

// The charts a page serves, in board order: one empty name for a single
// chart's page, the charts' names (1 to 32 of A-Z, a-z, 0-9, _ and -) for a
// board.
using ChartNames = std::vector<std::string>;
// Their latest snapshots, in the same order.
using ChartSnapshots = std::vector<std::shared_ptr<const LiveSnapshot>>;

bool isBoard(const ChartNames& charts);

// The chart whose picture the path asks for: /chart.png on a single chart's
// page, /chart/NAME.png (NAME as given, case and all) on a board's; nothing
// for any other path.
std::optional<std::size_t> pictureChart(const std::string& path, const ChartNames& charts);

// The board's /status.json: {"charts": [...]}, one object per chart, each
// its status with "name" first, and "failed" (the reason) when it failed.
std::string boardStatusJson(const ChartNames& charts, const ChartSnapshots& snapshots);

// The names a request may be sent to besides loopback's (localhost,
// 127.x.x.x, [::1]): none on a loopback address, whatever --serve-public
// says; on a public address the machine's names and the addresses of its
// interfaces, as a Host header writes them (lower case, IPv6 in brackets).
struct ServedNames {
  std::vector<std::string> machine;
};

// Gathered once as the page starts to be served.
ServedNames servedNamesFor(const ServeAddress& address);

// Whether a Host header names this machine: localhost, 127.x.x.x or [::1],
// with or without a port.
bool isLoopbackHost(const std::string& host);
// Whether a Host header, with or without a port, is loopback's or one of `names`.
bool isServedHost(const std::string& host, const ServedNames& names);

// The bounds of a picture at a page's size.
inline constexpr PictureSize kSmallestPagePicture{320, 240};
inline constexpr PictureSize kLargestPagePicture{3840, 2160};
inline constexpr int32_t kPagePictureStep_px = 16;

// The size of picture a request that will be answered asks for with ?w=W&h=H,
// rounded to 16 px and kept within the bounds; nothing for any other request
// (the picture then is at the run's own size).
std::optional<PictureSize> pagePictureSize(const LiveRequest& request, const ChartNames& charts,
                                           const ServedNames& names);
// For a single chart's page.
std::optional<PictureSize> pagePictureSize(const LiveRequest& request, const ServedNames& names);

LiveReply answerLiveRequest(const LiveRequest& request, const ChartNames& charts, const ChartSnapshots& snapshots,
                            const ServedNames& names);
// For a single chart's page.
LiveReply answerLiveRequest(const LiveRequest& request, const LiveSnapshot& snapshot, const ServedNames& names);

}  // namespace chart_tool::live
