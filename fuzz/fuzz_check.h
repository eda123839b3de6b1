// A broken invariant ends the run at once, so libFuzzer keeps the input that
// broke it as a crash artifact; the line says which check it was.
#pragma once

#include <cstdio>

#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n", __FILE_NAME__, \
                   __LINE__, #condition);                                       \
      __builtin_trap();                                                         \
    }                                                                           \
  } while (0)

// One part of a comparison in a function returning whether all parts hold:
// a part that fails returns false, and when `enforced` ends the run at once,
// naming the part.
#define FUZZ_EXPECT(enforced, condition) \
  do { if (!(condition)) { if (enforced) FUZZ_CHECK(condition); return false; } } while (0)
