#include "tools/chart/live/live_view_outputs.h"

#include <vector>

#include "tools/support/file_replacement.h"

namespace chart_tool::live {

bool LiveOutputs::open(LiveBoard* board, const std::string& livePngPath, run::WaitWork* waitWork,
                       std::function<void(const std::string&)> tell, std::string&) {
  livePngPath_ = livePngPath;
  tell_ = std::move(tell);
  board_ = board;
  if (board_ == nullptr) return true;
  waitWork_ = waitWork;
  if (waitWork_) {
    waitWork_->setWork([this] { drawAskedSizes(); });
    board_->setOnWanted([waitWork] { waitWork->ask(); });
  }
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
  const bool wanted = board_ != nullptr || !livePngPath_.empty();
  std::string png;
  std::string error;
  if (!call.changed || !wanted || !chartPicturePng(call.instance, call.picture, png, error)) {
    if (!error.empty()) tellOnce(error);
    if (board_) board_->publishStatus(std::move(status));
    return;
  }
  if (!livePngPath_.empty()) {
    const support::Status replaced = support::replaceFile(livePngPath_, png, support::Durability::unflushed);
    if (!replaced) tellOnce("--png " + replaced.message());
  }
  if (board_) board_->publish(std::move(status), std::move(png));
}

void LiveOutputs::drawAskedSizes() {
  if (board_ == nullptr || instance_ == nullptr) return;
  const std::vector<PictureSize> sizes = board_->sizesToDraw();
  if (sizes.empty()) return;
  for (const PictureSize& size : sizes) {
    chart_host::ChartPictureOptions options = picture_;
    options.width = size.width_px;
    options.height = size.height_px;
    std::string png;
    std::string error;
    if (!chartPicturePng(*instance_, options, png, error)) tellOnce(error);
    board_->publishSized(size, std::move(png));
  }
  chart_host::layOutChartPicture(*instance_, picture_);
}

void LiveOutputs::stop() {
  if (waitWork_) waitWork_->setWork(nullptr);
  waitWork_ = nullptr;
  if (board_) board_->setOnWanted(nullptr);
  board_ = nullptr;
  instance_ = nullptr;
}

void LiveOutputs::tellOnce(const std::string& problem) {
  if (problemTold_) return;
  problemTold_ = true;
  if (tell_) tell_(problem + "; the run goes on, and the chart shown may be an earlier one");
}

}  // namespace chart_tool::live
