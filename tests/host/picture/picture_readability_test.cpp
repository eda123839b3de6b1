// What makes the chart picture read at a glance: the study's profile beside
// the candles rather than over them, named tags for levels beyond the price
// range, label and tag text that reads whatever the level's colour, a bar
// still visible on its own level line, a legend of only what is drawn, and a
// title that fits whole.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/picture/axis_tags.h"
#include "host/picture/chart_picture.h"
#include "host/picture/level_lines.h"
#include "host/picture/picture_layout.h"
#include "host/picture/picture_legend.h"
#include "host/picture/picture_test_support.h"
#include "host/picture/picture_theme.h"
#include "host/picture/study_graphics_probe.h"
#include "host/picture/text_contrast.h"
#include "host/picture/title_bar.h"
#include "support/chart_profile_fixture.h"
#include "tools/chart/outputs/picture_title.h"
#include "tools/chart/outputs/picture_file.h"

using namespace chart_host;
using namespace tarvio;

namespace {

constexpr HostColor kCallVolume = rgb(0, 255, 0);

// A cairo context on a scratch surface, for the parts that measure text.
class ScratchContext {
 public:
  ScratchContext()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1600, 900)), cr_(cairo_create(surface_)) {}
  ~ScratchContext() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  cairo_t* get() const { return cr_; }

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// A profile whose put side and priors reach as far left as the scale goes:
// the largest value of all is a prior of a put strike.
std::string wideProfile() {
  return gexResponse(
      "[[5800,100,50,[0,60,0,40,0]],[5795,-120,0,[0,-130,0,-90,0]],[5805,80,0,[0,90,0,20,0]],"
      "[5790,-60,0,[0,-20,0,-10,0]],[5810,40,0,[0,10,0,5,0]]]");
}

class PictureReadability : public ChartProfileFixture {
 protected:
  // Two hours of one-minute bars swinging about 5800, over every strike of the profile.
  PictureReadability() {
    study.chart.clearBars();
    for (int minute = 0; minute < 120; ++minute) {
      const float shift = minute % 2 == 0 ? 8.0f : -8.0f;
      study.chart.appendBar(Bar{minuteBar(minute), 5800.0f - shift, 5812.0f, 5788.0f, 5800.0f + shift, 100});
    }
  }

  ChartPictureOptions options(int32_t width, int32_t height,
                              int32_t rightSpace = kDefaultRightSpace_percent) const {
    ChartPictureOptions picture;
    picture.width = width;
    picture.height = height;
    picture.rightSpace_percent = rightSpace;
    return picture;
  }
  void addLevel(float price, HostColor color, const char* label, int16_t style = 0) {
    HostDrawingRecord record = makeHostDrawingRecord();
    record.drawingKind = kDrawingKindHorizontalLine;
    record.price = price;
    record.color = color;
    record.lineStyle = style;
    record.lineWidth = 2;
    assignHostString(record.labelText, label);
    study.chart.drawings().add(record, study.instance.studyId());
    releaseHostString(record.labelText);
  }

  ScratchFolder folder;
};

TEST_F(PictureReadability, TheProfileStandsRightOfTheNewestCandleAtTheDefaultInputs) {
  loadGex(wideProfile());
  const struct {
    int32_t width;
    int32_t height;
    int32_t rightSpace;
    bool clear;
  } cases[] = {
      {1600, 900, kDefaultRightSpace_percent, true},
      {1200, 700, kDefaultRightSpace_percent, true},
      {800, 450, kDefaultRightSpace_percent, true},
      // Without the space the profile lies over the newest candles, as it did.
      {800, 450, 0, false},
      {1600, 900, 0, false},
  };
  for (const auto& c : cases) {
    const ChartPictureOptions picture = options(c.width, c.height, c.rightSpace);
    layOutChartPicture(study.instance, picture);
    const PictureLayout layout = planPictureLayout(study.instance, c.width, c.height, c.rightSpace);
    const std::vector<RecordedShape> shapes = paint().shapes();
    int32_t left = 0;
    int32_t right = 0;
    shapeColumns(shapes, left, right);
    ASSERT_LT(left, right) << c.width << "x" << c.height;
    // The newest bar's slot ends where the bars' part of the plot ends; its
    // candle lies inside the slot.
    const double newestCandleRight = layout.newestBarX + layout.barSpacing_px / 2.0;
    EXPECT_EQ(left >= newestCandleRight, c.clear)
        << c.width << "x" << c.height << " space " << c.rightSpace << ": profile from " << left
        << ", newest candle to " << newestCandleRight;
    EXPECT_EQ(layout.endBar(), 120) << "the newest bar is always shown";
  }
}

