#include "tools/chart/outputs/picture_file.h"

#include "tools/support/file_replacement.h"

namespace chart_tool::outputs {

bool writePictureFile(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
                      const std::string& path, std::string& error) {
  if (path.empty()) {
    error = "no file name given for the chart picture";
    return false;
  }
  std::string png;
  if (!chart_host::chartPicturePng(instance, picture, png, error)) {
    error = path + ": " + error;
    return false;
  }
  // The picture is written again at the next run or frame: no flush to disk.
  const support::Status written = support::replaceFile(path, png, support::Durability::unflushed);
  if (!written) error = written.message();
  return written.ok();
}

}  // namespace chart_tool::outputs
