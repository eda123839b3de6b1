// Loads a study module from its file and finds its three entry points. A
// module that lacks one, or reports an interface version other than the
// host's, is refused with a message a person can act on; nothing of it is
// called after that. The module stays loaded while the LoadedModule lives;
// every StudyInstance using it must be gone first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/shared_library.h"
#include "study/host_interface.h"

namespace chart_host {

class LoadedModule {
 public:
  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }
  int32_t version() const { return version_; }
  StudyFunction studyFunction() const { return study_; }

 private:
  friend class ModuleLoader;
  std::unique_ptr<SharedLibrary> library_;
  std::string path_;
  std::string name_;
  int32_t version_ = 0;
  StudyFunction study_ = nullptr;
};

class ModuleLoader {
 public:
  // The module, or null with `error` set.
  static std::unique_ptr<LoadedModule> load(const std::string& path, std::string& error);
};

}  // namespace chart_host
