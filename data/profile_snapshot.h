// What every profile snapshot (GEX, gamma or delta) carries whatever its kind:
// when it was taken, for which ticker, at which spot price, its strikes and
// the priors of earlier snapshots per strike. The two profile models build on
// it and size, fill and clear these parts the same way.
// Not thread-safe: the host calls one instance at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "data/json_reading.h"
#include "data/profile_tables.h"
#include "study/host_interface.h"

namespace tarvio {

struct ProfileSnapshot {
  ProfileSnapshot() = default;
  ProfileSnapshot(const ProfileSnapshot&) = delete;
  ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;
  ~ProfileSnapshot() { releaseHostString(ticker); }

  int32_t timestamp = 0;
  HostString ticker{};
  float spot = 0;
  std::vector<float> strikes;
  // A fixed number per strike row (the model's prior intervals), rows
  // concatenated; an interval a row did not carry is NaN (absent, no dot).
  std::vector<float> priors;
};

// Overwrites timestamp, ticker and spot from the response's root (absent
// members read as 0 and empty).
inline void fillSnapshotHeader(const JsonValue& root, ProfileSnapshot& snapshot) {
  snapshot.timestamp = jsonInt32(jsonMember(root, "timestamp"));
  releaseHostString(snapshot.ticker);
  assignHostString(snapshot.ticker, jsonText(jsonMember(root, "ticker")));
  snapshot.spot = jsonFloat(jsonMember(root, "spot"));
}

// A model's summary value and the response member it is read from.
template <class Profile>
struct SummaryField {
  float Profile::*value;
  const char* key;
};

// Reads every summary value from the response's root. Expanded per field at
// compile time, as the lines it replaces were: it is on the measured parse path.
template <class Profile, std::size_t N>
void fillSummary(const JsonValue& root, const SummaryField<Profile> (&fields)[N],
                 Profile& profile) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((profile.*fields[I].value = jsonFloat(jsonMember(root, fields[I].key))), ...);
  }(std::make_index_sequence<N>{});
}

template <class Profile, std::size_t N>
void clearSummary(const SummaryField<Profile> (&fields)[N], Profile& profile) {
  for (const SummaryField<Profile>& field : fields) profile.*field.value = 0;
}

// Sizes the strikes, each of the model's `valueTables` (one cell per row) and
// the priors (`priorsPerRow` per row) for a refill of `rows` rows, in that order.
template <class... Tables>
void resizeRowsForRefill(ProfileSnapshot& snapshot, std::size_t rows, std::size_t priorsPerRow,
                         Tables&... valueTables) {
  resizeForRefill(snapshot.strikes, rows);
  (resizeForRefill(valueTables, rows), ...);
  resizeForRefill(snapshot.priors, rows * priorsPerRow);
}

// Back to the state of a new snapshot: no text, 0, tables empty.
inline void clearSnapshot(ProfileSnapshot& snapshot) {
  snapshot.timestamp = 0;
  releaseHostString(snapshot.ticker);
  snapshot.spot = 0;
  snapshot.strikes.clear();
  snapshot.priors.clear();
}

}  // namespace tarvio