TEST_F(PictureReadability, TheRightSpaceIsClampedAndMovesOnlyTheBars) {
  const PictureLayout none = planPictureLayout(study.instance, 1600, 900, 0);
  const PictureLayout half = planPictureLayout(study.instance, 1600, 900, 50);
  const PictureLayout beyond = planPictureLayout(study.instance, 1600, 900, 400);
  const PictureLayout most = planPictureLayout(study.instance, 1600, 900, kMaxRightSpace_percent);
  const PictureLayout below = planPictureLayout(study.instance, 1600, 900, -5);
  // The plot, and so the study's geometry, stays where it was.
  EXPECT_EQ(half.plot.left, none.plot.left);
  EXPECT_EQ(half.plot.right, none.plot.right);
  EXPECT_EQ(half.plot.top, none.plot.top);
  EXPECT_EQ(half.plot.bottom, none.plot.bottom);
  const double width = half.plot.right - half.plot.left;
  EXPECT_NEAR(half.barsRight, half.plot.right - width / 2.0, 1.0);
  EXPECT_EQ(beyond.barsRight, most.barsRight);
  EXPECT_EQ(below.barsRight, none.barsRight);
  EXPECT_LT(none.plot.right - none.barsRight, 50.0) << "no space asked: only the narrow margin";

  // A narrow picture shows fewer bars beside the space, on the same price
  // scale: an early swing no longer shown still counts.
  study.chart.replaceLastBar(Bar{minuteBar(119), 5800.0f, 5801.0f, 5799.0f, 5800.5f, 100});
  Bar swing = study.chart.bars()[10];
  swing.high = 5830.0f;
  std::vector<Bar> bars = study.chart.bars();
  bars[10] = swing;
  study.chart.clearBars();
  for (const Bar& bar : bars) study.chart.appendBar(bar);
  const PictureLayout flush = planPictureLayout(study.instance, 800, 450, 0);
  const PictureLayout spaced = planPictureLayout(study.instance, 800, 450);
  EXPECT_LT(spaced.shownBars, flush.shownBars);
  EXPECT_GT(spaced.firstBar, 10);
  EXPECT_EQ(spaced.lowPrice, flush.lowPrice);
  EXPECT_EQ(spaced.highPrice, flush.highPrice);
  EXPECT_GE(spaced.highPrice, 5830.0f);
}

TEST_F(PictureReadability, TagsOfLevelsBeyondThePriceRangeCarryTheirNames) {
  addLevel(6100.0f, rgb(3, 255, 53), "");                // named by the caller
  addLevel(6100.0f, rgb(255, 0, 0), "MCV: 6100.00");     // a label with its price
  addLevel(5400.0f, rgb(255, 165, 0), "ZG");             // a label without it
  addLevel(6100.0f, rgb(0, 255, 255), "");               // nothing to name it by
  addLevel(5800.0f, rgb(0, 255, 255), "In range");       // inside: the price only
  const ChartPictureOptions picture = options(1600, 900);
  layOutChartPicture(study.instance, picture);
  const PictureLayout layout = planPictureLayout(study.instance, 1600, 900);
  const int32_t firstLine = study.chart.drawings().all().front().record.lineNumber;

  ScratchContext cr;
  std::vector<AxisTag> tags;
  drawLevelLines(cr.get(), study.chart, layout, {{firstLine, "MCO"}}, StudyGraphics{}, false, tags);
  ASSERT_EQ(tags.size(), 5u);
  // Levels that are not live keep their tags, in their muted colours.
  std::vector<AxisTag> muted;
  drawLevelLines(cr.get(), study.chart, layout, {{firstLine, "MCO"}}, StudyGraphics{}, true, muted);
  ASSERT_EQ(muted.size(), tags.size());
  for (std::size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(muted[i].text, tags[i].text);
    EXPECT_EQ(muted[i].color, picture_theme::mutedColor(tags[i].color));
    EXPECT_NE(muted[i].color, tags[i].color);
  }
  const struct {
    const char* text;
    int32_t offScale;
  } expected[] = {{"MCO 6100.00", 1}, {"MCV: 6100.00", 1}, {"ZG 5400.00", -1}, {"6100.00", 1},
                  {"5800.00", 0}};
  for (const auto& want : expected) {
    const bool found = std::any_of(tags.begin(), tags.end(), [&](const AxisTag& tag) {
      return tag.text == want.text && tag.offScale == want.offScale;
    });
    EXPECT_TRUE(found) << want.text;
  }
}

