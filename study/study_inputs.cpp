// The study's 112 configuration inputs as the set-defaults pass declares them.
// The whole declaration is one table built at compile time: inputs that stand
// alone are listed one per row, and the three families that repeat the same
// shape (profile series, prior dots, major levels) are listed one row per
// member and spread over their input ranges. The build fails unless every
// index from 0 to 111 is declared exactly once.
#include "study/study_inputs.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "study/greek_input.h"

namespace tarvio {

namespace {

// One input's declaration. Which value field counts follows the kind, as in
// HostInput: intValue for list, integer, yes/no, colour and time zone,
// floatValue for float, dayFraction for time of day, text for a text default.
struct InputDeclaration {
  int32_t index = -1;
  const char* name = nullptr;
  HostInputKind kind = kInputNone;
  int32_t intValue = 0;
  float floatValue = 0.0f;
  double dayFraction = 0.0;
  const char* text = nullptr;     // text default, or no text
  const char* options = nullptr;  // list options, separated by ';'
  int32_t displayPosition = 0;    // 0: not in the host's settings list
  // When set, `name` is a format whose %s take these in turn: the members of
  // a family share their names' wording.
  const char* nameStem = nullptr;
  const char* nameStem2 = nullptr;
};

constexpr InputDeclaration named(InputDeclaration declaration, const char* stem,
                                 const char* stem2 = nullptr) {
  declaration.nameStem = stem;
  declaration.nameStem2 = stem2;
  return declaration;
}

constexpr InputDeclaration listInput(int32_t index, const char* name, int32_t option,
                                     const char* options, int32_t displayPosition = 0) {
  return {.index = index, .name = name, .kind = kInputList, .intValue = option,
          .options = options, .displayPosition = displayPosition};
}

constexpr InputDeclaration textInput(int32_t index, const char* name, const char* text,
                                     int32_t displayPosition = 0) {
  return {.index = index, .name = name, .kind = kInputText, .text = text,
          .displayPosition = displayPosition};
}

constexpr InputDeclaration floatInput(int32_t index, const char* name, float value,
                                      int32_t displayPosition = 0) {
  return {.index = index, .name = name, .kind = kInputFloat, .floatValue = value,
          .displayPosition = displayPosition};
}

constexpr InputDeclaration integerInput(int32_t index, const char* name, int32_t value) {
  return {.index = index, .name = name, .kind = kInputInteger, .intValue = value};
}

constexpr InputDeclaration yesNoInput(int32_t index, const char* name, bool value) {
  return {.index = index, .name = name, .kind = kInputYesNo, .intValue = value ? 1 : 0};
}

constexpr InputDeclaration colorInput(int32_t index, const char* name, HostColor value) {
  return {.index = index, .name = name, .kind = kInputColor,
          .intValue = static_cast<int32_t>(value)};
}

constexpr InputDeclaration timeOfDayInput(int32_t index, const char* name, double dayFraction) {
  return {.index = index, .name = name, .kind = kInputTimeOfDay, .dayFraction = dayFraction};
}

constexpr InputDeclaration timeZoneInput(int32_t index, const char* name, int32_t zoneIndex) {
  return {.index = index, .name = name, .kind = kInputTimeZone, .intValue = zoneIndex};
}

constexpr const char* kGreekOptions =
    "90d agg Gex;0dte Gex;1dte Gex;0dte Gamma (State Package Only);"
    "1dte Gamma (State Package Only);0dte Delta (State Package Only);"
    "1dte Delta (State Package Only);";

// The list shows the kinds of the "Greek" input's table, each followed by ';',
// in the table's order, so an option's index means what the table says.
constexpr bool listsEveryGreekOption(std::string_view text) {
  for (const tarvio::GreekOption& option : tarvio::kGreekInputOptions) {
    const std::string_view label = option.label;
    if (!text.starts_with(label) || text.substr(label.size(), 1) != ";") return false;
    text.remove_prefix(label.size() + 1);
  }
  return text.empty();
}
static_assert(listsEveryGreekOption(kGreekOptions), "the Greek options must follow their table");

constexpr InputDeclaration kStandaloneInputs[] = {
    // Connection, request window and data selection; the first six are the
    // ones the host lists in its settings, in this order.
    listInput(kPackageInput, "Package", 0, "Classic;State", 1),
    textInput(kApiKeyInput, "API KEY", "<API KEY HERE>", 2),
    textInput(kTickerInput, "Ticker (e.g. SPX, NDX, ES_SPX, NQ_NDX, SPY, AAPL...)", "ES_SPX", 3),
    floatInput(kAdditivePremiumInput, "Set Additive Futures Premium", 0.0f, 4),
    floatInput(kMultiplicativePremiumInput,
               "Set Multiplicative Futures Premium (Applied before Additive Premium)", 1.0f, 5),
    textInput(kFuturesTargetInput,
              "Futures Target (Auto-Convert, e.g. NQ, ES - blank disables)", "", 6),
    listInput(kGreekInput, "Greek", 0, kGreekOptions),
    listInput(kGexDisplayInput, "GEX Volume and/or OI Display", 0, "Volume;OI;Both"),
    timeZoneInput(kTimeZoneInput, "Time Zone", 7),
    timeOfDayInput(kRequestStartTimeInput, "Request Start Time", 0.3958333333333333),  // 09:30
    timeOfDayInput(kRequestEndTimeInput, "Request End Time", 0.9583333333333334),      // 23:00
    integerInput(kRequestIntervalInput, "Request Interval (seconds)", 5),
    yesNoInput(kAllowCopyToOtherChartsInput, "Allow Copy To Other Charts", false),

    // Profile appearance.
    listInput(kProfileDirectionInput, "Profile Direction", 2, "Right;Left;Center"),
    integerInput(kOriginPositionInput, "Bar/Prior Origin Position % (0-100)", 75),
    integerInput(kBarScaleFactorInput, "Bar Scale Factor (Window Width %)", 25),
    yesNoInput(kLogarithmicScalingInput, "Logarithmic Scaling (Horizontal)", false),
    integerInput(kBarTransparencyInput, "Bar Transparency (1 is opaque, 100 is transparent)", 1),
    integerInput(kBarWidthInput, "Bar / Dash Width (Tick Multiple)", 2),
    integerInput(kGexVolumeOffsetInput,
                 "Call/Put GEX Volume Bars Vertical Offset (Tick Multiple, Can Be Negative)", 0),
    integerInput(kGexOiOffsetInput,
                 "Call/Put GEX OI Bars Vertical Offset (Tick Multiple, Can Be Negative)", 0),
    integerInput(kDeltaOffsetInput, "Delta Bars Vertical Offset (Tick Multiple, Can Be Negative)",
                 0),
    integerInput(kGammaOffsetInput, "Gamma Bars Vertical Offset (Tick Multiple, Can Be Negative)",
                 0),
    listInput(kPriorDotsStyleInput, "Prior Dots Style", 1, "Point;Diamond;Square"),
    floatInput(kPriorDotsSizeInput, "Prior Dots Size", 1.0f),

    // Labels of the major-level lines.
    yesNoInput(kShowMajorLabelsInput, "Show Major Labels", true),
    listInput(kMajorLabelHorizontalAlignInput, "Major Label Horizontal Align", 1,
              "Left;Right;Center"),
    listInput(kMajorLabelVerticalAlignInput, "Major Label Vertical Align", 0, "Top;Bottom;Center"),
    integerInput(kMajorLabelFontSizeInput, "Major Label Font Size", 10),
    yesNoInput(kMajorLabelTransparentInput, "Major Label Transparent BG", false),
    listInput(kMajorLabelFormatInput, "Major Label Format", 2,
              "Name Only;Value Only;Name & Value"),
};

// A profile series has a colour and a line style (two adjacent inputs from 17)
// and a top-N filter (one input each from 74), in the same series order. The
// filter names the series by its side of the book.
struct ProfileSeriesInputs {
  const char* name;
  HostColor color;
  const char* filterName;
};

constexpr ProfileSeriesInputs kProfileSeries[] = {
    {"Call GEX Volume", rgb(0, 255, 0), "Call GEX Volume"},
    {"Put GEX Volume", rgb(255, 0, 0), "Put GEX Volume"},
    {"Call GEX OI", rgb(0, 255, 0), "Call GEX OI"},
    {"Put GEX OI", rgb(255, 0, 0), "Put GEX OI"},
    {"Positive Delta", rgb(76, 175, 80), "Long Delta"},
    {"Negative Delta", rgb(208, 2, 27), "Short Delta"},
    {"Long Gamma", rgb(0, 255, 255), "Long Gamma"},
    {"Short Gamma", rgb(199, 19, 240), "Short Gamma"},
};
constexpr const char* kSeriesStyleOptions = "Line;Dot;Dash;Bar";
constexpr int32_t kSeriesStyleBar = 3;

// A prior snapshot's dot has a display switch (from 82) and a colour (from 93):
// the GEX family's five intervals, then delta's and gamma's three. Whether a
// dot is shown at first and its colour follow from its interval.
struct PriorInterval {
  const char* name;
  bool displayed;
  HostColor color;
};
constexpr PriorInterval kPriorIntervals[] = {
    {"1 Minute", false, rgb(255, 255, 255)}, {"5 Minute", true, rgb(255, 255, 255)},
    {"10 Minute", false, rgb(0, 162, 222)},  {"15 Minute", true, rgb(0, 108, 192)},
    {"30 Minute", false, rgb(0, 52, 148)},
};
constexpr int32_t kGexPriorIntervals[] = {0, 1, 2, 3, 4};
constexpr int32_t kGreekPriorIntervals[] = {1, 3, 4};

// A major level has colour, width and style (three adjacent inputs from 33),
// a label (from 60) and a show switch (from 67), in the same level order.
struct MajorLevelInputs {
  const char* name;
  const char* label;
  HostColor color;
};

constexpr MajorLevelInputs kMajorLevels[] = {
    {"Zero Gamma", "ZG", rgb(255, 165, 0)},
    {"Major Call Vol", "MCV", rgb(3, 255, 53)},
    {"Major Put Vol", "MPV", rgb(255, 0, 0)},
    {"Major Call OI", "MCO", rgb(3, 255, 53)},
    {"Major Put OI", "MPO", rgb(255, 0, 0)},
    {"Major Long Gamma", "MLG", rgb(0, 255, 255)},
    {"Major Short Gamma", "MSG", rgb(128, 0, 128)},
};
constexpr int32_t kLevelWidth = 2;
constexpr const char* kLevelStyleOptions = "Solid;Dash;Dot";
constexpr int32_t kLevelStyleDash = 1;

using InputTable = std::array<InputDeclaration, kInputCount>;

// Puts a declaration into its slot. A slot filled twice or an index out of
// range leaves a mark that the completeness check below rejects.
constexpr void place(InputTable& table, bool& clash, const InputDeclaration& declaration) {
  if (declaration.index < 0 || declaration.index >= kInputCount ||
      table[declaration.index].name != nullptr) {
    clash = true;
    return;
  }
  table[declaration.index] = declaration;
}

struct BuiltInputTable {
  InputTable rows{};
  bool clash = false;
};

constexpr BuiltInputTable buildInputTable() {
  BuiltInputTable built;
  auto& rows = built.rows;
  for (const InputDeclaration& declaration : kStandaloneInputs) {
    place(rows, built.clash, declaration);
  }
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(kProfileSeries)); ++i) {
    const ProfileSeriesInputs& series = kProfileSeries[i];
    place(rows, built.clash,
          named(colorInput(kCallGexVolumeColorInput + 2 * i, "%s Color", series.color),
                series.name));
    place(rows, built.clash,
          named(listInput(kCallGexVolumeStyleInput + 2 * i, "%s Line Style", kSeriesStyleBar,
                          kSeriesStyleOptions),
                series.name));
    place(rows, built.clash,
          named(integerInput(kCallGexVolumeFilterInput + i,
                             "Filter %s: Show N Largest (0 = Show All)", 0),
                series.filterName));
  }
  int32_t dot = 0;
  const auto placeDots = [&](const char* family, const auto& intervals) {
    for (const int32_t interval : intervals) {
      const PriorInterval& prior = kPriorIntervals[interval];
      place(rows, built.clash,
            named(yesNoInput(kFirstPriorDotDisplayInput + dot, "Display %s Prior %s Dot",
                             prior.displayed),
                  prior.name, family));
      place(rows, built.clash,
            named(colorInput(kFirstPriorDotColorInput + dot, "%s Prior %s Color", prior.color),
                  prior.name, family));
      ++dot;
    }
  };
  placeDots("GEX", kGexPriorIntervals);
  placeDots("Delta", kGreekPriorIntervals);
  placeDots("Gamma", kGreekPriorIntervals);
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(kMajorLevels)); ++i) {
    const MajorLevelInputs& level = kMajorLevels[i];
    const int32_t first = kZeroGammaColorInput + kMajorLevelInputsStride * i;
    place(rows, built.clash, named(colorInput(first, "%s Color", level.color), level.name));
    place(rows, built.clash, named(integerInput(first + 1, "%s Width", kLevelWidth), level.name));
    place(rows, built.clash,
          named(listInput(first + 2, "%s Style", kLevelStyleDash, kLevelStyleOptions),
                level.name));
    place(rows, built.clash,
          named(textInput(kZeroGammaLabelInput + i, "%s Label", level.label), level.name));
    place(rows, built.clash,
          named(yesNoInput(kShowZeroGammaInput + i, "Show %s", true), level.name));
  }
  return built;
}

