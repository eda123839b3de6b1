#include "tools/chart/charts_run.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "host/module_loader.h"
#include "tools/chart/chart_run.h"
#include "tools/chart/command_line/board_file.h"
#include "tools/chart/live/live_view.h"
#include "tools/chart/live/live_view_server.h"
#include "tools/chart/replay/board_recording.h"
#include "tools/chart/run/platform.h"
#include "tools/support/utf8_path.h"

namespace chart_tool {

using namespace chart_tool::command_line;
using namespace chart_tool::replay;

namespace {

// A run's only chart writes its files into --out by this name.
constexpr const char* kSingleChartFileName = "chart";

// The charts a run shows, in order, with the board's text to record (empty
// for a run's only chart, which has no name).
struct ChartsOfRun {
  std::vector<BoardChart> charts;
  std::string boardText;
};

// A board's recording replayed: each chart from its own recording, with the
// board's names, alerts and tick sizes; the bars, zone and inputs are the
// recording's, as a chart's replay takes them.
std::optional<ChartsOfRun> boardReplayOf(const ChartOptions& commandLine, std::string& error) {
  ChartOptions asRecorded = commandLine;
  asRecorded.replayPath.clear();
  const std::string boardFile = commandLine.replayPath + "/" + kBoardRecordingFile;
  std::optional<Board> board = readBoardFile(boardFile, asRecorded, error);
  if (!board) return std::nullopt;
  ChartsOfRun run{{}, board->text};
  for (const BoardChart& chart : board->charts) {
    ChartOptions options = commandLine;
    options.replayPath = chartRecordingFolder(commandLine.replayPath, chart.name);
    options.alerts = chart.options.alerts;
    options.tickSize = chart.options.tickSize;
    run.charts.push_back(BoardChart{chart.name, std::move(options)});
  }
  return run;
}

std::optional<ChartsOfRun> chartsOf(const ChartOptions& commandLine, std::string& error) {
  if (!commandLine.replayPath.empty() && isBoardRecording(commandLine.replayPath))
    return boardReplayOf(commandLine, error);
  if (commandLine.boardPath.empty()) return ChartsOfRun{{BoardChart{"", commandLine}}, {}};
  std::optional<Board> board = readBoardFile(commandLine.boardPath, commandLine, error);
  if (!board) {
    error = "--board " + error;
    return std::nullopt;
  }
  return ChartsOfRun{std::move(board->charts), std::move(board->text)};
}

// The chart's files in the --out folder, by its name, where no option of
// its own names them; frames on the simulated clock only, and pictures only
// where the build can draw them.
void writeInto(const std::string& folder, const std::string& name, ChartOptions& options) {
  const auto put = [&](std::string& path, const std::string& file) {
    if (path.empty()) path = folder + "/" + file;
  };
  const bool pictures = run::pictureUnavailableReason().empty();
  if (pictures) put(options.pngPath, name + ".png");
  put(options.csvPath, name + ".csv");
  put(options.drawingsPath, name + "-drawings.json");
  put(options.logPath, name + "-log.txt");
  put(options.statusPath, name + "-status.json");
  if (pictures && options.realClockSeconds <= 0) put(options.framesPath, "frames/" + name);
}

// Where each chart writes and records: its files in --out, its recording in
// the board's. False with the exit status told when a folder cannot be made.
bool prepareFolders(const ChartOptions& commandLine, ChartsOfRun& run, int& status) {
  std::string error;
  if (!commandLine.outPath.empty()) {
    std::error_code failure;
    std::filesystem::create_directories(support::pathFromUtf8(commandLine.outPath), failure);
    if (failure) {
      status = reportFailure(kExitOutput, "--out " + commandLine.outPath + ": cannot be made: " + failure.message());
      return false;
    }
    for (BoardChart& chart : run.charts)
      writeInto(commandLine.outPath, chart.name.empty() ? kSingleChartFileName : chart.name, chart.options);
  }
  if (run.boardText.empty() || commandLine.recordPath.empty()) return true;
  if (!beginBoardRecording(commandLine.recordPath, run.boardText, error)) {
    status = reportFailure(kExitOutput, "--record " + error);
    return false;
  }
  for (BoardChart& chart : run.charts) chart.options.recordPath = chartRecordingFolder(commandLine.recordPath, chart.name);
  return true;
}

// The run's one live page over its charts (--serve), told in one line; null
// when none is asked for, or when it cannot be served, with the exit status.
std::unique_ptr<live::LiveView> startLiveView(const ChartOptions& commandLine, const ChartsOfRun& run, int& status) {
  if (!commandLine.serve || commandLine.listInputs) return nullptr;
  if (const std::string reason = live::liveViewUnavailableReason(); !reason.empty()) {
    status = reportFailure(kExitUsage, "--serve: " + reason);
    return nullptr;
  }
  std::vector<std::string> names;
  for (const BoardChart& chart : run.charts) names.push_back(chart.name);
  std::string error;
  std::unique_ptr<live::LiveView> view =
      live::LiveView::start(live::LivePageSettings{commandLine.serve, commandLine.servePublic}, names, error);
  if (!view) status = reportFailure(kExitOutput, error);
  else std::cerr << "tarvio-chart: live view at " << view->url() << "\n" << std::flush;
  return view;
}

// Each chart on its own thread, so a call one chart's study holds up (a
// futures conversion waits up to 20 s) holds up no other; a run's only
// chart on the program's own thread. A chart that fails is shown failed on
// the page while the others go on.
std::vector<ChartEnd> runSideBySide(const ChartsOfRun& run, const chart_host::LoadedModule& module,
                                    live::LiveView* view) {
  std::vector<ChartEnd> ends(run.charts.size());
  alerts::AlertCommand::RunningCount alertsRunning;
  const auto runOne = [&](std::size_t i) {
    const BoardChart& chart = run.charts[i];
    live::LiveBoard* page = view ? &view->board(i) : nullptr;
    ends[i] = runOneChart(chart.options, ChartPart{chart.name, &module, page, &alertsRunning});
    if (page && ends[i].status != kExitDone) page->publishFailed(ends[i].reason);
  };
  if (run.charts.size() == 1) {
    runOne(0);
    return ends;
  }
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < run.charts.size(); ++i) threads.emplace_back(runOne, i);
  for (std::thread& thread : threads) thread.join();
  return ends;
}

}  // namespace

int runCharts(const ChartOptions& commandLine) {
  std::string error;
  std::optional<ChartsOfRun> run = chartsOf(commandLine, error);
  if (!run) return reportFailure(kExitUsage, error);
  const std::string modulePath = commandLine.modulePath.empty() ? run::moduleBesideProgram() : commandLine.modulePath;
  const std::unique_ptr<chart_host::LoadedModule> module = chart_host::ModuleLoader::load(modulePath, error);
  if (!module) return reportFailure(kExitUsage, error);
  int status = kExitDone;
  if (!prepareFolders(commandLine, *run, status)) return status;
  const std::unique_ptr<live::LiveView> view = startLiveView(commandLine, *run, status);
  if (status != kExitDone) return status;
  for (const ChartEnd& end : runSideBySide(*run, *module, view.get()))
    if (end.status != kExitDone) return end.status;
  return kExitDone;
}

}  // namespace chart_tool