// The labels keep clear of the places the tags beyond the range stack at, so
// those tags must be put there, whatever tag inside the range wants the spot.
TEST_F(PictureReadability, TagsBeyondTheRangeStackAtTheirEdgeAndTheOthersMoveAside) {
  const ChartPictureOptions picture = options(1600, 900);
  layOutChartPicture(study.instance, picture);
  const PictureLayout layout = planPictureLayout(study.instance, 1600, 900);
  ScratchContext cr;
  const double height = tagHeight(cr.get());
  const int32_t nearBottom = layout.plot.bottom - static_cast<int32_t>(height);
  std::vector<AxisTag> tags = {{nearBottom, rgb(255, 165, 0), "5777.70", false, 0},
                               {layout.plot.bottom - 1, rgb(255, 0, 0), "MPO 5655.80", false, -1},
                               {layout.plot.top, rgb(3, 255, 53), "MCO 6000.00", false, 1},
                               {layout.plot.bottom - 1, rgb(255, 0, 0), "MPV 5705.80", false, -1}};
  const std::vector<PlacedTag> placed = placeAxisTags(cr.get(), tags, layout);
  ASSERT_EQ(placed.size(), 4u);
  auto topOf = [&](const std::string& text) {
    for (const PlacedTag& tag : placed)
      if (tag.tag.text == text) return tag.top;
    return -1.0;
  };
  EXPECT_EQ(topOf("MPO 5655.80"), offScaleTagTop(-1, 0, height, layout));
  EXPECT_EQ(topOf("MPV 5705.80"), offScaleTagTop(-1, 1, height, layout));
  EXPECT_EQ(topOf("MCO 6000.00"), offScaleTagTop(1, 0, height, layout));
  for (std::size_t i = 0; i < placed.size(); ++i)
    for (std::size_t j = i + 1; j < placed.size(); ++j)
      EXPECT_FALSE(placed[i].top < placed[j].bottom && placed[j].top < placed[i].bottom)
          << placed[i].tag.text << " over " << placed[j].tag.text;
}

// Every default level colour of the study, then colours that are hard to
// read on a dark chart or on their own tag.
std::vector<HostColor> levelColours(StudyInstance& instance) {
  std::vector<HostColor> colours;
  for (int32_t level = 0; level < 7; ++level) {
    colours.push_back(static_cast<HostColor>(
                          instance.input(kZeroGammaColorInput + kMajorLevelInputsStride * level).intValue) &
                      0xFFFFFFu);
  }
  return colours;
}

constexpr HostColor kHardColours[] = {
    rgb(128, 0, 128), rgb(0, 0, 128),   rgb(0, 0, 255),     rgb(0, 0, 0),       rgb(64, 64, 64),
    rgb(255, 0, 0),   rgb(120, 120, 120), rgb(255, 255, 255), rgb(19, 23, 34),  rgb(24, 28, 40),
    rgb(199, 19, 240), rgb(0, 52, 148), rgb(128, 128, 0),   rgb(255, 255, 0),   rgb(0, 108, 192),
};

