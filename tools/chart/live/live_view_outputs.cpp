#include "tools/chart/live/live_view_outputs.h"

#include <iostream>

#include "tools/support/file_replacement.h"

namespace chart_tool::live {

bool LiveOutputs::open(const LivePageSettings& page, const std::string& livePngPath,
                       std::string& error) {
  livePngPath_ = livePngPath;
  if (!page.serve) return true;
  server_ = LiveViewServer::start(*page.serve, page.servePublic, board_, error);
  if (!server_) return false;
  std::cerr << "tarvio-chart: live view at " << pageUrl(*page.serve, server_->port()) << "\n" << std::flush;
  return true;
}

void LiveOutputs::afterCall(run::CallRecord& call) {
  std::string status = call.status;
  const bool wanted = server_ || !livePngPath_.empty();
  std::string png;
  std::string error;
  if (!call.changed || !wanted || !chartPicturePng(call.instance, call.picture, png, error)) {
    if (!error.empty()) tellOnce(error);
    if (server_) board_.publishStatus(std::move(status));
    return;
  }
  if (!livePngPath_.empty()) {
    const support::Status replaced = support::replaceFile(livePngPath_, png, support::Durability::unflushed);
    if (!replaced) tellOnce("--png " + replaced.message());
  }
  if (server_) board_.publish(std::move(status), std::move(png));
}

void LiveOutputs::tellOnce(const std::string& problem) {
  if (problemTold_) return;
  problemTold_ = true;
  std::cerr << "tarvio-chart: " << problem << "; the run goes on, and the chart shown may be an earlier one\n";
}

}  // namespace chart_tool::live
