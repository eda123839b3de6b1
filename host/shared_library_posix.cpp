// Shared libraries on POSIX systems, through dlopen.
#include <dlfcn.h>

#include "host/shared_library.h"

namespace chart_host {

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string& error) {
  // Local binding: two modules exporting the same names must not see each other.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = "cannot load module '" + path + "': " + (reason != nullptr ? reason : "unknown error");
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { dlclose(handle_); }

void* SharedLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace chart_host
