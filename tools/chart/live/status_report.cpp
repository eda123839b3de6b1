#include "tools/chart/live/status_report.h"

#include <algorithm>


namespace chart_tool::live {

void StatusReport::afterCall(run::CallRecord& call) {
  const chart_host::Chart& chart = call.instance.chart();
  const chart_host::ChartPictureOptions& picture = call.picture;
  StatusExtras extras;
  extras.title = picture.title;
  extras.dataAge = picture.dataAge;
  extras.warning = picture.warning;
  extras.lastPrice = call.price.lastPrice();
  extras.tickSize = chart.tickSize();
  extras.changes = call.changes;
  extras.price = &call.price;
  extras.priceAge = picture.priceAge;
  extras.priceWarning = picture.priceWarning;
  extras.messages = call.messages;
  extras.alertsHeld = call.alertsHeld;
  extras.levelsWarning = call.levelsWarning;
  // As many as the texts of "alerts": the newest.
  const std::vector<alerts::RaisedAlert>& raised = call.raisedAlerts;
  const std::size_t listed = std::min(raised.size(), call.alerts.size());
  extras.alertList.assign(raised.end() - static_cast<std::ptrdiff_t>(listed), raised.end());
  call.status = statusJson(call.service, study_door::drawnLevels(call.instance), call.alerts, call.notice, apiKey_,
                           extras);
  const std::string failure = file_.replace(call.status);
  if (!failure.empty()) console_.tell(failure);
}

}  // namespace chart_tool::live
