#include "tools/chart/zone_names.h"

#include <cstring>

#include "study/time_zone_table.h"

namespace chart_tool {

namespace {

// In the order of the module's table: a city keeping that zone's time and its
// daylight rule, or the offset itself where no one city stands for it.
constexpr const char* kZoneTimeNames[] = {
    "chart time",       "Honolulu time",  "Anchorage time",   "Los Angeles time", "Phoenix time",
    "Denver time",      "Chicago time",   "New York time",    "Halifax time",     "UTC",
    "London time",      "Berlin time",    "Johannesburg time", "Athens time",     "Riyadh time",
    "Moscow time",      "Samara time", "Dubai time", "Karachi time", "Kolkata time",
    "Dhaka time",       "Jakarta time",   "Hong Kong time",   "Tokyo time",       "Brisbane time",
    "Sydney time",      "UTC+12",         "Auckland time",    "chart time",
};
static_assert(sizeof kZoneTimeNames / sizeof kZoneTimeNames[0] == tarvio::kTimeZoneCount,
              "one name for every entry of the module's zone table");

}  // namespace

const char* zoneTimeName(const char* zoneText) {
  if (zoneText == nullptr || *zoneText == '\0') return kZoneTimeNames[0];
  for (int32_t i = 0; i < tarvio::kTimeZoneCount; ++i)
    if (std::strcmp(tarvio::TimeZoneTable[i], zoneText) == 0) return kZoneTimeNames[i];
  return kZoneTimeNames[0];
}

}  // namespace chart_tool
