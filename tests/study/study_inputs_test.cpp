#include "study/study_inputs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "study/input_readers.h"

using namespace tarvio;

namespace {

// A host whose input and subgraph arrays are larger than the study needs, so
// writes past the study's own indices would show.
class DeclaredStudy {
 public:
  DeclaredStudy(int32_t inputCount, int32_t subgraphCount)
      : inputs_(static_cast<std::size_t>(inputCount)),
        subgraphs_(static_cast<std::size_t>(subgraphCount)) {
    sc_.inputs = inputs_.empty() ? nullptr : inputs_.data();
    sc_.inputCount = inputCount;
    sc_.subgraphs = subgraphs_.empty() ? nullptr : subgraphs_.data();
    sc_.subgraphCount = subgraphCount;
  }
  DeclaredStudy(const DeclaredStudy&) = delete;
  DeclaredStudy& operator=(const DeclaredStudy&) = delete;

  ~DeclaredStudy() {
    for (HostInput& input : inputs_) releaseInput(input);
    for (HostSubgraph& subgraph : subgraphs_) releaseHostString(subgraph.name);
    releaseInput(sc_.spareInput);
    releaseHostString(sc_.spareSubgraph.name);
  }

  void declare() {
    declareInputs(sc_);
    declareSubgraphs(sc_);
  }

  HostStudyInterface& sc() { return sc_; }
  HostInput& input(int32_t index) { return inputs_.at(static_cast<std::size_t>(index)); }
  HostSubgraph& subgraph(int32_t index) {
    return subgraphs_.at(static_cast<std::size_t>(index));
  }

 private:
  static void releaseInput(HostInput& input) {
    releaseHostString(input.name);
    releaseHostString(input.textValue);
    releaseHostString(input.listOptions);
  }

