#include "tools/chart/live/live_view_board.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace chart_tool::live {

void LiveBoard::publishStatus(std::string status) {
  replace([&status](LiveSnapshot& next) { next.status = std::move(status); }, false);
}

void LiveBoard::publish(std::string status, std::string png) {
  auto picture = std::make_shared<const std::string>(std::move(png));
  replace([&](LiveSnapshot& next) {
    next.status = std::move(status);
    next.png = std::move(picture);
  }, true);
}

void LiveBoard::publishFailed(std::string reason) {
  if (reason.empty()) reason = "failed";
  replace([&reason](LiveSnapshot& next) { next.failed = std::move(reason); }, false);
}

std::shared_ptr<const LiveSnapshot> LiveBoard::current() const {
  std::lock_guard lock(mutex_);
  return current_;
}

void LiveBoard::replace(const std::function<void(LiveSnapshot&)>& change, bool pictureChanged) {
  std::function<void()> tell;
  {
    std::lock_guard lock(mutex_);
    auto next = std::make_shared<LiveSnapshot>(*current_);
    change(*next);
    ++next->publications;
    if (pictureChanged) {
      ++change_;
      next->pictures = change_;
    }
    current_ = std::move(next);
    tell = onPublished_;
  }
  if (tell) tell();
}

void LiveBoard::setOnPublished(std::function<void()> onPublished) {
  std::lock_guard lock(mutex_);
  onPublished_ = std::move(onPublished);
}

void LiveBoard::setOnWanted(std::function<void()> onWanted) {
  std::lock_guard lock(mutex_);
  onWanted_ = std::move(onWanted);
}

void LiveBoard::setOnDrawn(std::function<void()> onDrawn) {
  std::lock_guard lock(mutex_);
  onDrawn_ = std::move(onDrawn);
}

LiveBoard::Sized& LiveBoard::askedLocked(PictureSize size) {
  auto found = std::find_if(sized_.begin(), sized_.end(), [&](const Sized& sized) { return sized.size == size; });
  if (found == sized_.end()) {
    if (sized_.size() >= kMostSizes)
      sized_.erase(std::min_element(sized_.begin(), sized_.end(),
                                    [](const Sized& a, const Sized& b) { return a.askedAt < b.askedAt; }));
    sized_.push_back(Sized{size, 0, 0, nullptr});
    found = sized_.end() - 1;
  }
  found->askedAt = ++asks_;
  return *found;
}

std::shared_ptr<const std::string> LiveBoard::pictureAt(PictureSize size) {
  std::function<void()> tell;
  {
    std::lock_guard lock(mutex_);
    if (!current_->png) return nullptr;
    const Sized& sized = askedLocked(size);
    if (sized.drawnFor == change_) return sized.png;
    tell = onWanted_;
  }
  if (tell) tell();
  return nullptr;
}

std::shared_ptr<const std::string> LiveBoard::nearestPicture(PictureSize size) const {
  std::lock_guard lock(mutex_);
  std::shared_ptr<const std::string> nearest = current_->png;
  int64_t nearestDistance = std::numeric_limits<int64_t>::max();
  for (const Sized& sized : sized_) {
    if (sized.drawnFor != change_ || !sized.png) continue;
    const int64_t distance = std::abs(int64_t{sized.size.width_px} - size.width_px) +
                             std::abs(int64_t{sized.size.height_px} - size.height_px);
    if (distance < nearestDistance) {
      nearestDistance = distance;
      nearest = sized.png;
    }
  }
  return nearest;
}

std::vector<PictureSize> LiveBoard::sizesToDraw() const {
  std::lock_guard lock(mutex_);
  std::vector<PictureSize> sizes;
  if (change_ == 0) return sizes;
  for (const Sized& sized : sized_)
    if (sized.drawnFor != change_) sizes.push_back(sized.size);
  return sizes;
}

void LiveBoard::publishSized(PictureSize size, std::string png) {
  std::function<void()> tell;
  {
    std::lock_guard lock(mutex_);
    auto found = std::find_if(sized_.begin(), sized_.end(), [&](const Sized& sized) { return sized.size == size; });
    if (found == sized_.end()) return;  // dropped meanwhile for sizes asked later
    found->drawnFor = change_;
    found->png = png.empty() ? nullptr : std::make_shared<const std::string>(std::move(png));
    tell = onDrawn_;
  }
  if (tell) tell();
}

}  // namespace chart_tool::live
