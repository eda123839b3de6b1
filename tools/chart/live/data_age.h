// How old what the chart shows is, in the words the picture shows: the time
// of the levels (the service's own when it gives one) and their age in the
// title bar, the price's time and age beside them, a mark a trader cannot
// miss when either is no longer live, an outage told on the call it begins,
// and in place of an empty chart the reason it has no levels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/chart/run/price_record.h"
#include "tools/chart/run/service_record.h"

namespace chart_tool::live {

using run::PriceRecord;
using run::ServiceRecord;

struct DataAgeMarks {
  std::string dataAge;       // "levels as of 10:20:05 (service time), 40 s ago"; empty before the first
  std::string warning;       // "STALE" or "REQUESTS HALTED"; empty while the levels are live
  std::string plotNotice;    // why no levels are drawn, while none are
  std::string notice;        // the outage while there is one, else the plot notice
  std::string priceAge;      // "price as of 10:20:00, 5 s ago"; empty without bars
  std::string priceWarning;  // "PRICE STALE", or empty
  std::vector<std::string> banners;  // what must be read while levels are drawn: a refusal, the bars file
};

// `requestStart` is when the window opens, e.g. "09:30 New York time".
DataAgeMarks dataAgeMarks(const ServiceRecord& service, const PriceRecord& price, const std::string& requestStart);

// "no answer from the service since 19:50:31: Couldn't connect to server", or
// "the service refused its answers since 19:50:31 (HTTP 500); levels from
// 19:50:26"; empty while the service answers.
std::string outageText(const ServiceRecord& service);

// "40 s ago" up to 90 s, "3 min ago" up to 90 minutes, then "2 h ago", each
// rounded to the nearest whole unit.
std::string ageText(int64_t age_s);

}  // namespace chart_tool::live
