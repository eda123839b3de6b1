#include "render/top_n_filter.h"

#include <algorithm>

namespace tarvio {

namespace {

// N compares as an unsigned 64-bit count after sign extension, so a negative
// N keeps every entry, like 0.
std::size_t keptCount(int32_t n, std::size_t available) {
  if (n == 0) return available;
  const uint64_t wanted = static_cast<uint64_t>(static_cast<int64_t>(n));
  return static_cast<std::size_t>(std::min<uint64_t>(wanted, available));
}

}  // namespace

std::vector<ProfileEntry> filterTopN(std::span<const float> strikes, std::span<const float> values,
                                     int32_t positiveCount, int32_t negativeCount) {
  const std::size_t rows = std::min(strikes.size(), values.size());
  // Each entry is written to both sides and kept by the side its sign picks:
  // signs of neighbouring strikes are close to random, so this avoids a
  // mispredicted branch per strike.
  std::vector<ProfileEntry> positives(rows);
  std::vector<ProfileEntry> negatives(rows);
  std::size_t positiveRows = 0;
  std::size_t negativeRows = 0;
  for (std::size_t i = 0; i < rows; ++i) {
    const float value = values[i];
    const ProfileEntry entry{strikes[i], value, static_cast<int32_t>(i)};
    positives[positiveRows] = entry;
    negatives[negativeRows] = entry;
    positiveRows += value > 0.0f ? 1 : 0;
    negativeRows += value < 0.0f ? 1 : 0;
  }
  positives.resize(positiveRows);
  negatives.resize(negativeRows);
  std::sort(positives.begin(), positives.end(),
            [](const ProfileEntry& a, const ProfileEntry& b) { return a.value > b.value; });
  std::sort(negatives.begin(), negatives.end(),
            [](const ProfileEntry& a, const ProfileEntry& b) { return a.value < b.value; });

  const std::size_t keptPositives = keptCount(positiveCount, positives.size());
  const std::size_t keptNegatives = keptCount(negativeCount, negatives.size());
  std::vector<ProfileEntry> kept;
  kept.reserve(keptPositives + keptNegatives);
  kept.insert(kept.end(), positives.begin(), positives.begin() + static_cast<std::ptrdiff_t>(keptPositives));
  kept.insert(kept.end(), negatives.begin(), negatives.begin() + static_cast<std::ptrdiff_t>(keptNegatives));
  return kept;
}

}  // namespace tarvio
