#include "render/major_levels.h"

#include <array>
#include <cmath>
#include <optional>

#include "render/level_line.h"
#include "render/profile_kind.h"
#include "study/chart_price.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

namespace tarvio {

namespace {

// Positions of the levels among the level inputs (colour, width and style
// from 33 in threes; label from 60; show switch from 67).
enum LevelInputs : int32_t {
  kZeroGammaLevel = 0,
  kCallVolumeLevel = 1,
  kPutVolumeLevel = 2,
  kCallOpenInterestLevel = 3,
  kPutOpenInterestLevel = 4,
  kLongGammaLevel = 5,
  kShortGammaLevel = 6,
  kLevelCount = 7,
};

// Output series written here.
enum LevelOutputs : int32_t {
  kMajorCallVolumeOutput = 0,
  kMajorPutVolumeOutput = 1,
  kZeroGammaOutput = 2,
  kMajorCallOpenInterestOutput = 3,
  kMajorPutOpenInterestOutput = 4,
  kMajorLongGammaOutput = 5,
  kMajorShortGammaOutput = 6,
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
      const int32_t first = kZeroGammaColorInput + kMajorLevelInputsStride * level;
      assignHostString(labels_[level], readText(inputAt(sc, kZeroGammaLabelInput + level)));
      looks_[level] = LevelLineLook{readColor(inputAt(sc, first)), readInteger(inputAt(sc, first + 1)),
                                    readIndex(inputAt(sc, first + 2)),
                                    readYesNo(inputAt(sc, kShowZeroGammaInput + level)) != 0,
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

struct Premiums {
  float additive;
  float multiplier;
  std::optional<float> price(float level) const { return chartPrice(level, multiplier, additive); }
};

float& outputAt(HostStudyInterface& sc, int32_t output) {
  return subgraphValueAt(subgraphAt(sc, output), sc.currentBarIndex);
}

// A level of exactly 0 means the snapshot has none, and so does one that is
// not a finite price: the output keeps its value.
void writeLevelOutput(HostStudyInterface& sc, int32_t output, float level, const Premiums& premiums) {
  if (level == 0.0f) return;
  if (const std::optional<float> price = premiums.price(level)) outputAt(sc, output) = *price;
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
    if (const std::optional<float> price = premiums.price(strike)) outputAt(sc, strikeOutput) = *price;
    writeFiniteOutput(sc, strikeOutput + 1, change);
    const bool rising = entry.size() == 2 && change > 0.0f;
    subgraphColorAt(subgraphAt(sc, strikeOutput), sc.currentBarIndex) =
        rising ? kRisingChangeColor : kFallingChangeColor;
  }
}

void drawLevel(HostStudyInterface& sc, int32_t& nextDrawingKey, float level, int32_t which,
               const LevelSettings& settings, const Premiums& premiums) {
  drawLevelLine(sc, nextDrawingKey, level, settings.look(which), premiums.additive,
                premiums.multiplier, settings.shared());
}

void updateGex(HostStudyInterface& sc, int32_t& nextDrawingKey, const GexProfile& gex,
               const LevelSettings& settings, const Premiums& premiums) {
  writeLevelOutput(sc, kMajorCallVolumeOutput, gex.major_pos_vol, premiums);
  writeLevelOutput(sc, kMajorPutVolumeOutput, gex.major_neg_vol, premiums);
  writeLevelOutput(sc, kZeroGammaOutput, gex.zero_gamma, premiums);
  writeLevelOutput(sc, kMajorCallOpenInterestOutput, gex.major_pos_oi, premiums);
  writeLevelOutput(sc, kMajorPutOpenInterestOutput, gex.major_neg_oi, premiums);

  drawLevel(sc, nextDrawingKey, gex.major_pos_vol, kCallVolumeLevel, settings, premiums);
  drawLevel(sc, nextDrawingKey, gex.major_neg_vol, kPutVolumeLevel, settings, premiums);
  drawLevel(sc, nextDrawingKey, gex.zero_gamma, kZeroGammaLevel, settings, premiums);
  drawLevel(sc, nextDrawingKey, gex.major_pos_oi, kCallOpenInterestLevel, settings, premiums);
  drawLevel(sc, nextDrawingKey, gex.major_neg_oi, kPutOpenInterestLevel, settings, premiums);

  // Sums, not prices: written as they are, also when 0.
  writeFiniteOutput(sc, kNetGexVolumeOutput, gex.sum_gex_vol);
  writeFiniteOutput(sc, kNetGexOpenInterestOutput, gex.sum_gex_oi);
  writeMaxChanges(sc, gex, premiums);
}

void writeGammaOutputs(HostStudyInterface& sc, const GreekProfile& greek, const Premiums& premiums) {
  writeLevelOutput(sc, kMajorLongGammaOutput, greek.major_long_gamma, premiums);
  writeLevelOutput(sc, kMajorShortGammaOutput, greek.major_short_gamma, premiums);
}

}  // namespace

void drawMajorLevels(HostStudyInterface& sc, int32_t& nextDrawingKey, int32_t /*isGreekProfile*/,
                     const GexProfile& gex, const GreekProfile& greek, float additive,
                     float multiplier) {
  nextDrawingKey = kFirstDrawingKey;
  const ProfileKindFamily family = familyOfKind(readIndex(inputAt(sc, kGreekInput)));
  const LevelSettings settings(sc);
  const Premiums premiums{additive, multiplier};
  switch (family) {
    case ProfileKindFamily::Gex:
      updateGex(sc, nextDrawingKey, gex, settings, premiums);
      break;
    case ProfileKindFamily::Gamma:
      writeGammaOutputs(sc, greek, premiums);
      drawLevel(sc, nextDrawingKey, greek.major_long_gamma, kLongGammaLevel, settings, premiums);
      drawLevel(sc, nextDrawingKey, greek.major_short_gamma, kShortGammaLevel, settings, premiums);
      break;
    case ProfileKindFamily::Delta:
      // The delta kinds keep the gamma outputs current but draw no lines.
      writeGammaOutputs(sc, greek, premiums);
      break;
    case ProfileKindFamily::None:
      break;
  }
}

}  // namespace tarvio
