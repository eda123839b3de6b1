// The moment the stand-in's pieces are asked about in their tests: Monday
// 2026-03-02 15:00 UTC, inside New York's market hours.
#pragma once

#include <cstdint>

namespace standin {

inline constexpr int64_t kNow = 1772463600;

}  // namespace standin
