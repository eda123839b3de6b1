#include "tools/standin/file_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace standin {

std::string readWholeFile(const std::string& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open " + path + ": " + std::strerror(errno);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return "cannot read " + path;
  content = std::move(bytes).str();
  return {};
}

std::string writeFileAtomically(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".tmp." + std::to_string(::getpid());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return "cannot create " + temporary + ": " + std::strerror(errno);
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(temporary.c_str());
    return "cannot write " + temporary;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(temporary.c_str());
    return "cannot rename " + temporary + " to " + path + ": " + reason;
  }
  return {};
}

}  // namespace standin
