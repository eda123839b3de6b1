// The chart's picture as a PNG file (--png, frames): drawn in memory, then put
// in the file's place whole, so a viewer never shows half a picture and a
// link planted beside the file is never written through.
#pragma once

#include <string>

#include "host/picture/chart_picture.h"
#include "host/study_instance.h"

namespace chart_tool::outputs {

// False with one line naming the file when the picture cannot be drawn or
// written; an older picture at `path` is then left as it was.
bool writePictureFile(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
                      const std::string& path, std::string& error);

}  // namespace chart_tool::outputs
