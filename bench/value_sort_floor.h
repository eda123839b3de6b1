// The floor of a GEX "Both" repaint: each series' values copied into a
// scratch buffer and sorted, as the repaint ranks each series on its own.
//
// One ascending sort orders both sides of a series, the negatives from the
// front and the positives from the back, which is all the ranking the drawing
// needs. The repaint instead splits a series by sign and sorts (strike,
// value, index) entries per side: two smaller sorts of wider elements, a
// cost of its design that the floor leaves out. The copy stays in, as the
// profile must not change and the repaint gathers the values too. Sorting
// both series in one buffer would be no closer: the repaint never ranks one
// series against the other, and one sort of twice the values costs more.
#pragma once

#include <vector>

#include "data/gex_profile.h"

// Leaves the GEX-by-open-interest values of `profile`, sorted, in `scratch`.
void sortSeriesValues(const GexProfile& profile, std::vector<float>& scratch);