TEST_F(PictureReadability, LabelAndTagTextReadsForEveryLevelColour) {
  std::vector<HostColor> colours = levelColours(study.instance);
  ASSERT_EQ(colours.size(), 7u);
  colours.insert(colours.end(), std::begin(kHardColours), std::end(kHardColours));
  for (HostColor colour : colours) {
    for (HostColor behind : {picture_theme::kLabelBox, picture_theme::kBackground}) {
      const HostColor text = readableTextColor(colour, behind);
      EXPECT_GE(contrastRatio(text, behind), kMinTextContrast) << std::hex << colour << " on " << behind;
    }
    EXPECT_GE(contrastRatio(contrastingText(colour), colour), kMinTextContrast) << std::hex << colour;
  }
}

TEST_F(PictureReadability, ALabelColourThatReadsIsKeptAndOneThatDoesNotKeepsItsHue) {
  EXPECT_NEAR(contrastRatio(rgb(0, 0, 0), rgb(255, 255, 255)), 21.0, 1e-9);
  EXPECT_NEAR(contrastRatio(rgb(3, 255, 53), rgb(3, 255, 53)), 1.0, 1e-9);
  // The bright default green reads on the label box as it is.
  EXPECT_EQ(readableTextColor(rgb(3, 255, 53), picture_theme::kLabelBox), rgb(3, 255, 53));
  // Dark purple is lightened, not swapped for white: red and blue stay above green.
  const HostColor purple = readableTextColor(rgb(128, 0, 128), picture_theme::kLabelBox);
  EXPECT_NE(purple, rgb(255, 255, 255));
  EXPECT_GT(purple & 0xFF, (purple >> 8) & 0xFF);
  EXPECT_GT((purple >> 16) & 0xFF, (purple >> 8) & 0xFF);
}

TEST_F(PictureReadability, ADarkLevelsLabelIsDrawnInItsReadableColour) {
  constexpr HostColor kDarkPurple = rgb(128, 0, 128);
  addLevel(5800.0f, kDarkPurple, "MSG: 5800.00");
  const std::string path = folder.file("dark-label.png");
  std::string error;
  ASSERT_TRUE(chart_tool::outputs::writePictureFile(study.instance, options(1600, 900), path, error)) << error;
  const PngPixels png(path);
  const PictureLayout layout = planPictureLayout(study.instance, 1600, 900);
  const HostColor readable = readableTextColor(kDarkPurple, picture_theme::kLabelBox);
  // The label sits beside its line at the plot's left; its glyphs' cores
  // show the readable colour, none the line's own.
  const int32_t row = study.chart.priceToY(5800.0f);
  int32_t readablePixels = 0;
  int32_t rawPixels = 0;
  for (int32_t y = row - 24; y < row + 24; ++y) {
    for (int32_t x = layout.plot.left; x < layout.plot.left + 160; ++x) {
      readablePixels += png.at(x, y) == readable ? 1 : 0;
      rawPixels += png.at(x, y) == kDarkPurple && std::abs(y - row) > 2 ? 1 : 0;
    }
  }
  EXPECT_GT(readablePixels, 10);
  EXPECT_EQ(rawPixels, 0);
}

TEST_F(PictureReadability, TheLargestBarShowsWhereItMeetsItsOwnLevelLine) {
  loadGex(wideProfile());
  addLevel(5800.0f, kCallVolume, "");  // the largest call bar's strike, in its colour
  const std::string path = folder.file("bar-on-line.png");
  std::string error;
  ASSERT_TRUE(chart_tool::outputs::writePictureFile(study.instance, options(1600, 900), path, error)) << error;
  const PngPixels png(path);
  const PictureLayout layout = planPictureLayout(study.instance, 1600, 900);
  const int32_t row = study.chart.priceToY(5800.0f);

  // The repaint, recorded: the call bar of 5800.
  const std::vector<RecordedShape> bars = paint().shapesOf(ShapeKind::Rectangle);
  const auto bar = std::find_if(bars.begin(), bars.end(), [&](const RecordedShape& shape) {
    return shape.color == kCallVolume && shape.rect.top <= row && row < shape.rect.bottom;
  });
  ASSERT_NE(bar, bars.end());
  const HostRect& r = bar->rect;
  ASSERT_LT(r.right + 20, layout.plot.right) << "the bar must end before the plot does";
  // The bar shows whole but for its own prior dots.
  EXPECT_GT(png.countInRow(row, r.left, r.right, kCallVolume), (r.right - r.left) * 9 / 10);
  // Past the bar's end the line is a sparse trace, so the bar's end shows.
  const int32_t past = layout.plot.right - r.right;
  EXPECT_LT(png.countInRow(row, r.right, layout.plot.right, kCallVolume), past / 2);
  // Over the candles it is the whole line.
  const auto candlesRight = static_cast<int32_t>(layout.barsRight);
  EXPECT_GT(png.countInRow(row, layout.plot.left, candlesRight, kCallVolume),
            (candlesRight - layout.plot.left) * 9 / 10);
}

