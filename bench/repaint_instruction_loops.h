// Instruction counts of both sides of the 2000-strike repaint pair, for
// callgrind, as instruction_loops.h does for the parsers. Each loop is a
// function of its own that is never inlined (--toggle-collect='repaintLoop*'
// or 'sortFloorLoop*').
// Instructions favour the floor: its sort loses its time to mispredicted
// branches rather than to instructions, so this ratio reads higher than the
// time ratio. It is meant for seeing where the repaint's work goes.
#pragma once

#include "bench/repaint_scene.h"

inline constexpr int kInstructionStrikes = 2000;
inline constexpr int kRepaintInstructionPasses = 2;

// Repaints every instance of the scene `passes` times over.
void repaintLoop(RepaintScene& scene, int passes);

// Sorts the values of both series of every profile of the scene `passes`
// times over, as the timed floor does.
void sortFloorLoop(const RepaintScene& scene, int passes);

// The program's --instructions repaint mode: both loops over the scene of
// kInstructionStrikes strikes. Returns the exit status.
int runRepaintInstructionLoops();
