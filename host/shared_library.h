// A shared library loaded into the process, and the symbols it exports. One
// implementation file per platform (dlopen / LoadLibrary).
#pragma once

#include <memory>
#include <string>

namespace chart_host {

class SharedLibrary {
 public:
  // Loads the library at `path`; null with a message naming the file and
  // the platform's reason when it cannot be loaded.
  static std::unique_ptr<SharedLibrary> open(const std::string& path, std::string& error);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // The address of an exported symbol, or null.
  void* symbol(const char* name) const;

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace chart_host
