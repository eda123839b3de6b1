#include "render/profile_graphics.h"

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "render/profile_geometry.h"
#include "render/profile_series.h"
#include "render/series_settings.h"
#include "study/greek_input.h"
#include "study/host_calls.h"
#include "study/input_readers.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

namespace tarvio {

namespace {

enum GexDisplay : int32_t { kGexVolumeOnly = 0, kGexOpenInterestOnly = 1 };

void drawGex(HostStudyInterface& sc, const GexProfile& profile, ProfileGeometry& geometry,
             const Premiums& premiums) {
  PriorDotLists dots;
  const int32_t display = readIndex(inputAt(sc, kGexDisplayInput));
  if (display == kGexVolumeOnly) {
    geometry.scaleMax = profile.max_abs_gex_vol;
    drawSeries(sc, readGexSeries(sc, SeriesFamily::GexVolume, profile, dots), geometry,
               premiums);
  } else if (display == kGexOpenInterestOnly) {
    geometry.scaleMax = profile.max_abs_gex_oi;
    drawSeries(sc, readGexSeries(sc, SeriesFamily::GexOpenInterest, profile, dots), geometry,
               premiums);
  } else {
    // Both on one scale, so equal values get equal bars; the open-interest
    // bars paint over the volume bars.
    geometry.scaleMax = profile.max_abs_gex;
    drawSeries(sc, readGexSeries(sc, SeriesFamily::GexVolume, profile, dots), geometry,
               premiums);
    drawSeries(sc, readGexSeries(sc, SeriesFamily::GexOpenInterest, profile, dots), geometry,
               premiums);
  }
}

void drawGreek(HostStudyInterface& sc, SeriesFamily family, const GreekProfile& profile,
               ProfileGeometry& geometry, const Premiums& premiums) {
  PriorDotLists dots;
  geometry.scaleMax = profile.max_abs_greek;
  drawSeries(sc, readGreekSeries(sc, family, profile, dots), geometry, premiums);
}

}  // namespace

void drawProfileGraphics(void*, void*, HostStudyInterface& sc) {
  HostCalls host(sc);
  if (host.persistentInt(kProfileReadyKey) == 0) return;
  const auto* gex = static_cast<const GexProfile*>(host.persistentPointer(kGexProfileKey));
  const auto* greek = static_cast<const GreekProfile*>(host.persistentPointer(kGreekProfileKey));
  // Both snapshots must exist, whichever one is drawn.
  if (gex == nullptr || greek == nullptr) return;

  const tarvio::ProfileFamily family =
      tarvio::greekOption(readIndex(inputAt(sc, kGreekInput))).family;
  const bool drawsGex = family == tarvio::ProfileFamily::Gex;
  if ((drawsGex ? gex->strikes : greek->strikes).empty()) return;

  ProfileGeometry geometry;
  if (!buildProfileGeometry(sc, geometry)) return;
  const Premiums premiums{readFloat(inputAt(sc, kAdditivePremiumInput)),
                          readFloat(inputAt(sc, kMultiplicativePremiumInput))};

  switch (family) {
    case tarvio::ProfileFamily::Gex:
      drawGex(sc, *gex, geometry, premiums);
      break;
    case tarvio::ProfileFamily::Gamma:
      drawGreek(sc, SeriesFamily::Gamma, *greek, geometry, premiums);
      break;
    case tarvio::ProfileFamily::Delta:
      drawGreek(sc, SeriesFamily::Delta, *greek, geometry, premiums);
      break;
    case tarvio::ProfileFamily::None:
      break;
  }
}

}  // namespace tarvio