constexpr bool declaresEveryInputOnce(const BuiltInputTable& built) {
  if (built.clash) return false;
  for (int32_t i = 0; i < kInputCount; ++i) {
    if (built.rows[i].name == nullptr || built.rows[i].index != i) return false;
  }
  return true;
}

constexpr BuiltInputTable kInputTable = buildInputTable();
static_assert(declaresEveryInputOnce(kInputTable),
              "every input index must be declared exactly once");

// An input's text belongs to the input only while the input is of text kind,
// so leaving that kind releases it rather than orphaning it.
void changeKind(HostInput& input, HostInputKind kind) {
  if (input.kind == kInputText && kind != kInputText) releaseHostString(input.textValue);
  input.kind = kind;
}

// The text of an input that is not (yet) of text kind is not the study's to
// release: it is forgotten, not freed.
void setTextDefault(HostInput& input, const char* text) {
  if (input.kind == kInputText) {
    releaseHostString(input.textValue);
  } else {
    input.textValue.text = nullptr;
    input.textValue.length = 0;
    input.textValue.owned = 0;
  }
  if (text != nullptr && text[0] != '\0') assignHostString(input.textValue, text);
  input.kind = kInputText;
}

void declareInput(HostInput& input, const InputDeclaration& declaration) {
  if (declaration.nameStem != nullptr) {
    formatHostString(input.name, declaration.name, declaration.nameStem, declaration.nameStem2);
  } else {
    assignHostString(input.name, declaration.name);
  }
  switch (declaration.kind) {
    case kInputText:
      setTextDefault(input, declaration.text);
      break;
    case kInputList:
      changeKind(input, kInputList);
      input.intValue = declaration.intValue;
      assignHostString(input.listOptions, declaration.options);
      break;
    case kInputFloat:
      changeKind(input, kInputFloat);
      input.floatValue = declaration.floatValue;
      break;
    case kInputTimeOfDay:
      changeKind(input, kInputTimeOfDay);
      input.dateTimeValue = declaration.dayFraction;
      break;
    default:
      changeKind(input, declaration.kind);
      input.intValue = declaration.intValue;
      break;
  }
  input.displayPosition = declaration.displayPosition;
}

}  // namespace

void declareInputs(HostStudyInterface& sc) {
  for (const InputDeclaration& declaration : kInputTable.rows) {
    declareInput(inputAt(sc, declaration.index), declaration);
  }
}

}  // namespace tarvio
