// The live view's page as the program carries it: the HTML, script and style
// sheet of tools/chart/live/live_page/, built into the program from those files,
// so the page needs nothing from outside.
#pragma once

#include <string_view>
#include <vector>

namespace chart_tool::live {

struct PageFile {
  std::string_view path;         // as requested: "/", "/live.js", ...
  std::string_view contentType;
  std::string_view body;
};

const std::vector<PageFile>& livePageFiles();

}  // namespace chart_tool::live
