// What a recording's header may say of its run, checked by the writer before
// it writes one and by the reader before it trusts one: a step no shorter
// than a run takes, and no more calls over its span than a run could make.
// Kept apart from the index's text so the chart program's options can share
// the bounds (tools/chart/command_line/option_table.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "tools/recording/recorded_exchange.h"

namespace recording {

// The shortest step between calls a run takes: the chart program's --step
// is whole seconds from 1.
inline constexpr int64_t kShortestStep_us = kMicrosecondsPerSecond;

// The most calls a recording's span may hold at its step: above a week at a
// call a second (the longest run on the real clock is a week), far below
// what would keep a replay busy for days or overflow a count.
inline constexpr int64_t kMostRecordedCalls = 1'000'000;

// The most all of a recording's answers may hold together, as a replay holds
// them in memory: a trading day asked every second stays far below it.
inline constexpr uint64_t kMostRecordedAnswerBytes = uint64_t{2} << 30;

// Why `header` is not one a run writes (a step under kShortestStep_us, a span
// of more than kMostRecordedCalls calls), in a few words; empty when it is.
std::string headerRefusal(const RecordingHeader& header);

}  // namespace recording
