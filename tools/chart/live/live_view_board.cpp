#include "tools/chart/live/live_view_board.h"

namespace chart_tool::live {

void LiveBoard::publishStatus(std::string status) {
  auto next = std::make_shared<LiveSnapshot>();
  next->status = std::move(status);
  next->png = current()->png;
  replace(std::move(next));
}

void LiveBoard::publish(std::string status, std::string png) {
  auto next = std::make_shared<LiveSnapshot>();
  next->status = std::move(status);
  next->png = std::make_shared<const std::string>(std::move(png));
  replace(std::move(next));
}

std::shared_ptr<const LiveSnapshot> LiveBoard::current() const {
  std::lock_guard lock(mutex_);
  return current_;
}

void LiveBoard::replace(std::shared_ptr<const LiveSnapshot> next) {
  std::lock_guard lock(mutex_);
  current_ = std::move(next);
}

}  // namespace chart_tool::live
