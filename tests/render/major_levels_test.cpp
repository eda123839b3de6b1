// The major levels as chart drawings and output series: keys, labels, removal,
// the kinds and the max-change outputs.
#include <gtest/gtest.h>

#include <string>

#include "render/level_line.h"
#include "render/major_levels.h"
#include "study/instance_state.h"
#include "support/chart_profile_fixture.h"

using namespace tarvio;

namespace {

constexpr const char* kMaxPriors = R"("max_priors":[[5800,-1.5],[5805,2.5],[5810],[],[5820,5.5]],)";

std::string withField(std::string body, const std::string& from, const std::string& to) {
  return body.replace(body.find(from), from.size(), to);
}

class MajorLevels : public ChartProfileFixture {
 protected:
  // Runs the levels within a study call, as the request driver does.
  int32_t drawLevels(float additive = 0.0f, float multiplier = 1.0f) {
    int32_t nextDrawingKey = 0;
    study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      drawMajorLevels(sc, nextDrawingKey, 0, *gex, *greek, additive, multiplier);
    });
    return nextDrawingKey;
  }
  // The line kept for the level drawn in `place` (0 first) on the last call.
  int32_t keptLine(int32_t place) {
    return study.instance.store().intValue(kFirstDrawingKey + place);
  }
  const ChartDrawing* lineUnder(int32_t place) {
    return study.chart.drawings().find(keptLine(place));
  }
  float& output(int32_t index) {
    return subgraphValueAt(study.instance.subgraph(index), study.instance.record().currentBarIndex);
  }
  HostColor outputColor(int32_t index) {
    return subgraphColorAt(study.instance.subgraph(index), study.instance.record().currentBarIndex);
  }
};

TEST_F(MajorLevels, GexLevelsBecomeFiveLabelledLinesAndTheirOutputs) {
  loadGex(gexResponse("[[5800,100,0,[]]]"));
  EXPECT_EQ(drawLevels(), kFirstDrawingKey + 5);
  const struct {
    int32_t place;
    float price;
    const char* label;
    int32_t output;
  } expected[] = {{0, 5850, "MCV: 5850.00", 0},    {1, 5750, "MPV: 5750.00", 1},
                  {2, 5790.5f, "ZG: 5790.50", 2}, {3, 5900, "MCO: 5900.00", 3},
                  {4, 5700, "MPO: 5700.00", 4}};
  for (const auto& level : expected) {
    const ChartDrawing* line = lineUnder(level.place);
    ASSERT_NE(line, nullptr) << level.place;
    EXPECT_EQ(line->record.price, level.price) << level.place;
    EXPECT_EQ(line->label, level.label);
    EXPECT_EQ(output(level.output), level.price);
  }
  EXPECT_EQ(study.instance.store().intValue(kLastDrawingKeyKey), kFirstDrawingKey + 4);
  EXPECT_EQ(output(7), -1234.5f);
  EXPECT_EQ(output(8), 98765.25f);

  const HostDrawingRecord& zeroGamma = lineUnder(2)->record;
  EXPECT_EQ(zeroGamma.drawingKind, 3);
  EXPECT_EQ(zeroGamma.hostMode, 3);
  EXPECT_EQ(zeroGamma.color, rgb(255, 165, 0));
  EXPECT_EQ(zeroGamma.lineWidth, 2);
  EXPECT_EQ(zeroGamma.lineStyle, 1);
  EXPECT_EQ(zeroGamma.fontSize, 10);
  EXPECT_EQ(zeroGamma.labelAlignment, 2);  // right, top
  EXPECT_EQ(zeroGamma.transparentLabelBackground, 0);
  EXPECT_EQ(zeroGamma.copyToOtherCharts, 0);
  EXPECT_EQ(zeroGamma.copySource, makeHostDrawingRecord().copySource);

  // A second response replaces the same drawings.
  const int32_t line = keptLine(2);
  drawLevels();
  EXPECT_EQ(keptLine(2), line);
  EXPECT_EQ(study.chart.drawings().all().size(), 5u);
}

