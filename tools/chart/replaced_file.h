// A file replaced whole: the new content goes to a temporary file beside it,
// which then takes the file's name in one step, so a reader (a person's
// image viewer, a program watching the status) sees the old content or the
// new, never half of it.
#pragma once

#include <string>
#include <string_view>

namespace chart_tool {

// False with the reason when the temporary file cannot be written or cannot
// take the name; nothing is left behind then.
bool replaceFileWith(const std::string& path, std::string_view content, std::string& error);

}  // namespace chart_tool
