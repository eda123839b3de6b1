#include "tools/chart/live/status_report.h"

#include "tools/chart/outputs/key_hiding.h"

namespace chart_tool::live {

void StatusReport::afterCall(run::CallRecord& call) {
  const chart_host::Chart& chart = call.instance.chart();
  const chart_host::ChartPictureOptions& picture = call.picture;
  StatusExtras extras{picture.title, picture.dataAge, picture.warning, std::nullopt, chart.tickSize(), call.changes};
  if (!chart.bars().empty()) extras.lastPrice = chart.bars().back().close;
  call.status = statusJson(call.service, study_door::drawnLevels(call.instance), call.alerts, picture.plotNotice,
                           apiKey_, extras);
  const std::string failure = file_.replace(call.status);
  if (!failure.empty()) console_.tell(outputs::withoutKey(failure, apiKey_));
}

}  // namespace chart_tool::live
