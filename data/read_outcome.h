// What a reader of service text (a profile, the majors history, the futures
// conversion) did with one answer. Every reader reports in this one shape and
// leaves what it fills untouched unless it says Parsed, so its caller decides
// the same way whichever answer it handed over.
#pragma once

#include <cstdint>

namespace tarvio {

enum class ReadOutcome : int32_t {
  Parsed = 0,  // the answer's content is now in place
  Retry = 1,   // answer not used, nothing changed; requests go on as scheduled
  Halt = 2,    // answer not used, nothing changed; requests stop until a full recalculation
};

}  // namespace tarvio
