#include "tools/chart/replaced_file.h"

#include <cstdio>
#include <fstream>

#include "tools/chart/chart_platform.h"

namespace chart_tool {

bool replaceFileWith(const std::string& path, std::string_view content, std::string& error) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    file.flush();
    if (!file) {
      error = "the temporary file " + temporary + " cannot be written";
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (replaceFile(temporary, path, error)) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace chart_tool
