// The run's status as a small JSON file, rewritten after every call, for a
// person or a program watching a chart run: whether the levels are live, how
// the service has been answering, and the levels drawn now. Each rewrite
// replaces the file whole (a temporary file in the same folder, renamed over
// it), so a reader never sees half a file.
//
// Its members, the first ones in the order they have always had:
//   now                 the clock's time of the latest call, "YYYY-MM-DD HH:MM:SS"
//   lastGoodAnswer      the time of the call on which the study last took a
//                       profile answer, or null before the first
//   ageSeconds          seconds from the levels' time to now, or null
//   stale               true when the study is asking (window open, not
//                       halted) and took no profile for three request
//                       intervals, or the service's time of the levels is
//                       older than --stale-after
//   calls               ordinary calls of the study so far
//   answers             profile answers the study took (status 200, no alert)
//   historyAnswers      majors-history answers it took; they never count as good
//   refusals            answers delivered with another status than 200 or
//                       refused by the study (an alert on their call)
//   failedTransfers     requests whose transfer failed (nothing delivered)
//   lastHttpStatus      the status of the latest delivered answer, or null
//   lastError           the latest alert of the study or transfer failure
//                       since the last good answer, or null
//   halted              the study has halted its requests (a refused key, a
//                       setting that cannot go into a request)
//   haltReason          the study's alert that halted them, or null
//   requestWindow       "open" or "closed": the study's daily request window now
//   notice              an outage from the call it begins on ("no answer from
//                       the service since 19:50:31: ..."), else what the chart
//                       shows in place of levels while it has none, or null
//   levels              the levels drawn now: [{"name": "ZG", "price": 5790.5}, ...]
//   alerts              the latest alert texts
//   title               the picture's title ("ES_SPX  ·  Classic  ·  ...")
//   dataAge             the title bar's age of the levels, or null
//   warning             "STALE" or "REQUESTS HALTED" as the title bar shows
//                       it, or null while the levels are live
//   lastPrice           the newest bar's close, or null without bars
//   tickSize            the chart's tick size
//   changes             how many times the chart has changed so far: a new
//                       answer, a new or changed bar, an alert, a new mark
//                       (see chart_change.h); what a page watches to know
//                       when to fetch the picture again
//   levelsAgeFrom       "service" when the age counts from the service's own
//                       time of the levels (snapshotTime), else "arrival"
//   snapshotTime        the service's time of the levels, in the chart's
//                       time, or null
//   staleReason         why stale is true, or null
//   lastErrorAt         the time of the call lastError came on, or null
//   studyMessages       the study's messages so far, and of them its alerts
//   studyAlerts
//   levelAlerts         the alerts the run raised on the price meeting a level
//   alertsHeld          why alerts are not judged now (a stale price), or null
//   levelsWarning       levels too far from the price to be of these bars, or null
//   priceTime           the newest bar's time, or null
//   priceAgeSeconds     seconds since the bars last moved, or null
//   priceStale          true when, on a live run inside the request window,
//                       the bars have not moved for three bar periods
//   priceAge            the title bar's age of the price, or null
//   priceWarning        "PRICE STALE" as the title bar shows it, or null
//   barsWarning         what is wrong with the bars file now, or null
//   alertList           the latest alerts in their parts, oldest first:
//                       [{"time": "2026-03-02 10:18:00", "text": ..., "ticker":
//                       "ES_SPX", "kind": "cross" or "near", "direction": "up"
//                       or "down", "level": "ZG", "levelPrice": 5868.82,
//                       "price": 5869.25}, ...]
// The service key never appears in it. Not thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/chart/alerts/raised_alert.h"
#include "tools/chart/run/message_counts.h"
#include "tools/chart/run/price_record.h"
#include "tools/chart/run/service_record.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::live {

using run::ServiceRecord;

// The members after the first ones, of the chart as the picture shows it.
struct StatusExtras {
  std::string title;
  std::string dataAge;
  std::string warning;
  std::optional<float> lastPrice;
  float tickSize = 0;
  int64_t changes = 0;
  const run::PriceRecord* price = nullptr;  // none: no price members beyond lastPrice
  std::string priceAge;
  std::string priceWarning;
  run::MessageCounts messages;
  std::string alertsHeld;
  std::string levelsWarning;
  std::vector<alerts::RaisedAlert> alertList;
};

// The file's text; every text in it has `apiKey` hidden (see withoutKey).
std::string statusJson(const ServiceRecord& record, const std::vector<study_door::DrawnLevel>& levels,
                       const std::vector<std::string>& alerts, const std::string& notice,
                       const std::string& apiKey, const StatusExtras& extras = {});

class StatusFile {
 public:
  // Writes an empty object to `path` the way every status is written, so a
  // file that cannot be kept is found out before the run. False with
  // "PATH: cannot be written (why)". An empty path keeps no file.
  bool open(const std::string& path, std::string& error);
  // Replaces the file's content. The first failure returns its one-line
  // reason, for the caller to tell; later ones return nothing, and every
  // call tries again.
  std::string replace(const std::string& text);

 private:
  bool write(const std::string& text, std::string& error) const;
  std::string path_;
  bool failureTold_ = false;
};

}  // namespace chart_tool::live