  std::vector<HostInput> inputs_;
  std::vector<HostSubgraph> subgraphs_;
  HostStudyInterface sc_{};
};

// What one input must look like after the set-defaults pass. `value` is the
// integer value (list, integer, yes/no, colour, time zone); `number` the float
// or time-of-day value; `text` the text default or the list options.
struct ExpectedInput {
  int32_t index;
  const char* name;
  HostInputKind kind;
  int32_t value;
  double number;
  const char* text;
  int32_t displayPosition;
};

constexpr const char* kSeriesStyles = "Line;Dot;Dash;Bar";
constexpr const char* kLevelStyles = "Solid;Dash;Dot";

const ExpectedInput kExpectedInputs[] = {
    {0, "Package", kInputList, 0, 0, "Classic;State", 1},
    {1, "API KEY", kInputText, 0, 0, "<API KEY HERE>", 2},
    {2, "Ticker (e.g. SPX, NDX, ES_SPX, NQ_NDX, SPY, AAPL...)", kInputText, 0, 0, "ES_SPX", 3},
    {3, "Set Additive Futures Premium", kInputFloat, 0, 0.0, nullptr, 4},
    {4, "Set Multiplicative Futures Premium (Applied before Additive Premium)", kInputFloat, 0,
     1.0, nullptr, 5},
    {5, "Greek", kInputList, 0, 0,
     "90d agg Gex;0dte Gex;1dte Gex;0dte Gamma (State Package Only);1dte Gamma (State Package "
     "Only);0dte Delta (State Package Only);1dte Delta (State Package Only);",
     0},
    {6, "GEX Volume and/or OI Display", kInputList, 0, 0, "Volume;OI;Both", 0},
    {7, "Profile Direction", kInputList, 2, 0, "Right;Left;Center", 0},
    {8, "Bar/Prior Origin Position % (0-100)", kInputInteger, 75, 0, nullptr, 0},
    {9, "Bar Scale Factor (Window Width %)", kInputInteger, 25, 0, nullptr, 0},
    {10, "Logarithmic Scaling (Horizontal)", kInputYesNo, 0, 0, nullptr, 0},
    {11, "Bar Transparency (1 is opaque, 100 is transparent)", kInputInteger, 1, 0, nullptr, 0},
    {12, "Bar / Dash Width (Tick Multiple)", kInputInteger, 2, 0, nullptr, 0},
    {13, "Call/Put GEX Volume Bars Vertical Offset (Tick Multiple, Can Be Negative)",
     kInputInteger, 0, 0, nullptr, 0},
    {14, "Call/Put GEX OI Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInputInteger,
     0, 0, nullptr, 0},
    {15, "Delta Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInputInteger, 0, 0,
     nullptr, 0},
    {16, "Gamma Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInputInteger, 0, 0,
     nullptr, 0},
    {17, "Call GEX Volume Color", kInputColor, 65280, 0, nullptr, 0},
    {18, "Call GEX Volume Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {19, "Put GEX Volume Color", kInputColor, 255, 0, nullptr, 0},
    {20, "Put GEX Volume Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {21, "Call GEX OI Color", kInputColor, 65280, 0, nullptr, 0},
    {22, "Call GEX OI Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {23, "Put GEX OI Color", kInputColor, 255, 0, nullptr, 0},
    {24, "Put GEX OI Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {25, "Positive Delta Color", kInputColor, 5287756, 0, nullptr, 0},
    {26, "Positive Delta Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {27, "Negative Delta Color", kInputColor, 1770192, 0, nullptr, 0},
    {28, "Negative Delta Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {29, "Long Gamma Color", kInputColor, 16776960, 0, nullptr, 0},
    {30, "Long Gamma Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {31, "Short Gamma Color", kInputColor, 15733703, 0, nullptr, 0},
    {32, "Short Gamma Line Style", kInputList, 3, 0, kSeriesStyles, 0},
    {33, "Zero Gamma Color", kInputColor, 42495, 0, nullptr, 0},
    {34, "Zero Gamma Width", kInputInteger, 2, 0, nullptr, 0},
    {35, "Zero Gamma Style", kInputList, 1, 0, kLevelStyles, 0},
    {36, "Major Call Vol Color", kInputColor, 3538691, 0, nullptr, 0},
    {37, "Major Call Vol Width", kInputInteger, 2, 0, nullptr, 0},
    {38, "Major Call Vol Style", kInputList, 1, 0, kLevelStyles, 0},
    {39, "Major Put Vol Color", kInputColor, 255, 0, nullptr, 0},
    {40, "Major Put Vol Width", kInputInteger, 2, 0, nullptr, 0},
    {41, "Major Put Vol Style", kInputList, 1, 0, kLevelStyles, 0},
    {42, "Major Call OI Color", kInputColor, 3538691, 0, nullptr, 0},
    {43, "Major Call OI Width", kInputInteger, 2, 0, nullptr, 0},
    {44, "Major Call OI Style", kInputList, 1, 0, kLevelStyles, 0},
    {45, "Major Put OI Color", kInputColor, 255, 0, nullptr, 0},
    {46, "Major Put OI Width", kInputInteger, 2, 0, nullptr, 0},
    {47, "Major Put OI Style", kInputList, 1, 0, kLevelStyles, 0},
    {48, "Major Long Gamma Color", kInputColor, 16776960, 0, nullptr, 0},
    {49, "Major Long Gamma Width", kInputInteger, 2, 0, nullptr, 0},
    {50, "Major Long Gamma Style", kInputList, 1, 0, kLevelStyles, 0},
    {51, "Major Short Gamma Color", kInputColor, 8388736, 0, nullptr, 0},
    {52, "Major Short Gamma Width", kInputInteger, 2, 0, nullptr, 0},
    {53, "Major Short Gamma Style", kInputList, 1, 0, kLevelStyles, 0},
    {54, "Show Major Labels", kInputYesNo, 1, 0, nullptr, 0},
    {55, "Major Label Horizontal Align", kInputList, 1, 0, "Left;Right;Center", 0},
    {56, "Major Label Vertical Align", kInputList, 0, 0, "Top;Bottom;Center", 0},
    {57, "Major Label Font Size", kInputInteger, 10, 0, nullptr, 0},
    {58, "Major Label Transparent BG", kInputYesNo, 0, 0, nullptr, 0},
    {59, "Major Label Format", kInputList, 2, 0, "Name Only;Value Only;Name & Value", 0},
    {60, "Zero Gamma Label", kInputText, 0, 0, "ZG", 0},
    {61, "Major Call Vol Label", kInputText, 0, 0, "MCV", 0},
    {62, "Major Put Vol Label", kInputText, 0, 0, "MPV", 0},
    {63, "Major Call OI Label", kInputText, 0, 0, "MCO", 0},
    {64, "Major Put OI Label", kInputText, 0, 0, "MPO", 0},
    {65, "Major Long Gamma Label", kInputText, 0, 0, "MLG", 0},
    {66, "Major Short Gamma Label", kInputText, 0, 0, "MSG", 0},
    {67, "Show Zero Gamma", kInputYesNo, 1, 0, nullptr, 0},
    {68, "Show Major Call Vol", kInputYesNo, 1, 0, nullptr, 0},
    {69, "Show Major Put Vol", kInputYesNo, 1, 0, nullptr, 0},
    {70, "Show Major Call OI", kInputYesNo, 1, 0, nullptr, 0},
    {71, "Show Major Put OI", kInputYesNo, 1, 0, nullptr, 0},
    {72, "Show Major Long Gamma", kInputYesNo, 1, 0, nullptr, 0},
    {73, "Show Major Short Gamma", kInputYesNo, 1, 0, nullptr, 0},
    {74, "Filter Call GEX Volume: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {75, "Filter Put GEX Volume: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {76, "Filter Call GEX OI: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {77, "Filter Put GEX OI: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {78, "Filter Long Delta: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {79, "Filter Short Delta: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {80, "Filter Long Gamma: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {81, "Filter Short Gamma: Show N Largest (0 = Show All)", kInputInteger, 0, 0, nullptr, 0},
    {82, "Display 1 Minute Prior GEX Dot", kInputYesNo, 0, 0, nullptr, 0},
    {83, "Display 5 Minute Prior GEX Dot", kInputYesNo, 1, 0, nullptr, 0},
    {84, "Display 10 Minute Prior GEX Dot", kInputYesNo, 0, 0, nullptr, 0},
    {85, "Display 15 Minute Prior GEX Dot", kInputYesNo, 1, 0, nullptr, 0},
    {86, "Display 30 Minute Prior GEX Dot", kInputYesNo, 0, 0, nullptr, 0},
    {87, "Display 5 Minute Prior Delta Dot", kInputYesNo, 1, 0, nullptr, 0},
    {88, "Display 15 Minute Prior Delta Dot", kInputYesNo, 1, 0, nullptr, 0},
    {89, "Display 30 Minute Prior Delta Dot", kInputYesNo, 0, 0, nullptr, 0},
    {90, "Display 5 Minute Prior Gamma Dot", kInputYesNo, 1, 0, nullptr, 0},
    {91, "Display 15 Minute Prior Gamma Dot", kInputYesNo, 1, 0, nullptr, 0},
    {92, "Display 30 Minute Prior Gamma Dot", kInputYesNo, 0, 0, nullptr, 0},
    {93, "1 Minute Prior GEX Color", kInputColor, 16777215, 0, nullptr, 0},
    {94, "5 Minute Prior GEX Color", kInputColor, 16777215, 0, nullptr, 0},
    {95, "10 Minute Prior GEX Color", kInputColor, 14590464, 0, nullptr, 0},
    {96, "15 Minute Prior GEX Color", kInputColor, 12610560, 0, nullptr, 0},
    {97, "30 Minute Prior GEX Color", kInputColor, 9712640, 0, nullptr, 0},
    {98, "5 Minute Prior Delta Color", kInputColor, 16777215, 0, nullptr, 0},
    {99, "15 Minute Prior Delta Color", kInputColor, 12610560, 0, nullptr, 0},
    {100, "30 Minute Prior Delta Color", kInputColor, 9712640, 0, nullptr, 0},
    {101, "5 Minute Prior Gamma Color", kInputColor, 16777215, 0, nullptr, 0},
    {102, "15 Minute Prior Gamma Color", kInputColor, 12610560, 0, nullptr, 0},
    {103, "30 Minute Prior Gamma Color", kInputColor, 9712640, 0, nullptr, 0},
    {104, "Prior Dots Style", kInputList, 1, 0, "Point;Diamond;Square", 0},
    {105, "Prior Dots Size", kInputFloat, 0, 1.0, nullptr, 0},
    {106, "Time Zone", kInputTimeZone, 7, 0, nullptr, 0},
    {107, "Request Start Time", kInputTimeOfDay, 0, 0.3958333333333333, nullptr, 0},
    {108, "Request End Time", kInputTimeOfDay, 0, 0.9583333333333334, nullptr, 0},
    {109, "Request Interval (seconds)", kInputInteger, 5, 0, nullptr, 0},
    {110, "Allow Copy To Other Charts", kInputYesNo, 0, 0, nullptr, 0},
    {111, "Futures Target (Auto-Convert, e.g. NQ, ES - blank disables)", kInputText, 0, 0,
     nullptr, 6},
};

struct ExpectedSubgraph {
  const char* name;
  HostColor color;
};

// 0..6 are level lines, 7..18 values.
const ExpectedSubgraph kExpectedSubgraphs[] = {
    {"Major Call Gamma by Volume", 3538691},
    {"Major Put Gamma by Volume", 255},
    {"Zero Gamma", 42495},
    {"Major Call Gamma by OI", 3538691},
    {"Major Put Gamma by OI", 255},
    {"Major Long Gamma", 16776960},
    {"Major Short Gamma", 8388736},
    {"Net GEX Volume", 65280},
    {"Net GEX OI", 65280},
    {"1 Minute Max Change Call/Put GEX Strike", 16777215},
    {"1 Minute Max Change Call/Put GEX Value", 16777215},
    {"5 Minute Max Change Call/Put GEX Strike", 16111197},
    {"5 Minute Max Change Call/Put GEX Value", 16111197},
    {"10 Minute Max Change Call/Put GEX Strike", 14590464},
    {"10 Minute Max Change Call/Put GEX Value", 14590464},
    {"15 Minute Max Change Call/Put GEX Strike", 12610560},
    {"15 Minute Max Change Call/Put GEX Value", 12610560},
    {"30 Minute Max Change Call/Put GEX Strike", 9712640},
    {"30 Minute Max Change Call/Put GEX Value", 9712640},
};

void expectDeclaredInputs(DeclaredStudy& study) {
  ASSERT_EQ(std::size(kExpectedInputs), static_cast<std::size_t>(kInputCount));
  for (int32_t i = 0; i < kInputCount; ++i) {
    const ExpectedInput& expected = kExpectedInputs[i];
    ASSERT_EQ(expected.index, i) << "expected table out of order";
    SCOPED_TRACE(expected.name);
    const HostInput& input = study.input(i);
    EXPECT_STREQ(hostStringText(input.name), expected.name);
    EXPECT_EQ(input.kind, expected.kind);
    EXPECT_EQ(input.displayPosition, expected.displayPosition);
    switch (expected.kind) {
      case kInputList:
        EXPECT_EQ(input.intValue, expected.value);
        EXPECT_STREQ(hostStringText(input.listOptions), expected.text);
        break;
      case kInputText:
        if (expected.text == nullptr) {
          EXPECT_EQ(input.textValue.text, nullptr);
        } else {
          EXPECT_STREQ(hostStringText(input.textValue), expected.text);
          EXPECT_EQ(input.textValue.owned, 1);
        }
        break;
      case kInputFloat:
        EXPECT_EQ(input.floatValue, static_cast<float>(expected.number));
        break;
      case kInputTimeOfDay:
        EXPECT_EQ(input.dateTimeValue, expected.number);
        break;
      default:
        EXPECT_EQ(input.intValue, expected.value);
        break;
    }
  }
}

void expectDeclaredSubgraphs(DeclaredStudy& study) {
  ASSERT_EQ(std::size(kExpectedSubgraphs), static_cast<std::size_t>(kSubgraphCount));
  for (int32_t i = 0; i < kSubgraphCount; ++i) {
    SCOPED_TRACE(i);
    const HostSubgraph& subgraph = study.subgraph(i);
    const bool level = i <= 6;
    EXPECT_STREQ(hostStringText(subgraph.name), kExpectedSubgraphs[i].name);
    EXPECT_EQ(subgraph.primaryColor, kExpectedSubgraphs[i].color);
    EXPECT_EQ(subgraph.drawStyle, level ? 4 : 5);
    EXPECT_EQ(subgraph.lineWidth, level ? 2 : 0);
    EXPECT_EQ(subgraph.lineAttribute, level ? 1 : 0);
  }
}

TEST(StudyInputs, DeclaresEveryInputAndSubgraph) {
  DeclaredStudy study(128, 60);
  study.declare();
  expectDeclaredInputs(study);
  expectDeclaredSubgraphs(study);
  // Nothing is written beyond the study's own inputs and subgraphs.
  for (int32_t i = kInputCount; i < 128; ++i) {
    EXPECT_EQ(study.input(i).kind, kInputNone);
    EXPECT_EQ(study.input(i).name.text, nullptr);
  }
  for (int32_t i = kSubgraphCount; i < 60; ++i) EXPECT_EQ(study.subgraph(i).name.text, nullptr);
}

TEST(StudyInputs, DefaultsReadBackThroughTheReaders) {
  DeclaredStudy study(128, 60);
  study.declare();
  EXPECT_STREQ(readText(study.input(kFuturesTargetInput)), "Unset");
  EXPECT_STREQ(readText(study.input(kTickerInput)), "ES_SPX");
  EXPECT_EQ(readInteger(study.input(kRequestStartTimeInput)), 34200);
  EXPECT_EQ(readInteger(study.input(kRequestEndTimeInput)), 82800);
  EXPECT_EQ(readIndex(study.input(kTimeZoneInput)), 7);
  EXPECT_EQ(readColor(study.input(kShortGammaColorInput)), 0xF013C7u);
}

// The set-defaults pass may run again on the same inputs; the asan build
// checks that the first declaration's texts are released, not leaked.
TEST(StudyInputs, DeclaringTwiceGivesTheSameResultWithoutLeaking) {
  DeclaredStudy study(128, 60);
  study.declare();
  study.declare();
  expectDeclaredInputs(study);
  expectDeclaredSubgraphs(study);
}

TEST(StudyInputs, TextDefaultReplacesTheInputsOwnTextOnly) {
  DeclaredStudy study(128, 60);
  // A text input's own text is released and replaced (a leak otherwise).
  assignHostString(study.input(kApiKeyInput).textValue, "old key");
  study.input(kApiKeyInput).kind = kInputText;
  // A non-text input's text is not the study's: it must not be freed, which
  // the asan build would report for this static buffer.
  static char foreign[] = "not ours";
  HostInput& ticker = study.input(kTickerInput);
  ticker.kind = kInputFloat;
  ticker.textValue = HostString{foreign, 8, 1, 0};
  // An empty default leaves no text even where one was held.
  assignHostString(study.input(kFuturesTargetInput).textValue, "NQ");
  study.input(kFuturesTargetInput).kind = kInputText;

  study.declare();
  EXPECT_STREQ(hostStringText(study.input(kApiKeyInput).textValue), "<API KEY HERE>");
  EXPECT_STREQ(hostStringText(ticker.textValue), "ES_SPX");
  EXPECT_EQ(ticker.kind, kInputText);
  EXPECT_EQ(study.input(kFuturesTargetInput).textValue.text, nullptr);
  EXPECT_EQ(study.input(kFuturesTargetInput).kind, kInputText);
}

// A host with fewer inputs or subgraphs clamps the indices; the declarations
// then overwrite each other on the last elements but must neither crash nor
// leak.
TEST(StudyInputs, ShortOrMissingHostArraysAreSafe) {
  for (const auto& [inputs, subgraphs] : {std::pair{3, 2}, std::pair{1, 1}, std::pair{0, 0}}) {
    SCOPED_TRACE(inputs);
    DeclaredStudy study(inputs, subgraphs);
    study.declare();
    study.declare();
    if (inputs == 1) {
      // Every declaration lands on the one input; the last one is 111's.
      EXPECT_EQ(study.input(0).kind, kInputText);
      EXPECT_EQ(study.input(0).displayPosition, 6);
    } else if (inputs > 1) {
      EXPECT_STREQ(hostStringText(study.input(0).name), "Package");
    } else {
      EXPECT_EQ(study.sc().spareInput.kind, kInputText);
    }
  }
}

}  // namespace
