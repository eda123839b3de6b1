// What every profile snapshot (GEX, gamma or delta) carries besides its
// strike table: when it was taken, for which ticker, at which spot price.
// The two profile models build on it; it is read and cleared the same way
// for both. Not thread-safe: the host calls one instance at a time.
#pragma once

#include <cstdint>

#include "data/json_reading.h"
#include "study/host_interface.h"

namespace tarvio {

struct ProfileSnapshotHeader {
  ProfileSnapshotHeader() = default;
  ProfileSnapshotHeader(const ProfileSnapshotHeader&) = delete;
  ProfileSnapshotHeader& operator=(const ProfileSnapshotHeader&) = delete;
  ~ProfileSnapshotHeader() { releaseHostString(ticker); }

  int32_t timestamp = 0;
  HostString ticker{};
  float spot = 0;
};

// Overwrites all three from the response's root (absent members read as 0
// and empty).
inline void fillSnapshotHeader(const JsonValue& root, ProfileSnapshotHeader& header) {
  header.timestamp = jsonInt32(jsonMember(root, "timestamp"));
  releaseHostString(header.ticker);
  assignHostString(header.ticker, jsonText(jsonMember(root, "ticker")));
  header.spot = jsonFloat(jsonMember(root, "spot"));
}

inline void clearSnapshotHeader(ProfileSnapshotHeader& header) {
  header.timestamp = 0;
  releaseHostString(header.ticker);
  header.spot = 0;
}

}  // namespace tarvio
