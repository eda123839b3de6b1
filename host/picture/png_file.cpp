#include "host/picture/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace chart_host {

namespace {

struct PngStream {
  std::FILE* file;
  int error = 0;  // errno of the first failed write
};

cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length) {
  auto* stream = static_cast<PngStream*>(closure);
  if (std::fwrite(data, 1, length, stream->file) != length) {
    if (stream->error == 0) stream->error = errno != 0 ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendChunk(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool writePngFile(cairo_surface_t* surface, const std::string& path, std::string& error) {
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write chart picture " + path + ": " + std::strerror(errno);
    return false;
  }
  PngStream stream{file};
  errno = 0;
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, writeChunk, &stream);
  const bool flushed = std::fflush(file) == 0;
  if (!flushed && stream.error == 0) stream.error = errno != 0 ? errno : EIO;
  const bool closed = std::fclose(file) == 0;
  if (!closed && stream.error == 0) stream.error = errno != 0 ? errno : EIO;

  if (status != CAIRO_STATUS_SUCCESS || stream.error != 0) {
    std::remove(partial.c_str());
    const char* reason =
        stream.error != 0 ? std::strerror(stream.error) : cairo_status_to_string(status);
    error = "cannot write chart picture " + path + ": " + reason;
    return false;
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    std::remove(partial.c_str());
    error = "cannot write chart picture " + path + ": " + std::strerror(renameError);
    return false;
  }
  return true;
}

bool encodePng(cairo_surface_t* surface, std::string& png, std::string& error) {
  png.clear();
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, appendChunk, &png);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = std::string("cannot encode the chart picture: ") + cairo_status_to_string(status);
  return false;
}

}  // namespace chart_host
