#include "tools/chart/live/live_view_outputs.h"

#include <iostream>

#include "tools/support/file_replacement.h"

namespace chart_tool::live {

bool LiveOutputs::open(const ChartOptions& options, bool realClock, std::string& error) {
  if (realClock) livePngPath_ = options.pngPath;
  if (!options.serve) return true;
  server_ = LiveViewServer::start(*options.serve, options.servePublic, board_, error);
  if (!server_) return false;
  std::cerr << "tarvio-chart: live view at " << pageUrl(*options.serve, server_->port()) << "\n" << std::flush;
  return true;
}

void LiveOutputs::publish(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
                          std::string status) {
  const bool wanted = server_ || !livePngPath_.empty();
  std::string png;
  std::string error;
  if (!changed_ || !wanted || !chartPicturePng(instance, picture, png, error)) {
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
