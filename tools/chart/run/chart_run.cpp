#include "tools/chart/run/chart_run.h"

#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "host/module_loader.h"
#include "host/picture/chart_picture.h"
#include "tools/chart/alerts/alert_watch.h"
#include "tools/chart/inputs/bars_file_follower.h"
#include "tools/chart/run/platform.h"
#include "tools/chart/outputs/run_outputs.h"
#include "tools/chart/run/chart_session.h"
#include "tools/chart/outputs/frames_writer.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/live/live_view_outputs.h"
#include "tools/chart/outputs/picture_file.h"
#include "tools/chart/outputs/picture_title.h"
#include "tools/chart/run/real_clock.h"
#include "tools/chart/replay/replay_run.h"
#include "tools/chart/replay/run_recording.h"
#include "tools/chart/run/run_plan.h"
#include "tools/chart/live/service_record.h"
#include "tools/chart/run/request_routes.h"
#include "tools/chart/run/simulated_clock.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/chart/run/call_reader.h"
#include "tools/chart/run/transport_watch.h"
#include "tools/chart/inputs/zone_names.h"
#include "tools/support/interrupts.h"

namespace chart_tool::run {

using namespace chart_tool::alerts;
using namespace chart_tool::inputs;
using namespace chart_tool::live;
using namespace chart_tool::outputs;
using namespace chart_tool::replay;

using namespace chart_host;

namespace {

// The simulated clock runs hours in seconds: against the real service it would
// send a request every step and mix today's levels into a past day.
constexpr const char* kSimulatedClockNeedsStandin =
    "the simulated clock (--start, --end, --step) only talks to a stand-in of the service: give "
    "--service-address ADDRESS:PORT, or use --real-clock SECONDS for the real service";

// The study on its chart. Members go in reverse order: the instance first,
// the module it runs from last.
struct PlacedStudy {
  std::unique_ptr<LoadedModule> module;
  Chart chart;
  std::unique_ptr<StudyInstance> instance;
};

// A replay's recorded inputs first, then the settings file's, then each
// --set and --api-key in order.
bool applyInputs(StudyInstance& instance, const ChartOptions& options, std::string& error) {
  InputSettings settings = options.recordedSettings;
  const std::size_t recorded = settings.size();
  if (!options.settingsPath.empty()) {
    std::optional<InputSettings> fromFile = readSettingsFile(options.settingsPath, error);
    if (!fromFile) return false;
    settings.insert(settings.end(), fromFile->begin(), fromFile->end());
  }
  const std::size_t fromFile = settings.size();
  settings.insert(settings.end(), options.settings.begin(), options.settings.end());
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (!assignInput(instance, settings[i].first, settings[i].second, error)) {
      if (i < recorded) error = options.replayPath + ": recorded input: " + error;
      else if (i < fromFile) error = options.settingsPath + ": " + error;
      return false;
    }
  }
  return true;
}

// Loads the module and places its study on a chart of the options' zone and
// tick size, with the options' inputs.
bool placeStudy(const ChartOptions& options, PlacedStudy& placed, std::string& error) {
  const std::string modulePath = options.modulePath.empty() ? moduleBesideProgram() : options.modulePath;
  placed.module = ModuleLoader::load(modulePath, error);
  if (!placed.module) return false;
  const std::optional<std::string> zoneText = chartZoneTextOf(options.zoneText, error);
  if (!zoneText || !placed.chart.setZone(*zoneText, &error)) {
    error = "--zone: " + error;
    return false;
  }
  placed.chart.setTickSize(options.tickSize);
  placed.instance = std::make_unique<StudyInstance>(placed.chart, placed.module->studyFunction(), 1);
  placed.instance->runSetDefaultsPass();
  return applyInputs(*placed.instance, options, error);
}

// On the real clock the bars file is followed as its writer adds to it; a
// problem reading it is the host's line in the log, and the chart keeps the
// bars it has.
void followBarsFile(ChartSession& session, BarsFileFollower& follower, StudyInstance& instance) {
  session.setBarsFeed([&follower, &instance] {
    std::string problem;
    std::vector<Bar> bars = follower.lookAgain(problem);
    if (!problem.empty())
      instance.log().add(std::string(kHostLineMark) + "--bars: " + problem + "; the chart keeps the bars it has", false);
    return bars;
  });
}

// What the run looks at after every call: how the transfers ended, how the
// study judged the answers, the price against the levels, and whether a
// frame is due.
struct RunWatchers {
  const TransportWatch& transfers;
  ServiceRecord& service;
  AlertWatch& alerts;
  FramesWriter& frames;
  RunRecording* recording;  // null when the run is not recorded
};

// Calls the study at every step of the span, with a repaint and the service's
// record after each; stops early when the service cannot be reached.
int callThroughSpan(ChartSession& session, const CallSpan& span, StudyInstance& instance, RunOutputs& outputs,
                    LiveOutputs& live, ChartPictureOptions& picture, const RunWatchers& watchers) {
  ServiceRecord& service = watchers.service;
  const int64_t totalCalls = span.calls();
  outputs.startProgress(totalCalls);
  CallReader reader(instance);
  PictureDescription description;
  for (int64_t call = 0; call < totalCalls && !support::interrupted(); ++call) {
    const HostDateTime now = session.callWhenDue(span.first + call * span.step_us);
    service.noteCall(reader.read(now));
    if (watchers.recording) {
      const std::string failure = watchers.recording->afterCall(instance.chart().bars());
      if (!failure.empty()) {
        outputs.endProgress();
        reportFailure(kExitDone, failure);
      }
    }
    watchers.alerts.look(now);
    description.describe(picture, instance, now);
    markDataAge(picture, service, instance);
    layOutChartPicture(instance, picture);
    outputs.repaint(session, call + 1, now);
    watchers.frames.look(instance, picture, now);
    const std::vector<std::string>& alerts = watchers.alerts.recentAlerts();
    live.noteChart(chartMomentOf(instance, picture, service, alerts));
    live.publish(instance, picture, outputs.writeStatus(instance, service, alerts, picture, live.changes()));
    outputs.showProgress(call + 1, now);
    const TransportTally tally = session.simulated()
                                     ? watchers.transfers.settledTally(chart_host::HttpFacility::kDefaultAnswerWaitLimit)
                                     : watchers.transfers.tally();
    if (serviceUnreachable(tally)) {
      outputs.endProgress();
      return reportFailure(kExitUnreachable, "cannot reach the service: " + tally.lastError +
                                                 " (check the network, --service-address and --ca-file)");
    }
  }
  outputs.endProgress();
  return kExitDone;
}

// Writes the picture and the files of the end, each whatever became of the
// other; the first failure is told, unless the run has failed already.
int writeResults(int status, const ChartOptions& options, StudyInstance& instance,
                 const ChartPictureOptions& picture, RunOutputs& outputs) {
  std::string error;
  auto failed = [&] { return status != kExitDone ? status : reportFailure(kExitOutput, error); };
  if (!options.pngPath.empty() && !writePictureFile(instance, picture, options.pngPath, error)) status = failed();
  if (!outputs.writeEnd(instance, error)) status = failed();
  return status;
}

// What this build or the study's inputs rule out before anything runs: a
// picture or page the build cannot make, a replay the study would leave by
// its own network. Empty when nothing is.
std::string refusalBeforeStart(const ChartOptions& options, StudyInstance& instance, bool replaying) {
  const std::string noPicture = pictureUnavailableReason();
  if (!noPicture.empty() && !options.pngPath.empty()) return "--png: " + noPicture;
  if (!noPicture.empty() && !options.framesPath.empty()) return "--frames: " + noPicture;
  if (options.serve && !liveViewUnavailableReason().empty()) return "--serve: " + liveViewUnavailableReason();
  return replaying ? replayRefusal(instance) : std::string();
}

// The end of a run that wrote its outputs: the summaries, and exit 4 with
// the study's reason when it had stopped asking.
int reportEndOfRun(const ChartOptions& options, const RunOutputs& outputs, const ServiceRecord& service,
                   const RunRecording* recording, const std::string& apiKey) {
  outputs.printSummary(service);
  if (recording && !options.quiet) std::cerr << "tarvio-chart: " << recording->summary() << "\n";
  if (!service.halted()) return kExitDone;
  const std::string reason = service.haltReason().empty() ? "the study stopped asking" : service.haltReason();
  return reportFailure(kExitHalted, withoutKey("requests halted: " + reason, apiKey));
}

// The study's transport: the recording's answers on a replay, or the
// service's; written into a new recording when one is asked for; watched for
// how its transfers end. Null, with the exit status in `status` and the
// reason told, when it cannot be made.
std::shared_ptr<TransportWatch> connectStudy(const ChartOptions& options, std::optional<recording::Recording>& recorded,
                                             const Clock& clock, const CallSpan& span, const std::vector<Bar>& bars,
                                             const std::string& apiKey, StudyInstance& instance,
                                             std::optional<RunRecording>& recording, int& status) {
  std::string error;
  std::shared_ptr<HttpTransport> transport =
      recorded ? makeReplayTransport(std::move(*recorded), clock, instance) : makeServiceTransport(options, error);
  if (!transport) {
    status = reportFailure(kExitUsage, error);
    return nullptr;
  }
  if (!options.recordPath.empty()) {
    if (!recording.emplace().open(options.recordPath, span, clock, instance, bars, apiKey, error)) {
      status = reportFailure(kExitOutput, error);
      return nullptr;
    }
    transport = recording->wrap(transport);
    if (!options.quiet && study_door::futuresTargetSet(instance)) std::cerr << "tarvio-chart: " << kFuturesNotRecorded << "\n";
  }
  auto watch = std::make_shared<TransportWatch>(transport);
  instance.setHttpTransport(watch);
  noteFuturesRoute(options, instance, std::cerr);
  return watch;
}

// The bars the run shows, checked against its span: the exit status and the
// reason told when they cannot be had or would show nothing; a warning told
// when the first calls see no bar yet.
int loadBarsOfSpan(const ChartOptions& options, const Chart& chart, const CallSpan& span, bool replaying,
                   std::vector<Bar>& bars) {
  std::string error;
  if (!loadBars(options, chart, span, bars, error)) return reportFailure(kExitUsage, error);
  if (options.realClockSeconds <= 0 && options.serviceAddress.empty() && !replaying)
    return reportFailure(kExitUsage, kSimulatedClockNeedsStandin);
  const SpanAndBars meeting = checkSpanMeetsBars(options, span, bars);
  if (!meeting.error.empty()) return reportFailure(kExitUsage, meeting.error);
  if (!meeting.warning.empty() && !options.quiet) std::cerr << "tarvio-chart: warning: " << meeting.warning << "\n";
  return kExitDone;
}

// Frames of the run every --frame-every seconds, when asked for; false with
// the reason when their folder cannot be made.
bool openFrames(const ChartOptions& options, FramesWriter& frames, std::string& error) {
  return options.framesPath.empty() ||
         frames.open(options.framesPath, static_cast<int64_t>(options.frameEverySeconds * kMicrosecondsPerSecond),
                     error);
}

// On the real clock every bar shows from the start, and a bars file is
// followed as its writer adds to it.
void showBarsLive(ChartSession& session, const ChartOptions& options, const Chart& chart, StudyInstance& instance,
                  std::optional<BarsFileFollower>& follower) {
  session.showAllBars();
  if (!options.barsPath.empty()) followBarsFile(session, follower.emplace(options.barsPath, chart), instance);
}

// "1 call", "2 calls".
std::string callsText(int64_t calls) { return std::to_string(calls) + (calls == 1 ? " call" : " calls"); }

// The picture's size and space, as the options ask.
ChartPictureOptions pictureOptionsOf(const ChartOptions& options) {
  ChartPictureOptions picture;
  picture.width = options.width;
  picture.height = options.height;
  picture.rightSpace_percent = options.rightSpace_percent;
  return picture;
}

}  // namespace

