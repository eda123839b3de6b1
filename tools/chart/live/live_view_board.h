// What the live view's page shows, as the run last published it: the status
// text (the --status file's JSON) and the chart picture as PNG bytes at the
// run's size, and at the sizes pages asked for lately. The run publishes
// after every call; the server's threads read the latest snapshot and answer
// from it without holding the lock.
//
// Only the run's thread can draw, so a page's size is drawn there: a server
// thread asks for it, the run's thread learns of it (the `onWanted` call)
// and draws it between calls or after the next one, and the server is told
// (the `onDrawn` call) so it can answer the request that waits. Each size is
// drawn once per change of the chart; at most four sizes are kept, the one
// asked least lately dropped first.
//
// Whoever streams the page's events is told of every publication (the
// `onPublished` call), and each snapshot carries its counts, so a stream
// can say what changed since it last looked. A chart that fails is marked
// failed with its reason; its last status and picture stay. Thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace chart_tool::live {

struct PictureSize {
  int32_t width_px = 0;
  int32_t height_px = 0;
  bool operator==(const PictureSize& other) const {
    return width_px == other.width_px && height_px == other.height_px;
  }
};

struct LiveSnapshot {
  std::string status = "{}\n";           // before the first call: an empty object
  std::shared_ptr<const std::string> png;  // null before the first picture
  uint64_t publications = 0;  // statuses published, a failure included, counted from 1
  uint64_t pictures = 0;      // pictures published (changes of the chart), counted from 1
  std::string failed;         // why the chart failed; empty while it has not
};

class LiveBoard {
 public:
  static constexpr std::size_t kMostSizes = 4;

  LiveBoard() : current_(std::make_shared<const LiveSnapshot>()) {}

  // A new status with the picture published before it.
  void publishStatus(std::string status);
  // A change of the chart: a new status with its picture at the run's size.
  void publish(std::string status, std::string png);

  // The chart failed (at its start, or mid-run): the page shows it failed
  // with the reason; its last status and picture stay. Later statuses of a
  // failed chart keep it marked failed.
  void publishFailed(std::string reason);

  // The latest snapshot; it never changes once published.
  std::shared_ptr<const LiveSnapshot> current() const;

  // Who is told: the run's thread that a size is wanted (from a server
  // thread), the server that a picture of a size is drawn (from the run's
  // thread). Set before serving; the calls are made outside the lock.
  void setOnWanted(std::function<void()> onWanted);
  void setOnDrawn(std::function<void()> onDrawn);
  // Who streams events is told after every publication, from the
  // publisher's thread, outside the lock.
  void setOnPublished(std::function<void()> onPublished);

  // For a server thread: the picture at `size` of the latest change, marking
  // the size asked; null, with the size wanted and the run's thread told,
  // when it is not drawn yet (or no picture is: see `current`).
  std::shared_ptr<const std::string> pictureAt(PictureSize size);
  // Of the pictures of the latest change at the sizes asked, the one nearest
  // `size`; without any, the picture at the run's size; null before the
  // first picture.
  std::shared_ptr<const std::string> nearestPicture(PictureSize size) const;

  // For the run's thread: the sizes asked lately that the latest change has
  // no picture of yet, and each such picture once drawn (empty bytes: it
  // could not be drawn, and is not tried again before the next change).
  std::vector<PictureSize> sizesToDraw() const;
  void publishSized(PictureSize size, std::string png);

 private:
  struct Sized {
    PictureSize size;
    uint64_t askedAt = 0;   // the board's count of asks when last asked
    uint64_t drawnFor = 0;  // the change it was drawn for; 0: never
    std::shared_ptr<const std::string> png;
  };

  // Publishes a copy of the latest snapshot changed by `change`.
  void replace(const std::function<void(LiveSnapshot&)>& change, bool pictureChanged);
  Sized& askedLocked(PictureSize size);

  mutable std::mutex mutex_;
  std::shared_ptr<const LiveSnapshot> current_;
  uint64_t change_ = 0;  // changes published, counted from 1
  uint64_t asks_ = 0;
  std::vector<Sized> sized_;
  std::function<void()> onWanted_;
  std::function<void()> onDrawn_;
  std::function<void()> onPublished_;
};

}  // namespace chart_tool::live
