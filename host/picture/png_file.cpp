#include "host/picture/png_file.h"

namespace chart_host {

namespace {

cairo_status_t appendChunk(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool encodePng(cairo_surface_t* surface, std::string& png, std::string& error) {
  png.clear();
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, appendChunk, &png);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = std::string("cannot encode the chart picture: ") + cairo_status_to_string(status);
  return false;
}

}  // namespace chart_host
