// Encodes a cairo image surface as PNG bytes in memory; the programs put the
// bytes into files themselves, replacing a file whole.
#pragma once

#include <cairo.h>

#include <string>

namespace chart_host {

// The PNG file's bytes in `png`; false with cairo's reason when it cannot be encoded.
bool encodePng(cairo_surface_t* surface, std::string& png, std::string& error);

}  // namespace chart_host
