// The study's configuration inputs and output series: their indices, and the
// declarations the set-defaults pass hands to the host.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

inline constexpr int32_t kInputCount = 112;
inline constexpr int32_t kSubgraphCount = 19;

enum InputIndex : int32_t {
  kPackageInput = 0,
  kApiKeyInput = 1,
  kTickerInput = 2,
  kAdditivePremiumInput = 3,
  kMultiplicativePremiumInput = 4,
  kGreekInput = 5,
  kGexDisplayInput = 6,
  kProfileDirectionInput = 7,
  kOriginPositionInput = 8,
  kBarScaleFactorInput = 9,
  kLogarithmicScalingInput = 10,
  kBarTransparencyInput = 11,
  kBarWidthInput = 12,
  kGexVolumeOffsetInput = 13,
  kGexOiOffsetInput = 14,
  kDeltaOffsetInput = 15,
  kGammaOffsetInput = 16,
  // Profile series colours and styles, two inputs each from 17 to 32:
  // call/put GEX volume, call/put GEX OI, positive/negative delta,
  // long/short gamma.
  kCallGexVolumeColorInput = 17,
  kCallGexVolumeStyleInput = 18,
  kPutGexVolumeColorInput = 19,
  kPutGexVolumeStyleInput = 20,
  kCallGexOiColorInput = 21,
  kCallGexOiStyleInput = 22,
  kPutGexOiColorInput = 23,
  kPutGexOiStyleInput = 24,
  kPositiveDeltaColorInput = 25,
  kPositiveDeltaStyleInput = 26,
  kNegativeDeltaColorInput = 27,
  kNegativeDeltaStyleInput = 28,
  kLongGammaColorInput = 29,
  kLongGammaStyleInput = 30,
  kShortGammaColorInput = 31,
  kShortGammaStyleInput = 32,
  // Major levels: colour, width, style, three inputs each from 33 to 53, in
  // the order zero gamma, call vol, put vol, call OI, put OI, long gamma,
  // short gamma.
  kZeroGammaColorInput = 33,
  kMajorLevelInputsStride = 3,
  kShowMajorLabelsInput = 54,
  kMajorLabelHorizontalAlignInput = 55,
  kMajorLabelVerticalAlignInput = 56,
  kMajorLabelFontSizeInput = 57,
  kMajorLabelTransparentInput = 58,
  kMajorLabelFormatInput = 59,
  kZeroGammaLabelInput = 60,   // labels 60..66 in the level order above
  kShowZeroGammaInput = 67,    // show flags 67..73 in the level order above
  kCallGexVolumeFilterInput = 74,  // filters 74..81 in the series order above
  kFirstPriorDotDisplayInput = 82,  // display flags 82..92
  kFirstPriorDotColorInput = 93,    // colours 93..103
  kPriorDotsStyleInput = 104,
  kPriorDotsSizeInput = 105,
  kTimeZoneInput = 106,
  kRequestStartTimeInput = 107,
  kRequestEndTimeInput = 108,
  kRequestIntervalInput = 109,
  kAllowCopyToOtherChartsInput = 110,
  kFuturesTargetInput = 111,
};

// The major levels in the order the study keeps their lines (drawing keys from
// kFirstDrawingKey up), each as its place among the level inputs above: the
// GEX levels call and put volume, zero gamma, call and put open interest; then
// the gamma levels long and short, whose lines start again at the first key.
inline constexpr int32_t kLevelInputPlaceInDrawingOrder[] = {1, 2, 0, 3, 4, 5, 6};
inline constexpr int32_t kFirstGammaLevelInDrawingOrder = 5;

// Declares all 112 inputs with their names, kinds, defaults, options and
// display positions, and all 19 subgraphs with their names and attributes.
void declareInputs(HostStudyInterface& sc);
void declareSubgraphs(HostStudyInterface& sc);

}  // namespace tarvio
