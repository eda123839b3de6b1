// Setting a study's inputs from text, as a person types them on a command
// line or in a settings file: the input by its name (any case) or index, the
// value by the input's kind: list inputs by option text or index, colours as
// #RRGGBB, times of day as HH:MM[:SS], yes/no inputs as yes/no, true/false,
// on/off or 1/0, time zones by their table index or a zone's name, dates as
// YYYY-MM-DD. A list option may be typed by any beginning that is its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace chart_host { class StudyInstance; }

namespace chart_tool {

using chart_host::StudyInstance;

}  // namespace chart_tool

namespace chart_tool::inputs {

// The index of the declared input a text names, or -1 with a message that
// suggests the closest names.
int32_t findInput(StudyInstance& instance, std::string_view nameOrIndex, std::string& error);

// Sets the input to the value; false with a message naming the input, the
// value and what its kind takes. The input is unchanged then.
bool assignInput(StudyInstance& instance, std::string_view nameOrIndex, std::string_view value,
                 std::string& error);

// How close a known name is to what a person typed, for suggesting names.
struct CloseName {
  std::size_t candidate;  // its index among the candidates
  std::size_t edits;      // the fewest one-character edits from what was typed
};

// Every candidate ranked by closeness to `typed`, closest first, ties in the
// candidates' order. A candidate is given by the spellings that name it (a
// full name and a short one, say) and counts as close as its closest one;
// case does not count.
std::vector<CloseName> closestNames(std::string_view typed, const std::vector<std::vector<std::string>>& candidates);

}  // namespace chart_tool::inputs
