#include "render/series_settings.h"

#include "study/input_readers.h"
#include "study/study_inputs.h"

namespace tarvio {

namespace {

// Where a family's settings sit among the inputs. The series' colour and
// style inputs come in pairs from 17 (positive, then negative) and their
// filters in pairs from 74, both in the order GEX volume, GEX OI, delta,
// gamma; the prior-dot switches run from 82 and their colours from 93.
struct SeriesInputs {
  int32_t offset;
  int32_t pairIndex;
  int32_t firstPriorFlag;
  int32_t priorCount;
};

SeriesInputs inputsOf(SeriesFamily family) {
  switch (family) {
    case SeriesFamily::GexVolume:
      return {kGexVolumeOffsetInput, 0, kFirstPriorDotDisplayInput, 5};
    case SeriesFamily::GexOpenInterest:
      return {kGexOiOffsetInput, 1, kFirstPriorDotDisplayInput, 0};
    case SeriesFamily::Delta:
      return {kDeltaOffsetInput, 2, kFirstPriorDotDisplayInput + 5, 3};
    case SeriesFamily::Gamma:
      break;
  }
  return {kGammaOffsetInput, 3, kFirstPriorDotDisplayInput + 8, 3};
}

ProfileSeries readSettings(HostStudyInterface& sc, SeriesFamily family, PriorDotLists& dots) {
  const SeriesInputs inputs = inputsOf(family);
  ProfileSeries series{};
  series.offsetTicks = readInteger(inputAt(sc, inputs.offset));
  const int32_t look = kCallGexVolumeColorInput + 4 * inputs.pairIndex;
  series.positive = {readColor(inputAt(sc, look)), readIndex(inputAt(sc, look + 1))};
  series.negative = {readColor(inputAt(sc, look + 2)), readIndex(inputAt(sc, look + 3))};
  const int32_t filter = kCallGexVolumeFilterInput + 2 * inputs.pairIndex;
  series.positiveCount = readInteger(inputAt(sc, filter));
  series.negativeCount = readInteger(inputAt(sc, filter + 1));
  series.priorsPerStrike = inputs.priorCount;
  const int32_t colorDistance = kFirstPriorDotColorInput - kFirstPriorDotDisplayInput;
  for (int32_t k = 0; k < inputs.priorCount; ++k) {
    dots.flags[k] = readYesNo(inputAt(sc, inputs.firstPriorFlag + k));
    dots.colors[k] = readColor(inputAt(sc, inputs.firstPriorFlag + colorDistance + k));
  }
  series.priorFlags = std::span<const int32_t>(dots.flags.data(), inputs.priorCount);
  series.priorColors = std::span<const HostColor>(dots.colors.data(), inputs.priorCount);
  return series;
}

}  // namespace

ProfileSeries readGexSeries(HostStudyInterface& sc, SeriesFamily family, const GexProfile& profile,
                            PriorDotLists& dots) {
  ProfileSeries series = readSettings(sc, family, dots);
  series.strikes = profile.strikes;
  if (family == SeriesFamily::GexOpenInterest) {
    series.values = profile.gex_oi;
  } else {
    series.values = profile.gex_vol;
    series.priors = profile.priors;
  }
  return series;
}

ProfileSeries readGreekSeries(HostStudyInterface& sc, SeriesFamily family,
                              const GreekProfile& profile, PriorDotLists& dots) {
  ProfileSeries series = readSettings(sc, family, dots);
  series.strikes = profile.strikes;
  series.values = profile.greek_value;
  series.priors = profile.priors;
  return series;
}

}  // namespace tarvio
