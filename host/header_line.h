// What may stand in an HTTP request line or header line as it is: the one
// rule the study's requests are checked against when the host accepts them
// and again by each transport before anything is sent.
//
// No control byte (0x00-0x1F, 0x7F) may appear: a CR or LF would start a line
// the study never wrote, a NUL would cut the line short, the others have no
// business in a header. The horizontal tab is the exception, as HTTP allows it
// inside a header value; names and request targets refuse it on their own.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace chart_host {

// Text without control bytes other than the horizontal tab.
bool fitsOnOneLine(std::string_view text);

// A header name: not empty, fits on one line, and no ':', ';', space or tab,
// which would end the name early or be read as another kind of line.
bool isHeaderName(std::string_view name);

// Every name is a header name and every value fits on one line.
bool headersFitTheirLines(const std::vector<std::pair<std::string, std::string>>& headers);

}  // namespace chart_host
