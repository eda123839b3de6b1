#include "host/picture/chart_picture.h"

#include "host/study_instance.h"

void layOutChartPicture(StudyInstance&, const ChartPictureOptions&) {}

bool writeChartPicture(StudyInstance&, const ChartPictureOptions&, const std::string&,
                       std::string& error) {
  error = "chart pictures are not drawn yet";
  return false;
}
