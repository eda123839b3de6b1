#include "render/major_levels.h"

#include <array>
#include <cmath>
#include <iterator>
#include <optional>

#include "render/level_line.h"
#include "study/chart_price.h"
#include "study/greek_input.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

namespace tarvio {

namespace {

// Output series 0..6 hold the major levels' chart prices, in the order their
// lines take keys: call and put volume, zero gamma, call and put open
// interest (GEX); long and short gamma. Each level's inputs (colour, width and
// style from 33 in threes, label from 60, show switch from 67) sit at this
// place among the level inputs.
constexpr auto& kInputPlaceOfLevel = kLevelInputPlaceInDrawingOrder;
constexpr int32_t kLevelCount = static_cast<int32_t>(std::size(kInputPlaceOfLevel));
constexpr int32_t kFirstGammaLevel = kFirstGammaLevelInDrawingOrder;

// The summary values and the largest changes follow the levels.
enum ValueOutputs : int32_t {
  kNetGexVolumeOutput = 7,
  kNetGexOpenInterestOutput = 8,
  kFirstMaxChangeOutput = 9,  // strike and value pairs for 1, 5, 10, 15, 30 minutes
};

constexpr std::size_t kMaxChangeIntervals = 5;
constexpr HostColor kRisingChangeColor = 0x35FF03;
constexpr HostColor kFallingChangeColor = 0x0000FF;

// The inputs of every level read once per call; the label texts are copies
// owned here so they cannot change under the drawing.
class LevelSettings {
 public:
  explicit LevelSettings(HostStudyInterface& sc) {
    shared_.copyToOtherCharts = readYesNo(inputAt(sc, kAllowCopyToOtherChartsInput)) != 0;
    shared_.labelsShown = readYesNo(inputAt(sc, kShowMajorLabelsInput)) != 0;
    shared_.formatIndex = readIndex(inputAt(sc, kMajorLabelFormatInput));
    shared_.horizontalIndex = readIndex(inputAt(sc, kMajorLabelHorizontalAlignInput));
    shared_.verticalIndex = readIndex(inputAt(sc, kMajorLabelVerticalAlignInput));
    shared_.fontSize = readInteger(inputAt(sc, kMajorLabelFontSizeInput));
    shared_.transparentBackground = readYesNo(inputAt(sc, kMajorLabelTransparentInput)) != 0;
    for (int32_t level = 0; level < kLevelCount; ++level) {
      const int32_t place = kInputPlaceOfLevel[level];
      const int32_t first = kZeroGammaColorInput + kMajorLevelInputsStride * place;
      assignHostString(labels_[level], readText(inputAt(sc, kZeroGammaLabelInput + place)));
      looks_[level] = LevelLineLook{readColor(inputAt(sc, first)), readInteger(inputAt(sc, first + 1)),
                                    readIndex(inputAt(sc, first + 2)),
                                    readYesNo(inputAt(sc, kShowZeroGammaInput + place)) != 0,
                                    hostStringText(labels_[level])};
    }
  }
  ~LevelSettings() {
    for (HostString& label : labels_) releaseHostString(label);
  }
  LevelSettings(const LevelSettings&) = delete;
  LevelSettings& operator=(const LevelSettings&) = delete;

  const SharedLevelSettings& shared() const { return shared_; }
  const LevelLineLook& look(int32_t level) const { return looks_[level]; }

