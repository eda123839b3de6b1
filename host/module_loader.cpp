#include "host/module_loader.h"

namespace chart_host {

std::unique_ptr<LoadedModule> ModuleLoader::load(const std::string& path, std::string& error) {
  std::unique_ptr<SharedLibrary> library = SharedLibrary::open(path, error);
  if (!library) return nullptr;

  auto nameFunction = reinterpret_cast<ModuleNameFunction>(library->symbol(kModuleNameExport));
  auto versionFunction = reinterpret_cast<ModuleVersionFunction>(library->symbol(kModuleVersionExport));
  auto studyFunction = reinterpret_cast<StudyFunction>(library->symbol(kStudyFunctionExport));
  for (auto [address, exportName] : {std::pair<bool, const char*>{nameFunction != nullptr, kModuleNameExport},
                                     {versionFunction != nullptr, kModuleVersionExport},
                                     {studyFunction != nullptr, kStudyFunctionExport}}) {
    if (!address) {
      error = "module '" + path + "' is not a study module: it does not export " + exportName;
      return nullptr;
    }
  }

  const int32_t version = versionFunction();
  if (version != kHostInterfaceVersion) {
    error = "module '" + path + "' was built for interface version " + std::to_string(version) +
            "; this host speaks version " + std::to_string(kHostInterfaceVersion);
    return nullptr;
  }

  auto module = std::make_unique<LoadedModule>();
  const char* name = nameFunction();
  module->name_ = name != nullptr ? name : "";
  module->version_ = version;
  module->study_ = studyFunction;
  module->path_ = path;
  module->library_ = std::move(library);
  return module;
}

}  // namespace chart_host
