// What the chart picture tests share: a PNG read back pixel by pixel, a
// scratch folder per test, and a chart of one-minute bars from 09:30 New York
// time with the study on it, ready to draw.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "host/picture/chart_picture.h"
#include "tools/chart/outputs/picture_file.h"
#include "support/study_fixture.h"

using namespace chart_host;

// The pixels of a PNG file, or of an image surface it takes over, as
// HostColor values.
class PngPixels {
 public:
  explicit PngPixels(const std::string& path)
      : PngPixels(cairo_image_surface_create_from_png(path.c_str())) {}
  explicit PngPixels(cairo_surface_t* surface) : surface_(surface) {
    cairo_surface_flush(surface_);
  }
  ~PngPixels() { cairo_surface_destroy(surface_); }
  PngPixels(const PngPixels&) = delete;
  PngPixels& operator=(const PngPixels&) = delete;

  bool loaded() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
  int32_t width() const { return cairo_image_surface_get_width(surface_); }
  int32_t height() const { return cairo_image_surface_get_height(surface_); }
  HostColor at(int32_t x, int32_t y) const {
    if (!loaded() || x < 0 || y < 0 || x >= width() || y >= height()) return 0xFF000000u;
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
    return rgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  // How many pixels of row y in [left, right) have `color`.
  int32_t countInRow(int32_t y, int32_t left, int32_t right, HostColor color) const {
    int32_t found = 0;
    for (int32_t x = left; x < right; ++x) found += at(x, y) == color ? 1 : 0;
    return found;
  }

 private:
  cairo_surface_t* surface_;
};

// A folder of its own for each test, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("chart-picture-" + std::string(test->name()) + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline HostDateTime minuteBar(int minute) { return atTimeOfDay(kMonday2026_03_02, 9, 30 + minute); }

// The study on a chart without bars; tests add bars, drawings and values.
class PictureChart {
 public:
  PictureChart() : study(0) {}

  void addBar(float open, float high, float low, float close) {
    const auto minute = static_cast<int>(study.chart.bars().size());
    study.chart.appendBar(Bar{minuteBar(minute), open, high, low, close, 100});
  }
  // `count` quiet bars about `price`, alternately up and down.
  void addBars(int count, float price) {
    for (int i = 0; i < count; ++i) {
      const float shift = (i % 2 == 0) ? 1.0f : -1.0f;
      addBar(price - shift, price + 2.0f, price - 2.0f, price + shift);
    }
  }
  void addLevel(float price, HostColor color, int16_t style = 0, int16_t width = 2,
                const char* label = "", int32_t labelAlignment = 0) {
    HostDrawingRecord record = makeHostDrawingRecord();
    record.drawingKind = kDrawingKindHorizontalLine;
    record.price = price;
    record.color = color;
    record.lineStyle = style;
    record.lineWidth = width;
    record.labelAlignment = labelAlignment;
    assignHostString(record.labelText, label);
    study.chart.drawings().add(record, study.instance.studyId());
    releaseHostString(record.labelText);
  }
  // Sizes the output series to the bars, as any call does.
  void refresh() {
    study.instance.runCallWith(CallSettings{}, [](HostStudyInterface&) {});
  }

  bool write(const std::string& path, int32_t width = 1200, int32_t height = 700) {
    ChartPictureOptions options;
    options.width = width;
    options.height = height;
    options.title = "ES_SPX";
    return chart_tool::outputs::writePictureFile(study.instance, options, path, error);
  }

  StudyFixture study;
  std::string error;
};
