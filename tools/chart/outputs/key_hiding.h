// The service key is the user's secret: whatever the chart program writes of
// its own (the status file, the summary, the line of a halted run) passes
// through here, so a key the service or the study quotes back is never shown.
#pragma once

#include <string>
#include <string_view>

namespace chart_tool::outputs {

inline constexpr const char* kHiddenKey = "<API KEY>";

// The text with every occurrence of `key` replaced by kHiddenKey. Keys of
// fewer than 4 characters are left: they would match ordinary words of the
// texts ("API", "Key") and hide nothing a key of that length protects.
std::string withoutKey(std::string_view text, const std::string& key);

}  // namespace chart_tool::outputs
