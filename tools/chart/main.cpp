// tarvio-chart: runs a study module on one chart, as a charting host would,
// and writes what it drew. Everything worth testing lives in host/; this file
// only turns the command line into a run and the run into files.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/chart/chart_options.h"
#include "tools/chart/chart_platform.h"
#include "tools/chart/chart_run_output.h"
#include "tools/chart/bar_file.h"
#include "host/calendar_text.h"
#include "tools/chart/chart_session.h"
#include "tools/chart/input_assignment.h"
#include "host/module_loader.h"
#include "host/picture/chart_picture.h"
#include "tools/chart/synthetic_bars.h"
#include "tools/chart/transport_watch.h"

using namespace chart_host;
using namespace chart_tool;

namespace {

constexpr int kExitOutput = 1;
constexpr int kExitUsage = 2;
constexpr int kExitUnreachable = 3;
// A service that failed this many transfers and never answered is not there.
constexpr int kFailuresBeforeGivingUp = 3;

int fail(int status, const std::string& message) {
  std::cerr << "tarvio-chart: " << message << "\n";
  return status;
}

HostDateTime realChartTime(const Chart& chart) {
  const auto since1970 = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  const HostDateTime utc = dayNumberOfDate(1970, 1, 1) * kMicrosecondsPerDay + since1970.count();
  HostDateTime local = utc;
  chart.convertFromZone(utc, "UTC+00", local);
  return local;
}

// 10:15 on the last weekday before the chart's today.
HostDateTime defaultStart(const Chart& chart) {
  int64_t day = realChartTime(chart) / kMicrosecondsPerDay - 1;
  while (true) {
    const int64_t weekday = ((day - 1) % 7 + 7) % 7;  // day 0 was a Saturday
    if (weekday != 0 && weekday != 6) break;
    --day;
  }
  return day * kMicrosecondsPerDay + (10 * 60 + 15) * kMicrosecondsPerMinute;
}

bool applyInputs(StudyInstance& instance, const ChartOptions& options, std::string& error) {
  std::vector<InputSetting> settings;
  if (!options.settingsPath.empty() && !readSettingsFile(options.settingsPath, settings, error))
    return false;
  const std::size_t fromFile = settings.size();
  settings.insert(settings.end(), options.settings.begin(), options.settings.end());
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (!assignInput(instance, settings[i].first, settings[i].second, error)) {
      if (i < fromFile) error = options.settingsPath + ": " + error;
      return false;
    }
  }
  return true;
}

std::vector<Bar> loadBars(const ChartOptions& options, const Chart& chart, HostDateTime firstCall, HostDateTime lastCall,
                          std::string& error) {
  if (!options.barsPath.empty()) {
    BarText read;
    if (!readBarFile(options.barsPath, read, error)) return {};
    if (read.utc) {
      for (Bar& bar : read.bars) chart.convertFromZone(bar.dateTime, "UTC+00", bar.dateTime);
    }
    return read.bars;
  }
  const int64_t barMicros = options.barSeconds * kMicrosecondsPerSecond;
  SyntheticBarsPlan plan;
  plan.barMicroseconds = barMicros;
  plan.startPrice = options.startPrice;
  plan.tickSize = options.tickSize;
  plan.seed = options.seed;
  if (options.realClockSeconds > 0) {
    // The newest bar is forming now.
    plan.count = options.barCount > 0 ? options.barCount : 120;
    plan.firstBar = (lastCall / barMicros - (plan.count - 1)) * barMicros;
  } else {
    const HostDateTime nine = firstCall / kMicrosecondsPerDay * kMicrosecondsPerDay + 9 * 60 * kMicrosecondsPerMinute;
    plan.firstBar = options.syntheticFrom.value_or(nine < firstCall ? nine : firstCall - 60 * kMicrosecondsPerMinute);
    plan.count = options.barCount > 0
                     ? options.barCount
                     : static_cast<int32_t>(std::max<int64_t>((lastCall - plan.firstBar) / barMicros + 1, 1));
  }
  return makeSyntheticBars(plan);
}

}  // namespace

