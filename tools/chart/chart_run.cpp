#include "tools/chart/chart_run.h"

#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "host/module_loader.h"
#include "host/picture/chart_picture.h"
#include "tools/chart/alerts/alert_watch.h"
#include "tools/chart/command_line/run_plan.h"
#include "tools/chart/inputs/bars_file_follower.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/inputs/zone_names.h"
#include "tools/chart/inputs/synthetic_bars.h"
#include "tools/chart/live/chart_marks.h"
#include "tools/chart/live/live_view_outputs.h"
#include "tools/chart/live/status_report.h"
#include "tools/chart/outputs/chart_repaint.h"
#include "tools/chart/outputs/console.h"
#include "tools/chart/outputs/end_files.h"
#include "tools/chart/outputs/frames_writer.h"
#include "tools/chart/outputs/input_list.h"
#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/outputs/picture_file.h"
#include "tools/chart/outputs/progress_bar.h"
#include "tools/chart/outputs/run_log.h"
#include "tools/chart/outputs/run_summary.h"
#include "tools/chart/replay/replay_run.h"
#include "tools/chart/replay/run_recording.h"
#include "tools/chart/run/after_call.h"
#include "tools/chart/run/call_reader.h"
#include "tools/chart/run/call_span.h"
#include "tools/chart/run/chart_change.h"
#include "tools/chart/run/chart_session.h"
#include "tools/chart/run/platform.h"
#include "tools/chart/run/price_record.h"
#include "tools/chart/run/real_clock.h"
#include "tools/chart/run/request_routes.h"
#include "tools/chart/run/service_record.h"
#include "tools/chart/run/simulated_clock.h"
#include "tools/chart/run/transport_watch.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/support/date_time_text.h"
#include "tools/support/interrupts.h"
#include "tools/support/started_program.h"

namespace chart_tool {

using namespace chart_tool::alerts;
using namespace chart_tool::command_line;
using namespace chart_tool::inputs;
using namespace chart_tool::live;
using namespace chart_tool::outputs;
using namespace chart_tool::replay;
using namespace chart_tool::run;

using namespace chart_host;

namespace {

// The simulated clock runs hours in seconds: against the real service it would
// send a request every step and mix today's levels into a past day.
constexpr const char* kSimulatedClockNeedsStandin =
    "the simulated clock (--start, --end, --step) only talks to a stand-in of the service: give "
    "--service-address ADDRESS:PORT, or use --real-clock SECONDS for the real service";

// The study on its chart. Members go in reverse order: the instance first,
// the chart it is on last.
struct PlacedStudy {
  Chart chart;
  std::unique_ptr<StudyInstance> instance;
};

// The command line resolved once into the run's plan, with the recording a
// replay reads; nothing, with the reason, when that cannot be read.
std::optional<RunPlan> resolvePlan(const ChartOptions& commandLine, std::optional<recording::Recording>& recorded,
                                   std::string& error) {
  const RunPlan typed = planOf(commandLine);
  if (typed.run.replayPath.empty()) return typed;
  RunPlan resolved;
  recorded = openReplay(typed, resolved, error);
  if (!recorded) return std::nullopt;
  return resolved;
}

// Tells the chart's failure in one line; its exit status.
int failWith(Console& console, int status, const std::string& message) {
  console.tell(message);
  return status;
}

// A replay's recorded inputs first, then the settings file's, then each
// --set and --api-key in order.
bool applyInputs(StudyInstance& instance, const InputsSettings& inputs, std::string& error) {
  InputSettings settings = inputs.recorded;
  const std::size_t recorded = settings.size();
  if (!inputs.settingsPath.empty()) {
    std::optional<InputSettings> fromFile = readSettingsFile(inputs.settingsPath, error);
    if (!fromFile) return false;
    settings.insert(settings.end(), fromFile->begin(), fromFile->end());
  }
  const std::size_t fromFile = settings.size();
  settings.insert(settings.end(), inputs.typed.begin(), inputs.typed.end());
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (!assignInput(instance, settings[i].first, settings[i].second, error)) {
      if (i < recorded) error = inputs.recordingPath + ": recorded input: " + error;
      else if (i < fromFile) error = inputs.settingsPath + ": " + error;
      return false;
    }
  }
  return true;
}

// Places the module's study on a chart of the plan's zone and tick size,
// with the plan's inputs.
bool placeStudy(const RunPlan& plan, const LoadedModule& module, PlacedStudy& placed, std::string& error) {
  const std::optional<std::string> zoneText = chartZoneTextOf(plan.chart.zoneText, error);
  if (!zoneText || !placed.chart.setZone(*zoneText, &error)) {
    error = "--zone: " + error;
    return false;
  }
  placed.chart.setTickSize(plan.chart.tickSize);
  placed.instance = std::make_unique<StudyInstance>(placed.chart, module.studyFunction(), 1);
  placed.instance->runSetDefaultsPass();
  return applyInputs(*placed.instance, plan.chart.inputs, error);
}

// On the real clock the bars file is followed as its writer adds to it; a
// problem reading it, and each line skipped, is told once in `told` for the
// call's log, and the chart keeps the bars it has.
void followBarsFile(ChartSession& session, BarsFileFollower& follower, std::vector<std::string>& told) {
  session.setBarsFeed([&follower, &told] {
    std::vector<std::string> problems;
    std::vector<Bar> bars = follower.lookAgain(problems);
    for (const std::string& problem : problems)
      told.push_back("--bars: " + problem + (bars.empty() ? "; the chart keeps the bars it has" : ""));
    return bars;
  });
}

// What one chart writes, opened before the run so that a path that cannot
// be written stops it at the start.
struct ChartOutputs {
  ChartOutputs(Console& console, std::function<HostDateTime()> now, const std::string& apiKey)
      : log(console, std::move(now), apiKey), status(console, apiKey) {}