int reportFailure(int status, const std::string& message) {
  std::cerr << "tarvio-chart: " << message << "\n";
  return status;
}

int runChart(const ChartOptions& commandLine) {
  std::string error;
  ChartOptions options = commandLine;
  std::optional<recording::Recording> recorded;
  if (!options.replayPath.empty() && !(recorded = openReplay(options, error))) return reportFailure(kExitUsage, error);
  PlacedStudy placed;
  if (!placeStudy(options, placed, error)) return reportFailure(kExitUsage, error);
  StudyInstance& instance = *placed.instance;
  if (const std::string refusal = refusalBeforeStart(options, instance, recorded.has_value()); !refusal.empty())
    return reportFailure(kExitUsage, refusal);
  if (recorded && !recorded->note.empty() && !options.quiet) std::cerr << "tarvio-chart: note: " << recorded->note << "\n";
  if (options.listInputs) {
    printInputs(instance, std::cout);
    return kExitDone;
  }

  RealClock realClock(placed.chart);
  const CallSpan span = recorded ? replaySpan(options, recorded->header) : callSpanOf(options, realClock.now());
  std::vector<Bar> bars;
  if (const int loaded = loadBarsOfSpan(options, placed.chart, span, recorded.has_value(), bars); loaded != kExitDone)
    return loaded;
  SimulatedClock simulatedClock(span.first);
  Clock& clock = options.realClockSeconds > 0 ? static_cast<Clock&>(realClock) : simulatedClock;

  RunOutputs outputs;
  if (!outputs.open(options, clock, error)) return reportFailure(kExitOutput, error);
  FramesWriter frames;
  if (!openFrames(options, frames, error)) return reportFailure(kExitOutput, error);
  const std::string apiKey = study_door::serviceKey(instance);
  outputs.hideKey(apiKey);
  instance.log().setSink([&outputs](const LogLine& line) { outputs.logLine(line); });
  std::optional<RunRecording> recording;
  int failed = kExitDone;
  const std::shared_ptr<TransportWatch> watch =
      connectStudy(options, recorded, clock, span, bars, apiKey, instance, recording, failed);
  if (!watch) return failed;
  LiveOutputs live;
  if (!live.open(options, !clock.simulated(), error)) return reportFailure(kExitOutput, error);

  ChartSession session(instance, std::move(bars), clock);
  std::optional<BarsFileFollower> follower;
  if (!clock.simulated()) showBarsLive(session, options, placed.chart, instance, follower);
  AlertWatch alerts(instance, options);
  ChartPictureOptions picture = pictureOptionsOf(options);
  ServiceRecord service;
  support::noteInterrupts();
  const RunWatchers watchers{*watch, service, alerts, frames, recording ? &*recording : nullptr};
  const int ran = callThroughSpan(session, span, instance, outputs, live, picture, watchers);
  if (support::interrupted() && !options.quiet)
    std::cerr << "tarvio-chart: interrupted after " << callsText(session.calls()) << "; writing what was drawn\n";
  int status = writeResults(ran, options, instance, picture, outputs);
  live.stop();
  if (status == kExitDone && !frames.failure().empty()) status = reportFailure(kExitOutput, frames.failure());
  instance.runLastCall(true);
  placed.instance.reset();
  if (status != kExitDone) return status;
  return reportEndOfRun(options, outputs, service, recording ? &*recording : nullptr, apiKey);
}

}  // namespace chart_tool::run
