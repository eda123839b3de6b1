#include "tools/chart/command_line/run_plan.h"

namespace chart_tool::command_line {

namespace {

ChartPlan chartPlanOf(const ChartOptions& o) {
  ChartPlan chart;
  chart.bars = {o.barsPath, o.syntheticFrom, o.barSeconds, o.barCount, o.startPrice, o.seed, false};
  chart.zoneText = o.zoneText;
  chart.tickSize = o.tickSize;
  chart.inputs.settingsPath = o.settingsPath;
  chart.inputs.typed = o.settings;
  chart.alerts = {o.alerts, o.onAlertCommand};
  OutputSettings& out = chart.outputs;
  out.pngPath = o.pngPath;
  out.picture.width = o.width;
  out.picture.height = o.height;
  out.picture.rightSpace_percent = o.rightSpace_percent;
  out.csvPath = o.csvPath;
  out.logPath = o.logPath;
  out.drawingsPath = o.drawingsPath;
  out.tracePath = o.tracePath;
  out.statusPath = o.statusPath;
  out.framesPath = o.framesPath;
  out.frameEverySeconds = o.frameEverySeconds;
  chart.staleAfterSeconds = o.staleAfterSeconds;
  return chart;
}

}  // namespace

RunPlan planOf(const ChartOptions& o) {
  RunPlan plan;
  RunSettings& run = plan.run;
  run.modulePath = o.modulePath;
  run.clock = {o.start, o.end, o.stepSeconds, o.stepGiven, o.realClockSeconds};
  run.service = {o.serviceAddress, o.caFile};
  run.replayPath = o.replayPath;
  run.recordPath = o.recordPath;
  run.livePage = {o.serve, o.servePublic};
  run.console = {o.quiet, o.progress};
  run.listInputs = o.listInputs;
  plan.chart = chartPlanOf(o);
  return plan;
}

}  // namespace chart_tool::command_line
