// The study's declared inputs as a person reads them (--list-inputs).
#pragma once

#include <ostream>
#include <string>

#include "host/study_instance.h"

namespace chart_tool::outputs {

using chart_host::StudyInstance;

// Every declared input: index, name, kind and value.
void printInputs(StudyInstance& instance, std::ostream& out);

// An input's value as a person reads it: a list's chosen option, a colour
// as #RRGGBB, a time of day as HH:MM, yes or no.
std::string inputValueText(const HostInput& input);

}  // namespace chart_tool::outputs
