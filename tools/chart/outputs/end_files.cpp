#include "tools/chart/outputs/end_files.h"

#include <fstream>

#include "tools/chart/outputs/run_log.h"
#include "tools/chart/outputs/series_and_drawings.h"

namespace chart_tool::outputs {

bool EndFiles::open(const command_line::OutputSettings& settings, std::string& error) {
  csvPath_ = settings.csvPath;
  drawingsPath_ = settings.drawingsPath;
  from_ = settings.from;
  for (const std::string* path : {&settings.pngPath, &settings.csvPath, &settings.drawingsPath}) {
    std::ofstream probe;
    if (!openOutputFile(probe, *path, error)) return false;
  }
  return true;
}

bool EndFiles::write(chart_host::StudyInstance& instance, std::string& error) const {
  std::ofstream csv;
  std::ofstream drawings;
  if (!openOutputFile(csv, csvPath_, error) || !openOutputFile(drawings, drawingsPath_, error)) return false;
  if (csv.is_open()) writeOutputSeriesCsv(instance, csv, from_);
  if (drawings.is_open()) writeDrawingsJson(instance, drawings);
  for (auto [stream, path] : {std::pair<std::ostream*, const std::string*>{&csv, &csvPath_}, {&drawings, &drawingsPath_}}) {
    if (!path->empty() && !*stream) {
      error = *path + ": writing failed";
      return false;
    }
  }
  return true;
}

}  // namespace chart_tool::outputs
