#include "study/carry_forward.h"

#include <algorithm>

namespace tarvio {

void carryForwardOutputs(HostStudyInterface& sc, int32_t seriesCount) {
  if (sc.barCount <= 1) return;
  const int32_t last = std::max(sc.barCount - 1, 0);
  const int32_t previous = std::max(sc.barCount - 2, 0);
  HostSubgraph& first = subgraphAt(sc, 0);
  // A NaN on the newest bar counts as a value: nothing is copied.
  if (!(subgraphValueAt(first, last) == 0.0f && subgraphValueAt(first, previous) > 0.0f)) return;
  for (int32_t i = 0; i < seriesCount; ++i) {
    HostSubgraph& series = subgraphAt(sc, i);
    subgraphValueAt(series, last) = subgraphValueAt(series, previous);
  }
}

}  // namespace tarvio
