#include "tools/chart/live/live_view_outputs.h"

#include <iostream>
#include <vector>

#include "tools/support/file_replacement.h"

namespace chart_tool::live {

bool LiveOutputs::open(const LivePageSettings& page, const std::string& livePngPath, run::WaitWork* waitWork,
                       std::string& error) {
  livePngPath_ = livePngPath;
  if (!page.serve) return true;
  server_ = LiveViewServer::start(*page.serve, servedNamesFor(*page.serve), board_, error);
  if (!server_) return false;
  waitWork_ = waitWork;
  if (waitWork_) {
    waitWork_->setWork([this] { drawAskedSizes(); });
    board_.setOnWanted([waitWork] { waitWork->ask(); });
  }
  std::cerr << "tarvio-chart: live view at " << pageUrl(*page.serve, server_->port()) << "\n" << std::flush;
  return true;
}

void LiveOutputs::afterCall(run::CallRecord& call) {
  instance_ = &call.instance;
  picture_ = call.picture;
  publish(call);
  drawAskedSizes();
}

void LiveOutputs::publish(run::CallRecord& call) {
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

void LiveOutputs::drawAskedSizes() {
  if (!server_ || instance_ == nullptr) return;
  const std::vector<PictureSize> sizes = board_.sizesToDraw();
  if (sizes.empty()) return;
  for (const PictureSize& size : sizes) {
    chart_host::ChartPictureOptions options = picture_;
    options.width = size.width_px;
    options.height = size.height_px;
    std::string png;
    std::string error;
    if (!chartPicturePng(*instance_, options, png, error)) tellOnce(error);
    board_.publishSized(size, std::move(png));
  }
  chart_host::layOutChartPicture(*instance_, picture_);
}

void LiveOutputs::stop() {
  if (waitWork_) waitWork_->setWork(nullptr);
  board_.setOnWanted(nullptr);
  server_.reset();
  instance_ = nullptr;
}

void LiveOutputs::tellOnce(const std::string& problem) {
  if (problemTold_) return;
  problemTold_ = true;
  std::cerr << "tarvio-chart: " << problem << "; the run goes on, and the chart shown may be an earlier one\n";
}

}  // namespace chart_tool::live
