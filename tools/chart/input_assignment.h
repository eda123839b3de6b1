// Setting a study's inputs from text, as a person types them on a command
// line or in a settings file: the input by its name (any case) or index, the
// value by the input's kind: list inputs by option text or index, colours as
// #RRGGBB, times of day as HH:MM[:SS], yes/no inputs as yes/no, true/false,
// on/off or 1/0, time zones by their table index, dates as YYYY-MM-DD.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace chart_host { class StudyInstance; }

namespace chart_tool {

using chart_host::StudyInstance;

// The index of the declared input a text names, or -1 with a message that
// suggests the closest names.
int32_t findInput(StudyInstance& instance, std::string_view nameOrIndex, std::string& error);

// Sets the input to the value; false with a message naming the input, the
// value and what its kind takes. The input is unchanged then.
bool assignInput(StudyInstance& instance, std::string_view nameOrIndex, std::string_view value,
                 std::string& error);

}  // namespace chart_tool
