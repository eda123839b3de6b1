// The chart picture as a PNG read back: its size, the candles, the level
// lines on their rows, the line series, the price range and the bars shown,
// and the failures that give a reason instead of a picture.
#include "host/picture/chart_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "host/picture/candles.h"
#include "host/picture/picture_layout.h"
#include "host/picture/picture_test_support.h"
#include "host/picture/picture_theme.h"
#include "tools/chart/outputs/picture_file.h"

using namespace chart_host;

namespace {

constexpr HostColor kOrange = rgb(255, 165, 0);
constexpr HostColor kBlue = rgb(40, 120, 255);

class ChartPicture : public testing::Test {
 protected:
  PictureChart chart;
  ScratchFolder folder;
  const PlotArea& plot() { return chart.study.chart.plotArea(); }
  int32_t rowOf(float price) { return chart.study.chart.priceToY(price); }
};

TEST_F(ChartPicture, HasTheAskedSize) {
  chart.addBars(30, 5800.0f);
  const struct {
    int32_t width;
    int32_t height;
  } sizes[] = {{1600, 900}, {640, 360}, {90, 40}, {1, 1}};
  for (const auto& size : sizes) {
    const std::string path = folder.file("size.png");
    ASSERT_TRUE(chart.write(path, size.width, size.height)) << chart.error;
    const PngPixels png(path);
    ASSERT_TRUE(png.loaded());
    EXPECT_EQ(png.width(), size.width);
    EXPECT_EQ(png.height(), size.height);
  }
}

TEST_F(ChartPicture, DrawsCandleBodiesInTheirColours) {
  chart.addBars(20, 5800.0f);
  chart.addBar(5790.0f, 5812.0f, 5788.0f, 5810.0f);  // up
  chart.addBar(5810.0f, 5811.0f, 5789.0f, 5791.0f);  // down
  const std::string path = folder.file("candles.png");
  ASSERT_TRUE(chart.write(path)) << chart.error;
  const PngPixels png(path);
  const PictureLayout layout = planPictureLayout(chart.study.instance, 1200, 700);
  const auto x = [&](int32_t bar) {
    return static_cast<int32_t>(std::floor(layout.barCentreX(bar)));
  };
  EXPECT_EQ(png.at(x(20), rowOf(5800.0f)), picture_theme::kUpCandle);
  EXPECT_EQ(png.at(x(21), rowOf(5800.0f)), picture_theme::kDownCandle);
  // The wick reaches the high; beside it, above the body, is chart.
  EXPECT_EQ(png.at(x(20), rowOf(5811.5f)), picture_theme::kUpCandle);
  EXPECT_NE(png.at(x(20) + 2, rowOf(5811.5f)), picture_theme::kUpCandle);
}

// A level line lies on the row of its price, across the plot; dashes and
// dots cover less of it but still mark it.
TEST_F(ChartPicture, DrawsLevelLinesOnTheRowsOfTheirPrices) {
  chart.addBars(60, 5800.0f);
  const struct {
    float price;
    HostColor color;
    int16_t style;
    int16_t width;
    double minimumShare;
  } levels[] = {{5801.25f, kOrange, 0, 1, 0.9},
                {5797.5f, kBlue, 1, 2, 0.5},
                {5795.0f, rgb(200, 0, 200), 2, 1, 0.25}};
  for (const auto& level : levels) {
    chart.addLevel(level.price, level.color, level.style, level.width, "LVL");
  }
  const std::string path = folder.file("levels.png");
  ASSERT_TRUE(chart.write(path)) << chart.error;
  const PngPixels png(path);
  const int32_t width = plot().right - plot().left;
  for (const auto& level : levels) {
    const int32_t found =
        png.countInRow(rowOf(level.price), plot().left, plot().right, level.color);
    EXPECT_GE(found, level.minimumShare * width) << level.price;
    // Its price tag sits on the axis in its colour.
    EXPECT_GT(png.countInRow(rowOf(level.price), plot().right + 1, png.width(), level.color), 10)
        << level.price;
  }
}

// Where a label's box lands for its alignment flags: left, centre or right
// of the plot; above, below or across its line.
TEST_F(ChartPicture, PlacesLabelsByTheirAlignment) {
  enum Place { kLeft, kCentre, kRight, kAbove, kBelow, kAcross };
  const struct {
    int32_t flags;
    Place horizontal;
    Place vertical;
  } cases[] = {{0, kLeft, kAbove}, {1, kCentre, kAbove},    {2, kRight, kAbove},
               {8, kLeft, kBelow}, {2 + 8, kRight, kBelow}, {1 + 4, kCentre, kAcross}};
  for (const auto& c : cases) {
    PictureChart labelled;
    labelled.addBars(60, 5800.0f);
    labelled.addLevel(5801.5f, kOrange, 0, 1, "ZG: 5801.50", c.flags);
    const std::string path = folder.file("label.png");
    ASSERT_TRUE(labelled.write(path)) << labelled.error;
    const PngPixels png(path);
    const PlotArea area = labelled.study.chart.plotArea();
    // The box's extent, from the pixels of its background.
    int32_t left = INT32_MAX, right = -1, top = INT32_MAX, bottom = -1;
    for (int32_t y = area.top; y < area.bottom; ++y) {
      for (int32_t x = area.left; x < area.right; ++x) {
        if (png.at(x, y) != picture_theme::kLabelBox) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, left) << c.flags;
    const int32_t row = labelled.study.chart.priceToY(5801.5f);
    const int32_t third = (area.right - area.left) / 3;
    const Place horizontal = right < area.left + third   ? kLeft
                             : left > area.right - third ? kRight
                                                         : kCentre;
    const Place vertical = bottom < row ? kAbove : top > row ? kBelow : kAcross;
    EXPECT_EQ(horizontal, c.horizontal) << c.flags;
    EXPECT_EQ(vertical, c.vertical) << c.flags;
  }
}

TEST_F(ChartPicture, DrawsLineSeriesWhereSetAndLeavesValueSeriesOut) {
  chart.addBars(40, 5800.0f);
  chart.refresh();
  HostSubgraph& zeroGamma = chart.study.instance.subgraph(2);  // a line
  HostSubgraph& netGex = chart.study.instance.subgraph(7);     // values only
  ASSERT_EQ(zeroGamma.drawStyle, 4);
  ASSERT_EQ(netGex.drawStyle, 5);
  zeroGamma.primaryColor = kOrange;
  netGex.primaryColor = kBlue;
  for (int32_t bar = 20; bar < 40; ++bar) {
    zeroGamma.values[bar] = bar < 30 ? 5803.0f : 5805.0f;
    netGex.values[bar] = 5796.0f;
  }
  zeroGamma.values[25] = 0.0f;  // a gap
  const std::string path = folder.file("series.png");
  ASSERT_TRUE(chart.write(path)) << chart.error;
  const PngPixels png(path);
  const PictureLayout layout = planPictureLayout(chart.study.instance, 1200, 700);
  const auto x = [&](int32_t bar) {
    return static_cast<int32_t>(std::floor(layout.barCentreX(bar))) + 1;
  };
  EXPECT_EQ(png.at(x(22), rowOf(5803.0f)), kOrange);
  EXPECT_EQ(png.at(x(35), rowOf(5805.0f)), kOrange);
  EXPECT_NE(png.at(x(25), rowOf(5803.0f)), kOrange);
  EXPECT_NE(png.at(x(10), rowOf(5803.0f)), kOrange);
  EXPECT_EQ(png.countInRow(rowOf(5796.0f), plot().left, plot().right, kBlue), 0);
}

TEST_F(ChartPicture, KeepsTheCandlesReadableBesideAFarLevel) {
  chart.addBars(60, 5800.0f);
  chart.addLevel(6500.0f, kOrange);  // far above: left off the scale
  chart.addLevel(5805.0f, kBlue);    // within the bars' range beyond them: taken in
  chart.refresh();
  chart.study.instance.subgraph(0).values[59] = 4000.0f;
  layOutChartPicture(chart.study.instance, ChartPictureOptions{});
  const Chart& shown = chart.study.chart;
  EXPECT_LT(shown.highPrice(), 5830.0f);
  EXPECT_GT(shown.lowPrice(), 5780.0f);
  EXPECT_GT(shown.highPrice(), 5805.0f);
  // The picture's rows are the chart's rows.
  const std::string path = folder.file("far.png");
  ASSERT_TRUE(chart.write(path, 1600, 900)) << chart.error;
  const PngPixels png(path);
  EXPECT_GT(png.countInRow(shown.priceToY(5805.0f), plot().left, plot().right, kBlue), 1000);
  // The far level's price waits at the top of the axis, not in the plot.
  EXPECT_GT(png.countInRow(plot().top + 1, plot().right + 1, png.width(), kOrange), 40);
  for (int32_t y = plot().top; y < plot().bottom; ++y) {
    EXPECT_EQ(png.countInRow(y, plot().left, plot().right, kOrange), 0) << y;
  }
}

TEST_F(ChartPicture, ShowsTheNewestBarsWhenNotAllFit) {
  chart.addBars(1500, 100.0f);  // old bars far below the newest
  chart.addBars(500, 5800.0f);
  const PictureLayout layout = planPictureLayout(chart.study.instance, 1200, 700);
  EXPECT_LT(layout.shownBars, 500);
  EXPECT_EQ(layout.endBar(), 2000);
  EXPECT_GE(layout.barSpacing_px, 5.0);
  EXPECT_GT(layout.lowPrice, 5700.0f);
  EXPECT_LT(layout.newestBarX, layout.plot.right);
  EXPECT_GT(layout.barCentreX(layout.firstBar), layout.plot.left);

  const std::string path = folder.file("newest.png");
  ASSERT_TRUE(chart.write(path)) << chart.error;
  const Bar& newest = chart.study.chart.bars().back();
  EXPECT_EQ(
      PngPixels(path).at(static_cast<int32_t>(std::floor(layout.newestBarX)), rowOf(newest.close)),
      candleColor(newest));
}

// Charts a picture must survive: nothing to show, one bar, prices that are
// not numbers or are enormous, no tick size.
TEST_F(ChartPicture, DrawsOddChartsWithoutFailing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* name;
    std::vector<Bar> bars;
    float tickSize;
  } cases[] = {
      {"NoBars", {}, 0.25f},
      {"OneBar", {{minuteBar(0), 5800, 5801, 5799, 5800.5f, 1}}, 0.25f},
      {"NotNumbers",
       {{minuteBar(0), nan, nan, nan, nan, 1}, {minuteBar(1), 5800, 5801, 5799, 5800, 1}},
       0.25f},
      {"Enormous", {{minuteBar(0), 1e30f, 3e38f, -3e38f, 1e30f, 1}}, 0.25f},
      {"NoTickSize",
       {{minuteBar(0), 0.5f, 0.6f, 0.4f, 0.55f, 1}, {minuteBar(0), 0.5f, 0.6f, 0.4f, 0.45f, 1}},
       0.0f},
  };
  for (const auto& c : cases) {
    PictureChart odd;
    for (const Bar& bar : c.bars) odd.study.chart.appendBar(bar);
    odd.study.chart.setTickSize(c.tickSize);
    odd.addLevel(nan, kOrange, 1, 3, "NaN");
    odd.addLevel(5800.25f, kBlue, 0, 1, "caf\xe9 \xff");  // not UTF-8
    const std::string path = folder.file(std::string(c.name) + ".png");
    EXPECT_TRUE(odd.write(path, 500, 300)) << c.name << ": " << odd.error;
    EXPECT_EQ(PngPixels(path).width(), 500) << c.name;
  }
}

// The levels' age and warning sit at the right of the title bar, the title
// at its left as before; a chart without levels says why in the middle of
// its plot. Without them the picture is as it was.
TEST_F(ChartPicture, MarksLevelsThatAreNotLiveAndSaysWhyThereAreNone) {
  chart.addBars(60, 5800.0f);
  const std::string plain = folder.file("plain.png");
  ASSERT_TRUE(chart.write(plain)) << chart.error;
  ChartPictureOptions options;
  options.width = 1200;
  options.height = 700;
  options.title = "ES_SPX";
  options.dataAge = "levels as of 10:20:05, 2 min ago";
  options.warning = "STALE";
  options.plotNotice = "no answer from the service";
  const std::string marked = folder.file("marked.png");
  ASSERT_TRUE(chart_tool::outputs::writePictureFile(chart.study.instance, options, marked, chart.error)) << chart.error;

  const PngPixels before(plain), after(marked);
  const auto countIn = [](const PngPixels& png, int32_t top, int32_t bottom, int32_t left, int32_t right,
                          HostColor color) {
    int32_t found = 0;
    for (int32_t y = top; y < bottom; ++y) found += png.countInRow(y, left, right, color);
    return found;
  };
  const int32_t titleBottom = plot().top - 1;
  EXPECT_EQ(countIn(before, 0, titleBottom, 0, 1200, picture_theme::kWarning), 0);
  EXPECT_GT(countIn(after, 0, titleBottom, 1100, 1200, picture_theme::kWarning), 400);  // the red box
  EXPECT_EQ(countIn(after, 0, titleBottom, 0, 600, picture_theme::kWarning), 0);
  EXPECT_GT(countIn(after, 0, titleBottom, 1100, 1200, picture_theme::kWarningText), 20);  // its bold text
  // The title stays where it was.
  EXPECT_EQ(countIn(after, 0, titleBottom, 0, 80, picture_theme::kTitleText),
            countIn(before, 0, titleBottom, 0, 80, picture_theme::kTitleText));
  // The notice's box across the middle of the plot, none on the plain chart.
  const int32_t middle = (plot().top + plot().bottom) / 2;
  const int32_t centre = (plot().left + plot().right) / 2;
  EXPECT_EQ(countIn(before, middle - 20, middle + 20, centre - 100, centre + 100, picture_theme::kLabelBox), 0);
  EXPECT_GT(countIn(after, middle - 20, middle + 20, centre - 100, centre + 100, picture_theme::kLabelBox), 2000);
  EXPECT_GT(countIn(after, middle - 20, middle + 20, centre - 100, centre + 100, picture_theme::kTitleText), 50);
}

// Each alert's mark at its bar and price: a triangle pointing the way the
// price crossed, a diamond for near, its name beside it; a mark on a bar
// the picture does not show is left out.
TEST_F(ChartPicture, MarksAlertsAtTheirBarsAndPrices) {
  chart.addBars(60, 5800.0f);
  ChartPictureOptions options;
  options.width = 1200;
  options.height = 700;
  using Shape = AlertMark::Shape;
  options.alertMarks = {{minuteBar(20), 5801.5f, Shape::Up, "ZG"},
                        {minuteBar(40) + 30 * kMicrosecondsPerSecond, 5798.5f, Shape::Down, "MPV"},
                        {minuteBar(50), 5800.5f, Shape::Near, "MCV"},
                        {minuteBar(-5), 5800.0f, Shape::Up, "gone"},
                        {minuteBar(50), 5800.5f, Shape::Down, "MCO"}};
  const std::string path = folder.file("marks.png");
  ASSERT_TRUE(chart_tool::outputs::writePictureFile(chart.study.instance, options, path, chart.error)) << chart.error;
  const PngPixels png(path);
  const PictureLayout layout = planPictureLayout(chart.study.instance, 1200, 700);
  const struct {
    int32_t bar;
    float price;
    HostColor color;
    bool belowWide, aboveWide;  // the shape 3 px aside and 4 px below and above its centre
  } marks[] = {{20, 5801.5f, picture_theme::kAlertUp, true, false},
               {40, 5798.5f, picture_theme::kAlertDown, false, true},
               {50, 5800.5f, picture_theme::kAlertNear, false, false}};
  for (const auto& mark : marks) {
    const auto x = static_cast<int32_t>(std::round(layout.barCentreX(mark.bar)));
    const int32_t y = rowOf(mark.price);
    EXPECT_EQ(png.at(x, y), mark.color) << mark.bar;
    EXPECT_EQ(png.at(x + 3, y + 4) == mark.color, mark.belowWide) << mark.bar;
    EXPECT_EQ(png.at(x + 3, y - 4) == mark.color, mark.aboveWide) << mark.bar;
    // The name on its box right of the mark, in the mark's colour.
    EXPECT_GT(png.countInRow(y, x + 9, x + 50, picture_theme::kLabelBox), 5) << mark.bar;
    int32_t named = 0;
    for (int32_t row = y - 6; row <= y + 6; ++row) named += png.countInRow(row, x + 9, x + 50, mark.color);
    EXPECT_GT(named, 10) << mark.bar;
  }
  // A second alert on the near one's bar and price stands just below it.
  const auto x = static_cast<int32_t>(std::round(layout.barCentreX(50)));
  EXPECT_EQ(png.at(x, rowOf(5800.5f) + 13), picture_theme::kAlertDown);
}

TEST_F(ChartPicture, RefusesWhatItCannotWriteWithAReason) {
  chart.addBars(10, 5800.0f);
  const std::string good = folder.file("good.png");
  ASSERT_TRUE(chart.write(good, 300, 200)) << chart.error;
  const struct {
    const char* name;
    std::string path;
    int32_t width;
    int32_t height;
    const char* reason;
  } cases[] = {
      {"MissingFolder", folder.file("no-such-folder/chart.png"), 800, 600,
       "No such file or directory"},
      {"FolderAsFile", folder.file(""), 800, 600, "cannot be written"},
      {"ZeroWidth", good, 0, 600, "outside 1..16000"},
      {"NegativeHeight", good, 800, -3, "outside 1..16000"},
      {"TooWide", good, 20000, 600, "outside 1..16000"},
      {"TooManyPixels", good, 16000, 16000, "million pixels"},
  };
  for (const auto& c : cases) {
    chart.error.clear();
    EXPECT_FALSE(chart.write(c.path, c.width, c.height)) << c.name;
    EXPECT_NE(chart.error.find(c.reason), std::string::npos) << c.name << ": " << chart.error;
    EXPECT_NE(chart.error.find(c.path), std::string::npos) << c.name << ": " << chart.error;
    EXPECT_EQ(chart.error.find('\n'), std::string::npos) << c.name;
  }
  EXPECT_FALSE(chart.write("", 800, 600));
  EXPECT_FALSE(chart.error.empty());
  // The picture written before is still there, whole.
  EXPECT_EQ(PngPixels(good).width(), 300);
  EXPECT_FALSE(std::filesystem::exists(folder.file(".partial")));
}

}  // namespace
