#include "host/picture/chart_picture.h"

#include <cairo.h>

#include "host/picture/picture_layout.h"
#include "host/picture/picture_painter.h"
#include "host/picture/png_file.h"
#include "host/study_instance.h"

namespace chart_host {

namespace {

// Beyond this the picture would take hundreds of megabytes of memory.
constexpr int64_t kMaxPicturePixels = 64'000'000;

void applyLayout(Chart& chart, const PictureLayout& layout) {
  chart.setPlotArea(layout.plot);
  chart.setPriceRange(layout.lowPrice, layout.highPrice);
}

std::string sizeProblem(const ChartPictureOptions& options) {
  const auto size = std::to_string(options.width) + " x " + std::to_string(options.height);
  if (options.width < 1 || options.height < 1 || options.width > kMaxPictureSide_px ||
      options.height > kMaxPictureSide_px) {
    return "size " + size + " is outside 1.." + std::to_string(kMaxPictureSide_px) +
           " pixels a side";
  }
  if (static_cast<int64_t>(options.width) * options.height > kMaxPicturePixels) {
    return "size " + size + " is more than " + std::to_string(kMaxPicturePixels / 1'000'000) +
           " million pixels";
  }
  return {};
}

// Lays the chart out, paints it on an image and hands the image to `save`.
template <typename Save>
bool drawPicture(StudyInstance& instance, const ChartPictureOptions& options, const std::string& name,
                 std::string& error, Save save) {
  if (const std::string problem = sizeProblem(options); !problem.empty()) {
    error = "cannot draw chart picture " + name + ": " + problem;
    return false;
  }
  const PictureLayout layout =
      planPictureLayout(instance, options.width, options.height, options.rightSpace_percent);
  applyLayout(instance.chart(), layout);

  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width_px, layout.height_px);
  cairo_t* cr = cairo_create(surface);
  if (cairo_status(cr) == CAIRO_STATUS_SUCCESS) paintChartPicture(cr, instance, options, layout);
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  bool saved = false;
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot draw chart picture " + name + ": " + cairo_status_to_string(status);
  } else {
    cairo_surface_flush(surface);
    saved = save(surface);
  }
  cairo_surface_destroy(surface);
  return saved;
}

}  // namespace

void layOutChartPicture(StudyInstance& instance, const ChartPictureOptions& options) {
  applyLayout(instance.chart(), planPictureLayout(instance, options.width, options.height,
                                                  options.rightSpace_percent));
}

bool chartPicturePng(StudyInstance& instance, const ChartPictureOptions& options, std::string& png,
                     std::string& error) {
  return drawPicture(instance, options, "in memory", error,
                     [&](cairo_surface_t* surface) { return encodePng(surface, png, error); });
}

}  // namespace chart_host
