// The settings of one profile series as the inputs give them on this repaint:
// colours, styles, top-N counts, vertical offset and the prior-dot switches
// and colours. Read afresh on every repaint.
#pragma once

#include <array>
#include <cstdint>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "render/profile_series.h"
#include "study/host_interface.h"

namespace tarvio {

enum class SeriesFamily { GexVolume, GexOpenInterest, Gamma, Delta };

// Room for the most prior intervals a series has (GEX: 1, 5, 10, 15, 30 min).
inline constexpr int32_t kMostPriorsPerStrike = 5;

// The prior dots' switches and colours of one series; the series' spans
// point into it, so it must outlive the series.
struct PriorDotLists {
  std::array<int32_t, kMostPriorsPerStrike> flags{};
  std::array<HostColor, kMostPriorsPerStrike> colors{};
};

ProfileSeries readGexSeries(HostStudyInterface& sc, SeriesFamily family, const GexProfile& profile,
                            PriorDotLists& dots);
ProfileSeries readGreekSeries(HostStudyInterface& sc, SeriesFamily family,
                              const GreekProfile& profile, PriorDotLists& dots);

}  // namespace tarvio
