// Instruction counts of both sides of the 500-row pair, for callgrind: on a
// shared, noisy machine they repeat where times do not. Each loop is a
// function of its own that is never inlined, so callgrind can count it alone
// (--toggle-collect='bareParseLoop*' or 'parseAndFillLoop*').
#pragma once

#include <string>
#include <vector>

#include "bench/profile_parsing.h"
#include "bench/profile_response_generator.h"

inline constexpr int kInstructionRows = 500;
inline constexpr int kInstructionPasses = 4;

// Parses every body `passes` times over; returns how many parsed.
int bareParseLoop(const std::vector<std::string>& bodies, int passes);

// Parse-and-fills every body `passes` times over into one profile; returns
// how many came back Parsed.
int parseAndFillLoop(HostStudyInterface& sc, const std::vector<std::string>& bodies, int passes,
                     GexProfile& profile);
int parseAndFillLoop(HostStudyInterface& sc, const std::vector<std::string>& bodies, int passes,
                     GreekProfile& profile);

// The program's --instructions mode: both loops over the corpus of `kind` at
// kInstructionRows rows. Returns the exit status.
int runInstructionLoops(ProfileKind kind);
