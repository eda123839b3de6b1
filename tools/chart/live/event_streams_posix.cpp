#include <algorithm>
#include <cstring>

#include "tools/chart/live/event_streams.h"

namespace chart_tool::live {

namespace {

constexpr size_t kBlock_bytes = 4096;

}  // namespace

MHD_Response* EventStreams::open(MHD_Connection* connection) {
  std::lock_guard lock(mutex_);
  if (stopping_ || streams_.size() >= most_) return nullptr;
  auto* stream = new Stream{this, connection, EventFeed(charts_)};
  MHD_Response* response = MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, kBlock_bytes, &EventStreams::read,
                                                              stream, &EventStreams::release);
  if (response == nullptr) {
    delete stream;
    return nullptr;
  }
  streams_.push_back(stream);
  return response;
}

// The library's thread asks for more of the stream: what is left of the
// events last made, new events, a keep-alive when due, or nothing yet, and
// the connection waits suspended until woken.
ssize_t EventStreams::read(void* cls, uint64_t, char* buffer, size_t most) {
  Stream& stream = *static_cast<Stream*>(cls);
  EventStreams& owner = *stream.owner;
  // Outside the lock: the boards have locks of their own, never held while
  // this one is taken.
  const ChartSnapshots snapshots = owner.snapshots_();
  std::lock_guard lock(owner.mutex_);
  if (owner.stopping_) return MHD_CONTENT_READER_END_OF_STREAM;
  if (stream.sent == stream.pending.size()) {
    stream.pending = stream.feed.next(snapshots);
    stream.sent = 0;
    if (stream.pending.empty() && stream.keepAliveDue) stream.pending = EventFeed::keepAlive();
    stream.keepAliveDue = false;
    if (stream.pending.empty()) {
      MHD_suspend_connection(stream.connection);
      stream.suspended = true;
      return 0;
    }
  }
  const size_t length = std::min(most, stream.pending.size() - stream.sent);
  std::memcpy(buffer, stream.pending.data() + stream.sent, length);
  stream.sent += length;
  return static_cast<ssize_t>(length);
}

void EventStreams::release(void* cls) {
  auto* stream = static_cast<Stream*>(cls);
  EventStreams& owner = *stream->owner;
  {
    std::lock_guard lock(owner.mutex_);
    owner.streams_.erase(std::remove(owner.streams_.begin(), owner.streams_.end(), stream), owner.streams_.end());
  }
  delete stream;
}

void EventStreams::resumeAll() {
  for (Stream* stream : streams_) {
    if (!stream->suspended) continue;
    stream->suspended = false;
    MHD_resume_connection(stream->connection);
  }
}

void EventStreams::wake() {
  std::lock_guard lock(mutex_);
  resumeAll();
}

void EventStreams::tick() {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  if (now < nextKeepAlive_) return;
  nextKeepAlive_ = now + keepAlive_;
  for (Stream* stream : streams_) stream->keepAliveDue = true;
  resumeAll();
}

void EventStreams::stop() {
  std::lock_guard lock(mutex_);
  stopping_ = true;
  resumeAll();
}

std::size_t EventStreams::count() const {
  std::lock_guard lock(mutex_);
  return streams_.size();
}

}  // namespace chart_tool::live
