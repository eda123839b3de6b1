#include "tools/chart/live/live_view.h"

namespace chart_tool::live {

std::unique_ptr<LiveView> LiveView::start(const LivePageSettings& page, const std::vector<std::string>& chartNames,
                                          std::string& error, ConnectionLimits limits) {
  if (!page.serve || chartNames.empty()) {
    error = "--serve: no address to serve the page at, or no chart to show";
    return nullptr;
  }
  std::unique_ptr<LiveView> view(new LiveView);
  view->address_ = *page.serve;
  std::vector<ServedChart> served;
  for (const std::string& name : chartNames) served.push_back(ServedChart{name, &view->boards_.emplace_back()});
  view->server_ = LiveViewServer::start(*page.serve, servedNamesFor(*page.serve), std::move(served), error, limits);
  if (!view->server_) return nullptr;
  return view;
}

// The server goes first: it leaves the boards alone once it has stopped.
LiveView::~LiveView() { server_.reset(); }

std::string LiveView::url() const { return pageUrl(address_, server_->port()); }

LiveBoard& LiveView::board(std::size_t chart) { return boards_.at(chart); }

}  // namespace chart_tool::live
