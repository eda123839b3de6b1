// Writes a cairo image surface to a PNG file, or to PNG bytes in memory. The
// picture goes to a file beside the target first and takes the target's name
// only when complete, so a failed write never leaves a broken picture or
// spoils an older one.
#pragma once

#include <cairo.h>

#include <string>

namespace chart_host {

// False with a one-line reason naming the file when it cannot be written.
bool writePngFile(cairo_surface_t* surface, const std::string& path, std::string& error);

// The PNG file's bytes in `png`; false with cairo's reason when it cannot be encoded.
bool encodePng(cairo_surface_t* surface, std::string& png, std::string& error);

}  // namespace chart_host
