// The one seam after every call of the study: each feature that reacts to a
// call (alerts, the picture, frames, the chart's changes, status, live view,
// recording, progress, summary) is an observer on the run's list, called in
// the list's order with what the call came to. What an observer works out for
// those after it (the alerts judged, the picture laid out, whether the chart
// changed, the status text) it adds to the call, so the order is stated once,
// where the list is made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/picture/chart_picture.h"
#include "host/study_instance.h"
#include "tools/chart/alerts/raised_alert.h"
#include "tools/chart/run/message_counts.h"
#include "tools/chart/run/price_record.h"
#include "tools/chart/run/service_record.h"

namespace chart_tool::run {

struct CallRecord {
  CallRecord(int64_t number, HostDateTime now, chart_host::StudyInstance& instance, const ServiceRecord& service,
             const PriceRecord& price, const MessageCounts& messages, chart_host::ChartPictureOptions& picture)
      : number(number), now(now), instance(instance), service(service), price(price), messages(messages),
        picture(picture) {}

  const int64_t number;  // from 1
  const HostDateTime now;
  chart_host::StudyInstance& instance;  // the study on its chart: bars, levels, log
  const ServiceRecord& service;    // how the service answered, this call included
  const PriceRecord& price;        // how old the price is
  const MessageCounts& messages;   // the log's lines so far, by kind
  chart_host::ChartPictureOptions& picture;  // laid out by the picture's observer

  // Added on the way down the list.
  std::vector<std::string> alerts;  // the latest alerts, oldest first
  std::vector<alerts::RaisedAlert> raisedAlerts;  // the run's latest alerts in their parts, oldest first
  std::string alertsHeld;           // why alerts are not judged now, or empty
  std::string levelsWarning;        // levels too far from the price for these bars, or empty
  std::string notice;               // what the service's answers come to now, or why no levels show
  bool changed = false;             // the chart changed as a person watching it sees it
  int64_t changes = 0;              // changes so far
  std::string status;               // the run's status text after this call
};

class AfterCall {
 public:
  virtual ~AfterCall() = default;
  virtual void afterCall(CallRecord& call) = 0;
};

}  // namespace chart_tool::run