  bool open(const OutputSettings& settings, std::string& error) {
    frames.beginAt(settings.from);
    return endFiles.open(settings, error) && log.open(settings.logPath, error) &&
           repaint.open(settings.tracePath, error) && status.open(settings.statusPath, error) &&
           (settings.framesPath.empty() ||
            frames.open(settings.framesPath, static_cast<int64_t>(settings.frameEverySeconds * kMicrosecondsPerSecond),
                        error));
  }

  EndFiles endFiles;
  RunLog log;
  ChartRepaint repaint;
  StatusReport status;
  FramesWriter frames;
};

// What the run keeps of every call: how the service answered and how old
// the price is, with where the bars file's trouble on the call comes from.
struct CallRecords {
  ServiceRecord service;
  PriceRecord price;
  std::function<BarsTrouble()> barsTrouble;
};

// Calls the study at every step of the span and hands each call to the
// observers in their order; stops early when the service cannot be reached.
int callThroughSpan(ChartSession& session, const CallSpan& span, StudyInstance& instance,
                    const TransportWatch& transfers, CallRecords& records, const MessageCounts& messages,
                    ChartPictureOptions& picture, const std::vector<AfterCall*>& observers, Console& console) {
  CallReader reader(instance);
  ServiceRecord& service = records.service;
  for (int64_t call = 0; call < span.calls() && !support::interrupted(); ++call) {
    const HostDateTime now = session.callWhenDue(span.timeOf(call));
    service.noteCall(reader.read(now));
    if (const std::string note = service.takeNote(); !note.empty())
      instance.log().add(std::string(kHostLineMark) + "note: " + note, false);
    BarsTrouble bars = records.barsTrouble();
    for (const std::string& told : bars.told) instance.log().add(std::string(kHostLineMark) + told, false);
    records.price.noteCall(now, instance.chart().bars(), service.windowOpen(), std::move(bars));
    CallRecord record(call + 1, now, instance, service, records.price, messages, picture);
    for (AfterCall* observer : observers) observer->afterCall(record);
    const TransportTally tally = session.awaitsAnswers()
                                     ? transfers.settledTally(chart_host::HttpFacility::kDefaultAnswerWaitLimit)
                                     : transfers.tally();
    if (serviceUnreachable(tally)) {
      console.tell("cannot reach the service: " + tally.lastError +
                   " (check the network, --service-address and --ca-file)");
      return kExitUnreachable;
    }
  }
  return kExitDone;
}

// Writes the picture and the files of the end, each whatever became of the
// other; the first failure is told, unless the run has failed already.
int writeResults(int status, const OutputSettings& settings, StudyInstance& instance,
                 const ChartPictureOptions& picture, ChartOutputs& outputs, Console& console) {
  std::string error;
  auto failed = [&] { return status != kExitDone ? status : failWith(console, kExitOutput, error); };
  if (!settings.pngPath.empty() && !writePictureFile(instance, picture, settings.pngPath, error)) status = failed();
  if (!outputs.endFiles.write(instance, error) || !outputs.repaint.finish(error)) status = failed();
  error = outputs.frames.failure();
  if (!error.empty()) status = failed();
  return status;
}

// What this build or the study's inputs rule out before anything runs: a
// picture the build cannot make, a replay the study would leave by
// its own network. Empty when nothing is.
std::string refusalBeforeStart(const RunPlan& plan, StudyInstance& instance, bool replaying) {
  const std::string noPicture = pictureUnavailableReason();
  if (!noPicture.empty() && !plan.chart.outputs.pngPath.empty()) return "--png: " + noPicture;
  if (!noPicture.empty() && !plan.chart.outputs.framesPath.empty()) return "--frames: " + noPicture;
  // The ticker starts every alert's text, the --on-alert program's argument,
  // which would take a leading '-' for an option.
  if (const std::string ticker = study_door::typedTicker(instance); ticker.rfind('-', 0) == 0)
    return "the Ticker input '" + ticker + "' begins with '-', which no ticker does";
  return replaying ? replayRefusal(instance) : std::string();
}

// The end of a run that wrote its outputs: the summaries, and exit 4 with
// the study's reason when it had stopped asking.
int reportEndOfRun(const RunSummary& summary, const ServiceRecord& service, const RunRecording* recording,
                   HostDateTime replayEnds, Console& console) {
  summary.print(service);
  if (recording && !console.quiet()) console.tell(recording->summary());
  if (replayEnds != 0 && !console.quiet())
    console.tell("the recording ends at " + support::formatDateTime(replayEnds));
  if (!service.halted()) return kExitDone;
  const std::string reason = service.haltReason().empty() ? "the study stopped asking" : service.haltReason();
  return failWith(console, kExitHalted, "requests halted: " + reason);
}

// The study's transport: the recording's answers on a replay, or the
// service's; written into a new recording when one is asked for; watched for
// how its transfers end. Null, with the exit status in `status` and the
// reason told, when it cannot be made.
std::shared_ptr<TransportWatch> connectStudy(const RunPlan& plan, std::optional<recording::Recording>& recorded,
                                             const Clock& clock, const CallSpan& span, const std::vector<Bar>& bars,
                                             const std::string& apiKey, StudyInstance& instance, Console& console,
                                             std::optional<RunRecording>& recording, ReplayAnswers& replay,
                                             int& status) {
  std::string error;
  if (recorded) replay = makeReplayAnswers(std::move(*recorded), clock, instance);
  std::shared_ptr<HttpTransport> transport = recorded ? replay.transport : makeServiceTransport(plan.run.service, error);
  if (!transport) {
    status = failWith(console, kExitUsage, error);
    return nullptr;
  }
  if (!plan.run.recordPath.empty()) {
    if (!recording.emplace(console).open(plan.run.recordPath, span, clock, instance, bars,
                                         plan.chart.bars.synthetic(), apiKey, error)) {
      status = failWith(console, kExitOutput, error);
      return nullptr;
    }
    transport = recording->wrap(transport);
    if (!console.quiet() && study_door::futuresTargetSet(instance)) console.tell(kFuturesNotRecorded);
  }
  auto watch = std::make_shared<TransportWatch>(transport);
  instance.setHttpTransport(watch);
  if (const std::string note = futuresRouteNote(plan.run, instance); !note.empty()) console.tell(note);
  return watch;
}

// The bars the run shows, checked against its span: the exit status and the
// reason told when they cannot be had or would show nothing; a warning told
// when the first calls see no bar yet.
int loadBarsOfSpan(const RunPlan& plan, const Chart& chart, const CallSpan& span, bool replaying, BarText& read,
                   Console& console) {
  std::string error;
  const ClockSettings& clock = plan.run.clock;
  if (!loadBars(plan.chart, clock, chart, span, read, error)) return failWith(console, kExitUsage, error);
  if (!console.quiet())
    for (const SkippedBarLine& skipped : read.skipped)
      console.tell("warning: --bars: " + skippedLineText(plan.chart.bars.path, skipped));
  const std::vector<Bar>& bars = read.bars;
  if (!clock.real() && plan.run.service.address.empty() && !replaying)
    return failWith(console, kExitUsage, kSimulatedClockNeedsStandin);
  // A replay of recorded calls shows the bars the run's chart held at each.
  const SpanAndBars meeting = span.times.empty() ? checkSpanMeetsBars(clock, span, bars) : SpanAndBars{};
  if (!meeting.error.empty()) return failWith(console, kExitUsage, meeting.error);
  if (!meeting.warning.empty() && !console.quiet()) console.tell("warning: " + meeting.warning);
  return kExitDone;
}

// What a run has settled before its first call: its plan, the study on its
// chart, the recording it replays, its clock, its calls and its bars.
struct ReadyRun {
  const RunPlan& plan;
  PlacedStudy& placed;
  std::optional<recording::Recording>& recorded;
  Clock& clock;
  const CallSpan& span;
  std::vector<Bar> bars;
  std::vector<SkippedBarLine> skipped;  // lines of the bars file left out at the start
  HostDateTime replayEnds = 0;  // the end of the recording a replay repeats; 0: not a replay
  bool live = false;            // on the real clock, or a replay of a run on it
  std::string alertProgram;     // the file --on-alert names, found at the start; empty: none
  Console& console;
  const ChartPart& part;        // the module, the page and the alert programs of the run
};

// On the real clock every bar shows from the start; a bars file is followed
// as its writer adds to it, and made-up bars form as time passes.
void showBarsLive(ChartSession& session, const ReadyRun& ready, std::vector<std::string>& told,
                  std::optional<BarsFileFollower>& follower, std::optional<SyntheticBarsFeed>& synthetic) {
  session.showAllBars();
  const ChartPlan& chart = ready.plan.chart;
  if (!chart.bars.path.empty()) {
    followBarsFile(session, follower.emplace(chart.bars.path, ready.placed.chart, ready.skipped), told);
    return;
  }
  synthetic.emplace(syntheticBarsPlan(chart, true, ready.span));
  const Clock& clock = ready.clock;
  session.setBarsFeed([&synthetic, &clock] { return synthetic->barsUpTo(clock.now()); });
}

// A replay of a recording of calls: the bars the run's chart held before its
// first call, then at each call the bars that changed on it and the answer
// the run was handed on it.
void repeatRecordedCalls(ChartSession& session, RecordedCalls& calls) {
  if (calls.barsBeforeFirstCall()) session.showAllBars();
  session.setBeforeCall([&calls] { calls.beforeCall(); });
  session.setBarsFeed([&calls] { return calls.changedBars(); });
  session.setAnswersHandedByCall();
}

// "1 call", "2 calls".
std::string callsText(int64_t calls) { return std::to_string(calls) + (calls == 1 ? " call" : " calls"); }

// The records a run keeps of its calls. The bars file's trouble on a call is
// a replay's as recorded, else what the follower told (and its warning once
// it follows the file), else what the start found.
CallRecords recordsOf(const ReadyRun& ready, const std::optional<BarsFileFollower>& follower,
                      std::vector<std::string>& told, const RecordedCalls* recorded) {
  const ChartPlan& chart = ready.plan.chart;
  std::string atStart = ready.skipped.empty() ? std::string() : skippedLineText(chart.bars.path, ready.skipped.back());
  CallRecords records{ServiceRecord(chart.staleAfterSeconds), PriceRecord(ready.live, chart.bars.synthetic()), {}};
  if (recorded) {
    records.barsTrouble = [recorded] { return recorded->barsTrouble(); };
  } else {
    records.barsTrouble = [&follower, &told, atStart] {
      return BarsTrouble{std::exchange(told, {}), follower ? follower->warning() : atStart};
    };
  }
  return records;
}

// Runs the calls with the features that react to them, in the order they
// react: alerts are judged first, so the picture, the status, the page and
// the recording show them; the chart's change is known before the status
// and page that count it; progress and the summary come last.
int runCalls(ReadyRun ready) {
  const RunPlan& plan = ready.plan;
  const ChartPlan& chart = plan.chart;
  StudyInstance& instance = *ready.placed.instance;
  std::string error;
  Console& console = ready.console;
  const std::string apiKey = study_door::serviceKey(instance);
  console.keepKeyOut(apiKey);
  const ChartSession* calling = nullptr;  // once the calls begin, messages carry their call's time
  ChartOutputs outputs(console, [&] { return calling ? calling->callTime() : ready.clock.now(); }, apiKey);
  if (keyTooShortToHide(apiKey) && !console.quiet()) console.tell(kShortKeyNote);
  if (!outputs.open(chart.outputs, error)) return failWith(console, kExitOutput, error);
  instance.log().setSink([&outputs](const LogLine& line) { outputs.log.add(line); });
  std::optional<RunRecording> recording;
  ReplayAnswers replay;
  int failed = kExitDone;
  const std::shared_ptr<TransportWatch> watch = connectStudy(plan, ready.recorded, ready.clock, ready.span, ready.bars,
                                                             apiKey, instance, console, recording, replay, failed);
  if (!watch) return failed;
  LiveOutputs live;
  if (!live.open(ready.part.page, ready.clock.simulated() ? std::string() : chart.outputs.pngPath,
                 ready.clock.waitWork(), [&console](const std::string& line) { console.tell(line); }, error))
    return failWith(console, kExitOutput, error);

  ChartSession session(instance, replay.calls && !replay.calls->barsBeforeFirstCall() ? std::vector<Bar>()
                                                                                        : std::move(ready.bars),
                       ready.clock);
  calling = &session;
  std::optional<BarsFileFollower> follower;
  std::optional<SyntheticBarsFeed> synthetic;
  std::vector<std::string> barsTold;
  if (!ready.clock.simulated()) showBarsLive(session, ready, barsTold, follower, synthetic);
  if (replay.calls) repeatRecordedCalls(session, *replay.calls);
  AlertWatch alerts(instance, chart.alerts.raise, ready.alertProgram, chart.tickSize, ready.part.alertsRunning);
  ChartMarks marks(apiKey);
  ChartChanges changes;
  ProgressBar progress(console, ready.span.calls());
  RunSummary summary(chart.outputs, outputs.log, console);
  std::vector<AfterCall*> observers = {&alerts,  &marks,          &outputs.repaint, &outputs.frames,
                                       &changes, &outputs.status, &live};
  if (recording) observers.push_back(&*recording);
  observers.insert(observers.end(), {&progress, &summary});
  ChartPictureOptions picture = chart.outputs.picture;
  CallRecords records = recordsOf(ready, follower, barsTold, replay.calls.get());
  const ServiceRecord& service = records.service;
  support::noteInterrupts();
  const int ran = callThroughSpan(session, ready.span, instance, *watch, records, outputs.log.counts(), picture,
                                  observers, console);
  progress.end();
  if (support::interrupted() && !console.quiet())
    console.tell("interrupted after " + callsText(summary.calls()) + "; writing what was drawn");
  int status = writeResults(ran, chart.outputs, instance, picture, outputs, console);
  live.stop();
  alerts.end();
  instance.runLastCall(true);
  ready.placed.instance.reset();
  if (status != kExitDone) return status;
  return reportEndOfRun(summary, service, recording ? &*recording : nullptr, ready.replayEnds, console);
}

// The chart's study placed and checked, the recording it replays opened and
// its alert program found, then its calls run. Its exit status.
int placeAndRun(const ChartOptions& options, const ChartPart& part, Console& console) {
  std::string error;
  std::optional<recording::Recording> recorded;
  const std::optional<RunPlan> resolved = resolvePlan(options, recorded, error);
  if (!resolved) return failWith(console, kExitUsage, error);
  const RunPlan& plan = *resolved;
  PlacedStudy placed;
  if (!placeStudy(plan, *part.module, placed, error)) return failWith(console, kExitUsage, error);
  StudyInstance& instance = *placed.instance;
  if (const std::string refusal = refusalBeforeStart(plan, instance, recorded.has_value()); !refusal.empty())
    return failWith(console, kExitUsage, refusal);
  // Found now, so that a program that is not there stops the run at its
  // start, not at its first alert.
  std::string alertProgram;
  if (!plan.chart.alerts.command.empty()) {
    const support::Result<std::string> found = support::findProgram(plan.chart.alerts.command);
    if (!found) return failWith(console, kExitUsage, "--on-alert: " + found.message());
    alertProgram = found.value();
  }
  if (recorded && !recorded->note.empty() && !console.quiet()) console.tell("note: " + recorded->note);
  if (plan.run.listInputs) {
    printInputs(instance, std::cout);
    return kExitDone;
  }

  RealClock realClock(placed.chart);
  const ReplaySpan replay = recorded ? replaySpan(plan.run.clock, *recorded) : ReplaySpan{};
  if (!console.quiet())
    for (const std::string& note : replay.notes) console.tell("note: " + note);
  const CallSpan span = recorded ? replay.span : callSpanOf(plan.run.clock, realClock.now());
  BarText bars;
  if (const int loaded = loadBarsOfSpan(plan, placed.chart, span, recorded.has_value(), bars, console);
      loaded != kExitDone)
    return loaded;
  SimulatedClock simulatedClock(span.first);
  Clock& clock = plan.run.clock.real() ? static_cast<Clock&>(realClock) : simulatedClock;
  const bool live = plan.run.clock.real() || (recorded && !recorded->header.simulatedClock);
  return runCalls(ReadyRun{plan, placed, recorded, clock, span, std::move(bars.bars), std::move(bars.skipped),
                           replay.recordingEnds, live, alertProgram, console, part});
}

}  // namespace

int reportFailure(int status, const std::string& message) {
  std::cerr << "tarvio-chart: " << message << "\n";
  return status;
}

ChartEnd runOneChart(const ChartOptions& options, const ChartPart& part) {
  Console console(ConsoleSettings{options.quiet, options.progress}, part.name);
  const int status = placeAndRun(options, part, console);
  return ChartEnd{status, status == kExitDone ? std::string() : console.lastTold()};
}

}  // namespace chart_tool
