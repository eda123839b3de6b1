#include "tools/chart/live/connection_table.h"

namespace chart_tool::live {

void ConnectionTable::add(int fd, uint64_t identity, Clock::time_point now) {
  if (entries_.count(fd) != 0) ++unseen;
  entries_[fd] = Entry{identity, now, false, false, false};
}

void ConnectionTable::handedOver(int fd) {
  if (auto found = entries_.find(fd); found != entries_.end()) found->second.handedOver = true;
}

void ConnectionTable::headersIn(int fd) {
  if (auto found = entries_.find(fd); found != entries_.end()) found->second.headersIn = true;
}

void ConnectionTable::answered(int fd, Clock::time_point now) {
  auto found = entries_.find(fd);
  if (found == entries_.end()) return;
  found->second.headersIn = false;
  found->second.waitingSince = now;
}

void ConnectionTable::remove(int fd) { entries_.erase(fd); }

uint64_t ConnectionTable::identity(int fd) const {
  const auto found = entries_.find(fd);
  return found != entries_.end() ? found->second.identity : 0;
}

std::size_t ConnectionTable::open() const {
  std::size_t count = 0;
  for (const auto& [fd, entry] : entries_) count += entry.cut ? 0 : 1;
  return count;
}

std::vector<std::pair<int, uint64_t>> ConnectionTable::late(Clock::time_point deadline) const {
  std::vector<std::pair<int, uint64_t>> found;
  for (const auto& [fd, entry] : entries_)
    if (entry.handedOver && !entry.cut && !entry.headersIn && entry.waitingSince < deadline)
      found.emplace_back(fd, entry.identity);
  return found;
}

std::optional<std::pair<int, uint64_t>> ConnectionTable::longestWaiting() const {
  const Entry* oldest = nullptr;
  int oldestFd = -1;
  for (const auto& [fd, entry] : entries_) {
    if (!entry.handedOver || entry.cut || entry.headersIn) continue;
    if (oldest == nullptr || entry.waitingSince < oldest->waitingSince) {
      oldest = &entry;
      oldestFd = fd;
    }
  }
  if (oldest == nullptr) return std::nullopt;
  return std::make_pair(oldestFd, oldest->identity);
}

void ConnectionTable::markCut(int fd) {
  if (auto found = entries_.find(fd); found != entries_.end()) found->second.cut = true;
}

}  // namespace chart_tool::live
