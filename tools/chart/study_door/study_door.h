// The chart program's one door into the study: what the program reports of
// the study and cannot see as a host alone (which line is which level, the
// ticker and futures target it sends, its request window and halt, what its
// inputs mean, its time-zone table) is read here and nowhere else. Where any
// host sees a fact anyway (the drawings the study placed, an input's name, the
// URL of a request, a line of the message log) the door reads it there; the
// study's persistent store and its tables are read only for what nothing
// outside holds. This header shows none of the module's own headers, so
// nothing of the study leaks past the door. Reads one instance between its
// calls; not thread-safe, like the instance.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/study_instance.h"

namespace chart_tool::study_door {

using chart_host::StudyInstance;

// ---- The levels drawn ----

struct DrawnLevel {
  std::string name;  // the level's label input ("ZG"), or its name when that is blank
  float price = 0;   // where the line is drawn, premiums applied
  int32_t lineNumber = 0;
  HostColor color = 0;
};

// The major levels the study has on the chart now, in the order it keeps
// them; levels without a line are left out.
std::vector<DrawnLevel> drawnLevels(StudyInstance& instance);

// The "timestamp" of the profile the study holds for the family it draws
// (the last answer it took, never one it refused), as a UTC date-time read
// as Unix seconds; none while it holds no profile or the timestamp is 0.
std::optional<HostDateTime> snapshotTimeUtc(StudyInstance& instance);

// ---- The ticker and the futures target ----

// The ticker in the path of one of the study's service requests (a profile
// or a majors history), as the study normalised it; empty for another URL.
std::string tickerOfRequestUrl(const std::string& url);

// The Ticker input as the study sends it, trimmed and upper-cased; empty for
// a blank input.
std::string typedTicker(StudyInstance& instance);

// The ticker the study asks the service for: `requestTicker` (from the URL of
// its latest answered request) when there is one, else the ticker it keeps
// beside its futures target, else the typed one.
std::string tickerSent(StudyInstance& instance, const std::string& requestTicker);

// Whether the Futures Target input is set, so that the module sends its own
// futures conversion (a blank target disables it).
bool futuresTargetSet(StudyInstance& instance);

// The conversion the levels are drawn with: the contract and the premiums.
struct FuturesConversion {
  std::string contract;  // "ESZ6"
  float multiplier = 1;
  float additive = 0;
};

// `contractTaken` (from the study's latest conversion line) or, before one,
// the target the study keeps as asked for, with the premiums in use. None
// while the study keeps no futures target.
std::optional<FuturesConversion> futuresConversion(StudyInstance& instance, const std::string& contractTaken);

// Whether a line of the study's log is a message of its futures conversion,
// which runs beside the service's answers and says nothing of them.
bool isFuturesConversionLine(std::string_view line);

// The contract of a conversion the study logged as taken ("ESZ6"), or empty
// for another line.
std::string contractOfConversionLine(std::string_view line);

// The host the module sends its futures conversion to itself.
const char* futuresConversionHost();

// ---- What the inputs mean ----

// The inputs the title names: the service package and the profile asked for.
const HostInput& packageInput(StudyInstance& instance);
const HostInput& greekInput(StudyInstance& instance);

// The service key the study sends (its "API KEY" input), and whether an
// input index is that input.
std::string serviceKey(StudyInstance& instance);
bool isServiceKeyInput(int32_t index);

// ---- The requests ----

// The study's halt flag: a refused key or a setting that cannot go into a
// request stops its requests until it is recalculated.
bool requestsHalted(StudyInstance& instance);

// The "Request Interval" input, in seconds.
int64_t requestInterval_s(StudyInstance& instance);

// Whether the study's daily request window is open at `now` (the chart's
// wall-clock time), by the study's own rule and the host's zone conversion.
bool requestWindowOpen(StudyInstance& instance, HostDateTime now);

// When the window opens (a time of day) and the zone text it is judged in.
HostDateTime requestStartTime(StudyInstance& instance);
const char* requestZoneText(StudyInstance& instance);

// now - then by the study's own reading of its clock, saturated at the ends
// of the range, so ages the program reports agree with the study's intervals.
int64_t elapsedMicroseconds(HostDateTime now, HostDateTime then);

// ---- The time-zone table ----

// Entries of the table the "Time Zone" input indexes.
inline constexpr int32_t kTimeZoneCount = 29;

// The zone text of a table entry; empty for the entries that leave the zone
// to the host and for an index outside the table. Never null.
const char* zoneTextAt(int32_t index);

}  // namespace chart_tool::study_door