TEST_F(PictureReadability, TheLegendNamesOnlyWhatIsDrawn) {
  loadGex(wideProfile());
  // A level series over the last hour, and one beyond the price range.
  for (int32_t bar = 60; bar < 120; ++bar) {
    study.instance.subgraph(2).values[bar] = 5799.0f;
    study.instance.subgraph(0).values[bar] = 9000.0f;
  }
  const struct {
    int32_t display;  // the GEX display input's option
    std::vector<std::string> names;
  } cases[] = {
      {0, {"Call GEX Volume", "Put GEX Volume", "5 Minute Prior GEX", "15 Minute Prior GEX"}},
      {2, {"Call GEX Volume", "Put GEX Volume", "Call GEX OI", "5 Minute Prior GEX", "15 Minute Prior GEX"}},
  };
  const std::string zeroGamma = hostStringText(study.instance.subgraph(2).name);
  for (const auto& c : cases) {
    setValue(kGexDisplayInput, c.display);
    const ChartPictureOptions picture = options(1600, 900);
    layOutChartPicture(study.instance, picture);
    const PictureLayout layout = planPictureLayout(study.instance, 1600, 900);
    const std::vector<LegendEntry> entries =
        legendEntries(study.instance, layout, probeStudyGraphics(study.instance));
    std::vector<std::string> names;
    for (const LegendEntry& entry : entries) names.push_back(entry.name);
    std::vector<std::string> expected = c.names;
    expected.push_back(zeroGamma);
    EXPECT_EQ(names, expected) << "display " << c.display;
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().mark, LegendMark::Bar);
    EXPECT_EQ(entries.back().mark, LegendMark::Line);
  }
  // The probe leaves the inputs as they were.
  EXPECT_EQ(static_cast<HostColor>(study.instance.input(kCallGexVolumeColorInput).intValue) & 0xFFFFFFu,
            kCallVolume);
}

TEST_F(PictureReadability, TheTitleFitsWholeAtEverySize) {
  const std::vector<std::string> forms = chart_tool::outputs::titleForms(
      {"SPX", "ESZ6 \u00d71.0000 +7.38", "ESZ6", "State", "0dte Gamma (State Package Only)", "2026-03-02 11:00"});
  const struct {
    int32_t width;
    int32_t height;
    const char* warning;
    bool whole;  // the title unshortened
  } cases[] = {{1600, 900, "", true}, {1600, 900, "REQUESTS HALTED", true}, {800, 450, "", false},
               {800, 450, "REQUESTS HALTED", false}};
  ScratchContext cr;
  for (const auto& c : cases) {
    ChartPictureOptions picture = options(c.width, c.height);
    picture.title = forms.front();
    picture.shorterTitles.assign(forms.begin() + 1, forms.end());
    picture.dataAge = "levels as of 10:59:57, 3 s ago";
    picture.warning = c.warning;
    const PictureLayout layout = planPictureLayout(study.instance, c.width, c.height);
    const std::string shown = shownTitle(cr.get(), picture, layout);
    EXPECT_EQ(shown == forms.front(), c.whole) << c.width << " " << c.warning << ": " << shown;
    // Shortened, it still names the ticker and the contract it is drawn for.
    EXPECT_EQ(shown.rfind("SPX \u2192 ESZ6", 0), 0u) << c.width << " " << c.warning << ": " << shown;
  }
}

}  // namespace