int main(int argc, char** argv) {
  ChartOptions options;
  std::string error;
  if (!parseChartOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
    return fail(kExitUsage, error);
  if (options.help) {
    std::cout << chartOptionsHelp();
    return 0;
  }

  const std::string modulePath = options.modulePath.empty() ? moduleBesideProgram() : options.modulePath;
  std::unique_ptr<LoadedModule> module = ModuleLoader::load(modulePath, error);
  if (!module) return fail(kExitUsage, error);

  Chart chart;
  if (!chart.setZone(options.zoneText, &error)) return fail(kExitUsage, "--zone: " + error);
  chart.setTickSize(options.tickSize);
  auto instance = std::make_unique<StudyInstance>(chart, module->studyFunction(), 1);
  instance->runSetDefaultsPass();
  if (!applyInputs(*instance, options, error)) return fail(kExitUsage, error);
  if (!options.pngPath.empty() && !pictureUnavailableReason().empty())
    return fail(kExitUsage, "--png: " + pictureUnavailableReason());
  if (options.listInputs) {
    printInputs(*instance, std::cout);
    return 0;
  }

  const bool realClock = options.realClockSeconds > 0;
  const HostDateTime firstCall = realClock ? realChartTime(chart) : options.start.value_or(defaultStart(chart));
  const HostDateTime lastCall =
      realClock ? firstCall + static_cast<int64_t>(options.realClockSeconds * kMicrosecondsPerSecond)
                : options.end.value_or(firstCall + 45 * kMicrosecondsPerMinute);
  std::vector<Bar> bars = loadBars(options, chart, firstCall, lastCall, error);
  if (bars.empty()) return fail(kExitUsage, error);

  RunOutputs outputs;
  if (!outputs.open(options, error)) return fail(kExitUsage, error);
  instance->log().setSink([&outputs, &chart](const LogLine& line) { outputs.logLine(line, chart); });

  std::shared_ptr<HttpTransport> transport = makeServiceTransport(options, error);
  if (!transport) return fail(kExitUsage, error);
  auto watch = std::make_shared<TransportWatch>(transport);
  instance->setHttpTransport(watch);

  ChartSession session(*instance, std::move(bars));
  if (realClock) session.showAllBars();
  ChartPictureOptions picture;
  picture.width = options.width;
  picture.height = options.height;
  const int64_t step = options.stepSeconds * kMicrosecondsPerSecond;
  const int64_t totalCalls = (lastCall - firstCall) / step + 1;
  outputs.startProgress(totalCalls);
  int status = 0;
  const auto realStart = std::chrono::steady_clock::now();
  for (int64_t call = 0; call < totalCalls; ++call) {
    HostDateTime now = firstCall + call * step;
    if (realClock) {
      std::this_thread::sleep_until(realStart + std::chrono::microseconds(call * step));
      now = realChartTime(chart);
    }
    outputs.setClock(now);
    session.callAt(now, !realClock);
    picture.title = chartTitle(*instance, now);
    layOutChartPicture(*instance, picture);
    outputs.repaint(session, call + 1, now);
    outputs.showProgress(call + 1, now);
    const TransportTally tally = watch->tally();
    if (tally.delivered == 0 && tally.failedInARow >= kFailuresBeforeGivingUp) {
      outputs.endProgress();
      status = fail(kExitUnreachable, "cannot reach the service: " + tally.lastError +
                                          " (check the network, --service-address and --ca-file)");
      break;
    }
  }
  outputs.endProgress();

  if (!options.pngPath.empty() && !writeChartPicture(*instance, picture, options.pngPath, error))
    status = status != 0 ? status : fail(kExitOutput, error);
  if (!outputs.writeEnd(*instance, error)) status = status != 0 ? status : fail(kExitOutput, error);
  instance->runLastCall(true);
  instance.reset();
  if (status == 0) outputs.printSummary(options, session.calls());
  return status;
}
