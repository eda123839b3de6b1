// The service key is the user's secret: whatever the chart program writes of
// its own (the status file, the summary, the line of a halted run) passes
// through here, so a key the service or the study quotes back is never shown.
#pragma once

#include <string>
#include <string_view>

namespace chart_tool::outputs {

inline constexpr const char* kHiddenKey = "<API KEY>";

// A key this long or longer cannot be mistaken for data: it is hidden
// wherever the program writes text, the service's own texts included. A
// shorter one (a stand-in's "demo", or "5750") could be a price or a word in
// an answer: it is never searched for there, and is hidden only where the
// program puts it itself (the request header that carries it).
inline constexpr std::size_t kShortestHiddenKey = 8;

// The text with every occurrence of `key` replaced by kHiddenKey; the text as
// it is for a key shorter than kShortestHiddenKey.
std::string withoutKey(std::string_view text, const std::string& key);

// Whether `key` is given but too short to be hidden in texts; the run says so once.
bool keyTooShortToHide(const std::string& key);
inline constexpr const char* kShortKeyNote =
    "note: the service key is shorter than 8 characters, so it cannot be told from the data: it is kept out of "
    "the request headers written, but not searched for in what the service sends";

}  // namespace chart_tool::outputs