struct LabelCase {
  const char* name;
  int32_t format;
  const char* labelText;  // null: the label input holds no text
  float additive;
  float multiplier;
  const char* label;
};

class LevelLabels : public MajorLevels, public testing::WithParamInterface<LabelCase> {};

TEST_P(LevelLabels, ReadByTheirFormat) {
  loadGex(withField(gexResponse("[]"), "5790.5", "500"));
  setValue(kMajorLabelFormatInput, GetParam().format);
  HostInput& label = study.instance.input(kZeroGammaLabelInput);
  if (GetParam().labelText == nullptr) {
    releaseHostString(label.textValue);
  } else {
    assignHostString(label.textValue, GetParam().labelText);
  }
  drawLevels(GetParam().additive, GetParam().multiplier);
  ASSERT_NE(lineUnder(2), nullptr);
  EXPECT_EQ(lineUnder(2)->label, GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LevelLabels,
    testing::Values(LabelCase{"NameAndValue", 2, "ZG", 0, 1, "ZG: 500.00"},
                    LabelCase{"NameAndConvertedValue", 2, "ZG", 10, 1.001f, "ZG: 510.50"},
                    LabelCase{"NameOnly", 0, "ZG", 10, 1.001f, "ZG"},
                    LabelCase{"ValueOnly", 1, "ZG", 10, 1.001f, "510.50"},
                    LabelCase{"UnknownFormat", 8, "Zero", 0, 1, "Zero: 500.00"},
                    LabelCase{"NoTextNameOnly", 0, nullptr, 0, 1, "Unset"},
                    LabelCase{"NoTextNameAndValue", 2, nullptr, 0, 1, "Unset: 500.00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevelLabelAlignment, CombinesHorizontalAndVerticalFlags) {
  EXPECT_EQ(labelAlignmentFlags(2, 1), 9);  // centre, bottom
  EXPECT_EQ(labelAlignmentFlags(1, 0), 2);  // right, top
  EXPECT_EQ(labelAlignmentFlags(0, 2), 4);  // left, centre
  EXPECT_EQ(labelAlignmentFlags(0, 0), 0);
  EXPECT_EQ(labelAlignmentFlags(-3, 7), 2);
}

TEST_F(MajorLevels, LinesWithoutLabelsKeepTheRecordsInitialLabelFields) {
  loadGex(gexResponse("[]"));
  setValue(kShowMajorLabelsInput, 0);
  setValue(kMajorLabelHorizontalAlignInput, 2);
  setValue(kMajorLabelFontSizeInput, 30);
  setValue(kAllowCopyToOtherChartsInput, 1);
  drawLevels();
  const ChartDrawing* line = lineUnder(2);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->label, "");
  EXPECT_EQ(line->record.fontSize, 10);
  EXPECT_EQ(line->record.labelAlignment, 0);
  EXPECT_EQ(line->record.copyToOtherCharts, 1);
  EXPECT_EQ(line->record.copySource, 0);
  EXPECT_EQ(line->record.copyFlag, 1);
}

TEST_F(MajorLevels, StyleIndicesBecomeLineStyleCodes) {
  loadGex(gexResponse("[]"));
  const int32_t zeroGammaStyle = kZeroGammaColorInput + 2;
  for (const auto& [index, code] : {std::pair{0, 0}, {1, 1}, {2, 2}, {5, 0}, {-1, 0}}) {
    setValue(zeroGammaStyle, index);
    drawLevels();
    EXPECT_EQ(lineUnder(2)->record.lineStyle, code) << index;
  }
}

struct RemovalCase {
  const char* name;
  bool zeroLevel;
  int32_t width;
  int32_t shown;
  bool outputWritten;
};

class LevelRemoval : public MajorLevels, public testing::WithParamInterface<RemovalCase> {};

TEST_P(LevelRemoval, DeletesTheKeptLine) {
  loadGex(gexResponse("[]"));
  drawLevels();
  const int32_t line = keptLine(2);
  ASSERT_NE(study.chart.drawings().find(line), nullptr);

  if (GetParam().zeroLevel) loadGex(withField(gexResponse("[]"), "5790.5", "0"));
  setValue(kZeroGammaColorInput + 1, GetParam().width);
  setValue(kShowZeroGammaInput, GetParam().shown);
  output(2) = 123.0f;
  EXPECT_EQ(drawLevels(), kFirstDrawingKey + 5);
  EXPECT_EQ(study.chart.drawings().find(line), nullptr);
  EXPECT_EQ(keptLine(2), 0);
  EXPECT_EQ(study.chart.drawings().all().size(), 4u);
  EXPECT_EQ(output(2), GetParam().outputWritten ? 5790.5f : 123.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, LevelRemoval,
    testing::Values(RemovalCase{"LevelOfZero", true, 2, 1, false},
                    RemovalCase{"ZeroWidth", false, 0, 1, true},
                    RemovalCase{"NegativeWidth", false, -2, 1, true},
                    RemovalCase{"Hidden", false, 2, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MajorLevels, KindChangesReuseTheKeysOfTheirPosition) {
  loadGex(gexResponse("[]"));
  loadGreek(greekResponse("[]"));
  drawLevels();
  const int32_t lines[] = {keptLine(0), keptLine(1), keptLine(2), keptLine(3), keptLine(4)};

  setValue(kGreekInput, 3);
  EXPECT_EQ(drawLevels(), kFirstDrawingKey + 2);
  for (int32_t place = 0; place < 5; ++place) EXPECT_EQ(keptLine(place), lines[place]) << place;
  EXPECT_EQ(lineUnder(0)->label, "MLG: 5880.00");
  EXPECT_EQ(lineUnder(1)->label, "MSG: 5720.00");
  EXPECT_EQ(lineUnder(1)->record.color, rgb(128, 0, 128));
  EXPECT_EQ(lineUnder(2)->label, "ZG: 5790.50");
  EXPECT_EQ(output(5), 5880.0f);
  EXPECT_EQ(output(6), 5720.0f);

  // Delta writes the gamma outputs and touches no drawing.
  output(5) = 0.0f;
  setValue(kGreekInput, 6);
  EXPECT_EQ(drawLevels(3.0f, 1.0f), kFirstDrawingKey);
  EXPECT_EQ(output(5), 5883.0f);
  EXPECT_EQ(lineUnder(0)->label, "MLG: 5880.00");
  EXPECT_EQ(study.chart.drawings().all().size(), 5u);

  setValue(kGreekInput, 7);
  EXPECT_EQ(drawLevels(), kFirstDrawingKey);
}

TEST_F(MajorLevels, MaxPriorsFillTheChangeOutputsWithTheirColours) {
  loadGex(withField(gexResponse("[]"), R"("strikes":)", std::string(kMaxPriors) + R"("strikes":)"));
  drawLevels(1.0f, 2.0f);
  const float strikes[] = {11601, 11611, 11621, 1, 11641};
  const float changes[] = {-1.5f, 2.5f, 0, 0, 5.5f};
  const HostColor colors[] = {0x0000FF, 0x35FF03, 0x0000FF, 0x0000FF, 0x35FF03};
  for (int32_t j = 0; j < 5; ++j) {
    EXPECT_EQ(output(9 + 2 * j), strikes[j]) << j;
    EXPECT_EQ(output(10 + 2 * j), changes[j]) << j;
    EXPECT_EQ(outputColor(9 + 2 * j), colors[j]) << j;
  }
  // Sums are written as they are.
  EXPECT_EQ(output(7), -1234.5f);
}

TEST_F(MajorLevels, FewerThanFiveMaxPriorsLeaveTheChangeOutputsAlone) {
  loadGex(withField(gexResponse("[]"), R"("strikes":)", R"("max_priors":[[1,2],[3,4],[5,6],[7,8]],"strikes":)"));
  for (int32_t i = 9; i < 19; ++i) output(i) = 42.0f;
  drawLevels();
  for (int32_t i = 9; i < 19; ++i) EXPECT_EQ(output(i), 42.0f) << i;
}

}  // namespace
