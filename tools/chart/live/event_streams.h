// The open /events streams of the live view's server, on the server
// library's connections. A stream with nothing to send is suspended, so it
// costs no polling, and is resumed when a chart is published (`wake`) or a
// keep-alive is due (`tick`, a few times a second, sends one after a quiet
// `keepAlive`, well inside the library's idle timeout; it is also how a
// browser gone away is noticed, since a suspended connection is not
// watched). At most `most` streams are open at once: `open` refuses more,
// and the server answers 503 to them, so a page left open in many tabs
// cannot take every connection. `stop` ends every stream at once.
// Thread-safe. The Linux build's only (its server's).
#pragma once

#include <microhttpd.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

#include "tools/chart/live/live_view_events.h"

namespace chart_tool::live {

class EventStreams {
 public:
  using Snapshots = std::function<ChartSnapshots()>;

  EventStreams(ChartNames charts, Snapshots snapshots, std::size_t most, std::chrono::milliseconds keepAlive)
      : charts_(std::move(charts)), snapshots_(std::move(snapshots)), most_(most), keepAlive_(keepAlive) {}
  EventStreams(const EventStreams&) = delete;
  EventStreams& operator=(const EventStreams&) = delete;

  // A response that streams the events to `connection`, for the library to
  // queue; null at the cap or once stopping.
  MHD_Response* open(MHD_Connection* connection);

  void wake();
  void tick();
  // Every stream ends with what it has sent; no new one opens. Before the
  // library stops: it must find no connection suspended.
  void stop();

  std::size_t count() const;

 private:
  struct Stream {
    EventStreams* owner;
    MHD_Connection* connection;
    EventFeed feed;
    std::string pending{};
    std::size_t sent = 0;  // of `pending`
    bool suspended = false;
    bool keepAliveDue = false;
  };

  static ssize_t read(void* cls, uint64_t position, char* buffer, size_t most);
  static void release(void* cls);
  // Under the lock: every suspended stream looks again.
  void resumeAll();

  const ChartNames charts_;
  const Snapshots snapshots_;
  const std::size_t most_;
  const std::chrono::milliseconds keepAlive_;
  mutable std::mutex mutex_;
  std::vector<Stream*> streams_;
  std::chrono::steady_clock::time_point nextKeepAlive_ = std::chrono::steady_clock::now();
  bool stopping_ = false;
};

}  // namespace chart_tool::live
