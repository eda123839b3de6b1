// The study's own graphics on the picture: its profile bars land on the rows
// of their strikes, on top of whatever lies there, and a whole chart with profile,
// levels and level series renders as one would show it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "host/picture/chart_picture.h"
#include "host/picture/picture_layout.h"
#include "host/picture/picture_test_support.h"
#include "render/major_levels.h"
#include "support/chart_profile_fixture.h"
#include "tools/chart/outputs/picture_file.h"

using namespace chart_host;
using namespace tarvio;

namespace {

constexpr HostColor kCallVolume = rgb(0, 255, 0);
constexpr HostColor kZeroGamma = rgb(255, 165, 0);

// Two hours of one-minute bars from 09:30: a climb from 5,795 to about
// 5,810 and back, with noise, the last bar rising through 5800.
void addMorningBars(Chart& chart) {
  chart.clearBars();
  uint32_t seed = 12345;
  const auto noise = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  };
  const auto tick = [](float price) { return std::round(price * 4.0f) / 4.0f; };
  float close = 5795.0f;
  for (int minute = 0; minute < 119; ++minute) {
    const float open = close;
    const float path = 5795.0f + 15.0f * std::sin(3.14159f * minute / 119.0f);
    close = tick(open + (path - open) * 0.25f + noise() * 4.0f);
    const float high = tick(std::max(open, close) + std::fabs(noise()) * 2.5f);
    const float low = tick(std::min(open, close) - std::fabs(noise()) * 2.5f);
    chart.appendBar(Bar{minuteBar(minute), open, high, low, close, 100});
  }
  chart.appendBar(Bar{minuteBar(119), 5798.5f, 5802.75f, 5797.75f, 5802.0f, 100});
}

class ChartPictureProfile : public ChartProfileFixture {
 protected:
  ChartPictureProfile() { addMorningBars(study.chart); }

  bool write(const std::string& path, int32_t width = 1600, int32_t height = 900) {
    ChartPictureOptions options;
    options.width = width;
    options.height = height;
    options.title = "ES_SPX  ·  GEX  ·  90d agg Gex";
    return chart_tool::outputs::writePictureFile(study.instance, options, path, error);
  }
  int32_t rowOf(float price) { return study.chart.priceToY(price); }

  ScratchFolder folder;
  std::string error;
};

// Whether (x, y) lies in a shape drawn after `index` (which then decides
// the pixel), or near an antialiased dot's edge.
bool coveredLater(const std::vector<RecordedShape>& shapes, std::size_t index, int32_t x,
                  int32_t y) {
  for (std::size_t later = index + 1; later < shapes.size(); ++later) {
    const RecordedShape& shape = shapes[later];
    HostRect box = shape.rect;
    if (shape.kind == ShapeKind::Polygon) {
      box = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
      for (const HostPoint& p : shape.points) {
        box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x + 1),
               std::max(box.bottom, p.y + 1)};
      }
    } else if (shape.kind != ShapeKind::Rectangle && shape.kind != ShapeKind::Ellipse) {
      continue;
    }
    if (x >= box.left - 1 && x <= box.right && y >= box.top - 1 && y <= box.bottom) return true;
  }
  return false;
}

TEST_F(ChartPictureProfile, PaintsTheStudyBarsOnTheirStrikeRowsBesideTheCandles) {
  loadGex(gexResponse("[[5800,100,0,[0,60,0,40,0]],[5790,-70,0,[]],[5810,40,0,[]]]"));
  const std::string path = folder.file("profile.png");
  ASSERT_TRUE(write(path)) << error;
  const PngPixels png(path);

  // The same repaint, recorded: every bar's middle shows its colour.
  const std::vector<RecordedShape> shapes = paint().shapes();
  int32_t checked = 0;
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    if (shapes[i].kind != ShapeKind::Rectangle) continue;
    const HostRect& r = shapes[i].rect;
    for (const HostPoint& p : {HostPoint{r.left, r.top}, HostPoint{r.right - 1, r.bottom - 1},
                               HostPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}}) {
      if (coveredLater(shapes, i, p.x, p.y)) continue;
      EXPECT_EQ(png.at(p.x, p.y), shapes[i].color) << p.x << "," << p.y;
      ++checked;
    }
    // Just outside the bar's right edge is not the bar's colour.
    EXPECT_NE(png.at(r.right, (r.top + r.bottom) / 2), shapes[i].color);
  }
  EXPECT_GE(checked, 6);
  EXPECT_EQ(shapes.front().kind, ShapeKind::Rectangle);

  // The largest call bar stands right of the newest candle, whose body spans
  // 5800, in the space the chart leaves beside it.
  const PictureLayout layout = planPictureLayout(study.instance, 1600, 900);
  EXPECT_NE(png.at(static_cast<int32_t>(std::floor(layout.newestBarX)), rowOf(5800.0f)),
            kCallVolume);
}

TEST_F(ChartPictureProfile, RendersAWholeChart) {
  std::string rows = "[";
  for (int strike = 5700; strike <= 5900; strike += 5) {
    const double s = strike;
    const double volume = 900 * std::exp(-std::pow((s - 5825) / 14, 2)) +
                          420 * std::exp(-std::pow((s - 5850) / 9, 2)) -
                          1000 * std::exp(-std::pow((s - 5785) / 13, 2)) + 60 * std::sin(s / 7);
    char row[160];
    std::snprintf(row, sizeof row, "%s[%d,%.1f,%.1f,[%.1f,%.1f,%.1f,%.1f,%.1f]]",
                  strike == 5700 ? "" : ",", strike, volume, volume * 0.6, volume * 0.97,
                  volume * 0.85, volume * 0.8, volume * 0.7, volume * 0.5);
    rows += row;
  }
  rows += "]";
  std::string body = gexResponse(rows);
  for (const auto& [from, to] : {std::pair{"5790.5", "5796.5"},
                                 {"\"major_pos_vol\":5850", "\"major_pos_vol\":5825"},
                                 {"\"major_neg_vol\":5750", "\"major_neg_vol\":5785"},
                                 {"\"major_pos_oi\":5900", "\"major_pos_oi\":5850"},
                                 {"\"major_neg_oi\":5700", "\"major_neg_oi\":5770"}}) {
    body.replace(body.find(from), std::string(from).size(), to);
  }
  loadGex(body);
  int32_t nextDrawingKey = 0;
  study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    drawMajorLevels(sc, nextDrawingKey, 0, *gex, *greek, 0.0f, 1.0f);
  });
  // The levels as the earlier answers left them in the series: zero gamma
  // moved up an hour ago.
  for (int32_t bar = 30; bar < 120; ++bar) {
    study.instance.subgraph(2).values[bar] = bar < 60 ? 5793.0f : 5796.5f;
    study.instance.subgraph(0).values[bar] = 5825.0f;
    study.instance.subgraph(1).values[bar] = 5785.0f;
  }

  const std::string path =
      (std::filesystem::temp_directory_path() / "tarvio-chart-picture-sample.png").string();
  ASSERT_TRUE(write(path)) << error;
  const PngPixels png(path);
  ASSERT_EQ(png.width(), 1600);
  ASSERT_EQ(png.height(), 900);
  const PlotArea plot = study.chart.plotArea();
  EXPECT_GT(png.countInRow(rowOf(5796.5f), plot.left, plot.right, kZeroGamma), 200);
  int32_t callPixels = 0;
  for (int32_t y = plot.top; y < plot.bottom; ++y) {
    callPixels += png.countInRow(y, plot.left, plot.right, kCallVolume);
  }
  EXPECT_GT(callPixels, 1000);
}

}  // namespace
