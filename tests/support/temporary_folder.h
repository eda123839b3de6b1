// A folder of its own for one test's files, made empty in the system's
// temporary folder and removed with everything in it at the end. Portable
// (the Windows test build uses it too); names differ per process and folder.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace test_files {

class TemporaryFolder {
 public:
  TemporaryFolder() : path_(std::filesystem::temp_directory_path() / uniqueName()) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  static std::string uniqueName() {
    static std::atomic<int> made{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return "tarvio-test-" + std::to_string(ticks) + "-" + std::to_string(made++);
  }

  std::filesystem::path path_;
};

}  // namespace test_files
