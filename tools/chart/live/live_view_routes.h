// What the live view's server answers to one request, from the latest
// snapshot: the page and its files at their paths, /status.json (the status
// file's JSON) and /chart.png (the latest picture). Only GET and HEAD are
// answered; nothing is ever to be cached, so the browser never shows an old
// chart. Served on loopback, only loopback names are answered in the Host
// header, so a web site whose name points at this machine cannot have a
// browser read the page. Pure: the server's threads call it concurrently.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/chart/live/live_view_board.h"

namespace chart_tool::live {

struct LiveRequest {
  std::string method;
  std::string path;  // without the query
  std::string host;  // the Host header; empty when there was none
};

struct LiveReply {
  unsigned status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // beyond the content type
};

// `anyHost`: served beyond loopback (--serve-public), every Host is answered.
LiveReply answerLiveRequest(const LiveRequest& request, const LiveSnapshot& snapshot, bool anyHost);

// Whether a Host header names this machine: localhost, 127.x.x.x or [::1],
// with or without a port.
bool isLoopbackHost(const std::string& host);

}  // namespace chart_tool::live
