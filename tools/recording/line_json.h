// What the writers of a recording's index lines share: the JSON writer they
// write a line with, an exact time as text, and the finished line.
#pragma once

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <optional>
#include <string>
#include <string_view>

#include "study/host_interface.h"
#include "tools/support/date_time_text.h"
#include "tools/support/json_text.h"

namespace recording {

using LineWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// `time` to the microsecond as a JSON text; false, with "WHAT TIME is outside
// years 0001 to 9999" in `error`, when it cannot be written.
inline bool writeExactTime(LineWriter& json, HostDateTime time, std::string_view what, std::string& error) {
  const std::optional<std::string> text = support::formatExactDateTime(time);
  if (!text) {
    error = std::string(what) + " " + std::to_string(time) + " is outside years 0001 to 9999";
    return false;
  }
  support::writeJsonString(json, *text);
  return true;
}

// The line the writer holds, ending in a line feed.
inline std::string finishedLine(const rapidjson::StringBuffer& buffer) {
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace recording