 private:
  SharedLevelSettings shared_{};
  std::array<HostString, kLevelCount> labels_{};
  std::array<LevelLineLook, kLevelCount> looks_{};
};

float& outputAt(HostStudyInterface& sc, int32_t output) {
  return subgraphValueAt(subgraphAt(sc, output), sc.currentBarIndex);
}

// A level of exactly 0 means the snapshot has none, and so does one that is
// not a finite price: the output keeps its value.
void writeLevelOutput(HostStudyInterface& sc, int32_t output, float level, const Premiums& premiums) {
  if (level == 0.0f) return;
  if (const std::optional<float> price = chartPrice(level, premiums)) outputAt(sc, output) = *price;
}

// A value beyond the float range is absent: the output keeps its value.
void writeFiniteOutput(HostStudyInterface& sc, int32_t output, float value) {
  if (std::isfinite(value)) outputAt(sc, output) = value;
}

void writeMaxChanges(HostStudyInterface& sc, const GexProfile& gex, const Premiums& premiums) {
  if (gex.max_priors.size() < kMaxChangeIntervals) return;
  for (std::size_t j = 0; j < kMaxChangeIntervals; ++j) {
    const std::vector<float>& entry = gex.max_priors[j];
    const float strike = entry.empty() ? 0.0f : entry[0];
    const float change = entry.size() < 2 ? 0.0f : entry[1];
    const int32_t strikeOutput = kFirstMaxChangeOutput + 2 * static_cast<int32_t>(j);
    if (const std::optional<float> price = chartPrice(strike, premiums)) {
      outputAt(sc, strikeOutput) = *price;
    }
    writeFiniteOutput(sc, strikeOutput + 1, change);
    const bool rising = entry.size() == 2 && change > 0.0f;
    subgraphColorAt(subgraphAt(sc, strikeOutput), sc.currentBarIndex) =
        rising ? kRisingChangeColor : kFallingChangeColor;
  }
}

// Writes the level's output and keeps or removes its line, under the next key.
void updateLevel(HostStudyInterface& sc, int32_t& nextDrawingKey, int32_t level, float value,
                 const LevelSettings& settings, const Premiums& premiums) {
  writeLevelOutput(sc, level, value, premiums);
  drawLevelLine(sc, nextDrawingKey, value, settings.look(level), premiums, settings.shared());
}

void updateGex(HostStudyInterface& sc, int32_t& nextDrawingKey, const GexProfile& gex,
               const LevelSettings& settings, const Premiums& premiums) {
  const float levels[] = {gex.major_pos_vol, gex.major_neg_vol, gex.zero_gamma, gex.major_pos_oi,
                          gex.major_neg_oi};
  for (int32_t level = 0; level < kFirstGammaLevel; ++level) {
    updateLevel(sc, nextDrawingKey, level, levels[level], settings, premiums);
  }
  // Sums, not prices: written as they are, also when 0.
  writeFiniteOutput(sc, kNetGexVolumeOutput, gex.sum_gex_vol);
  writeFiniteOutput(sc, kNetGexOpenInterestOutput, gex.sum_gex_oi);
  writeMaxChanges(sc, gex, premiums);
}

}  // namespace

void drawMajorLevels(HostStudyInterface& sc, int32_t& nextDrawingKey, int32_t /*isGreekProfile*/,
                     const GexProfile& gex, const GreekProfile& greek, float additive,
                     float multiplier) {
  nextDrawingKey = kFirstDrawingKey;
  const tarvio::ProfileFamily family =
      tarvio::greekOption(readIndex(inputAt(sc, kGreekInput))).family;
  const LevelSettings settings(sc);
  const Premiums premiums{additive, multiplier};
  switch (family) {
    case tarvio::ProfileFamily::Gex:
      updateGex(sc, nextDrawingKey, gex, settings, premiums);
      break;
    case tarvio::ProfileFamily::Gamma:
      updateLevel(sc, nextDrawingKey, kFirstGammaLevel, greek.major_long_gamma, settings, premiums);
      updateLevel(sc, nextDrawingKey, kFirstGammaLevel + 1, greek.major_short_gamma, settings,
                  premiums);
      break;
    case tarvio::ProfileFamily::Delta:
      // The delta kinds keep the gamma outputs current but draw no lines.
      writeLevelOutput(sc, kFirstGammaLevel, greek.major_long_gamma, premiums);
      writeLevelOutput(sc, kFirstGammaLevel + 1, greek.major_short_gamma, premiums);
      break;
    case tarvio::ProfileFamily::None:
      break;
  }
}

}  // namespace tarvio
