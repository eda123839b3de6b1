// What the live view's page shows, as the run last published it: the status
// text (the --status file's JSON) and the chart picture as PNG bytes. The run
// publishes after every call; the server's threads read the latest snapshot
// and answer from it without holding the lock. Thread-safe.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace chart_tool::live {

struct LiveSnapshot {
  std::string status = "{}\n";           // before the first call: an empty object
  std::shared_ptr<const std::string> png;  // null before the first picture
};

class LiveBoard {
 public:
  LiveBoard() : current_(std::make_shared<const LiveSnapshot>()) {}

  // A new status with the picture published before it.
  void publishStatus(std::string status);
  // A new status with a new picture.
  void publish(std::string status, std::string png);

  // The latest snapshot; it never changes once published.
  std::shared_ptr<const LiveSnapshot> current() const;

 private:
  void replace(std::shared_ptr<const LiveSnapshot> next);

  mutable std::mutex mutex_;
  std::shared_ptr<const LiveSnapshot> current_;
};

}  // namespace chart_tool::live
