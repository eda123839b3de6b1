#include "tools/standin/replay_book.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tools/support/input_file.h"

namespace standin {

namespace fs = std::filesystem;

std::string ReplayBook::load(Endpoint endpoint, const std::string& path) {
  std::error_code error;
  std::vector<std::string> files;
  if (fs::is_directory(path, error)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
      if (entry.is_regular_file(error)) files.push_back(entry.path().string());
    }
    if (error) return "cannot list " + path + ": " + error.message();
    if (files.empty()) return path + " holds no regular files";
    std::sort(files.begin(), files.end());
  } else if (fs::is_regular_file(path, error)) {
    files.push_back(path);
  } else {
    return path + " is neither a file nor a directory";
  }

  std::vector<std::string> bodies(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    support::Result<std::string> body = support::readInputFile(files[i], support::kServiceAnswerBound_bytes);
    if (!body) return body.message();
    bodies[i] = std::move(body.value());
  }
  std::lock_guard lock(mutex_);
  slots_[index(endpoint)] = Slot{std::move(bodies), 0};
  return {};
}

std::optional<std::string> ReplayBook::next(Endpoint endpoint) {
  std::lock_guard lock(mutex_);
  Slot& slot = slots_[index(endpoint)];
  if (slot.bodies.empty()) return std::nullopt;
  const size_t at = std::min(slot.served, slot.bodies.size() - 1);
  ++slot.served;
  return slot.bodies[at];
}

}  // namespace standin
