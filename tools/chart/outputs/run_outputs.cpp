#include "tools/chart/outputs/run_outputs.h"

#include <cstdio>
#include <iostream>

#include "tools/chart/run/platform.h"
#include "tools/chart/outputs/series_and_drawings.h"
#include "tools/chart/run/chart_session.h"
#include "tools/chart/live/data_age.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/outputs/picture_title.h"
#include "tools/chart/outputs/run_summary.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/chart/run/call_reader.h"
#include "host/study_instance.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::outputs {

using namespace chart_tool::inputs;
using namespace chart_tool::live;
using namespace chart_tool::run;

using namespace chart_host;

namespace {

bool openFile(std::ofstream& file, const std::string& path, std::string& error) {
  if (path.empty()) return true;
  file.open(path, std::ios::binary | std::ios::trunc);
  if (!file) error = path + ": cannot be written";
  return static_cast<bool>(file);
}

// Output files other than the log are written at the end; a path that cannot
// be written is found out now, not after the run.
bool checkWritable(const std::string& path, std::string& error) {
  std::ofstream probe;
  return openFile(probe, path, error);
}

const char* kindName(int32_t kind) {
  static constexpr const char* kNames[] = {"none", "list", "text", "number", "whole number", "yes/no",
                                           "colour", "time of day", "time zone", "date", "date and time"};
  return kind >= 0 && kind <= 10 ? kNames[kind] : "unknown";
}

std::string listOption(const HostInput& input) {
  const std::string options = hostStringText(input.listOptions);
  std::size_t start = 0;
  for (int32_t i = 0; i < input.intValue && start != std::string::npos; ++i) {
    start = options.find(';', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return std::to_string(input.intValue);
  return options.substr(start, options.find(';', start) - start);
}

}  // namespace

std::string inputValueText(const HostInput& input) {
  switch (input.kind) {
    case kInputList: return listOption(input);
    case kInputText: return input.textValue.text ? hostStringText(input.textValue) : "(no text)";
    case kInputFloat: {
      char text[32];
      std::snprintf(text, sizeof text, "%g", input.floatValue);
      return text;
    }
    case kInputYesNo: return input.intValue != 0 ? "yes" : "no";
    case kInputColor: return colorText(static_cast<uint32_t>(input.intValue));
    case kInputTimeOfDay:
      return support::formatTimeOfDay(static_cast<HostDateTime>(input.dateTimeValue * kMicrosecondsPerDay + 0.5))
          .substr(0, 5);
    case kInputDate:
    case kInputDateTime:
      return support::formatDateTime(static_cast<HostDateTime>(input.dateTimeValue * kMicrosecondsPerDay + 0.5));
    default: return std::to_string(input.intValue);
  }
}

bool RunOutputs::open(const ChartOptions& options, const Clock& clock, std::string& error) {
  options_ = options;
  clock_ = &clock;
  for (const std::string* path : {&options.pngPath, &options.csvPath, &options.drawingsPath})
    if (!checkWritable(*path, error)) return false;
  if (!openFile(log_, options.logPath, error) || !openFile(trace_, options.tracePath, error)) return false;
  if (!status_.open(options.statusPath, error)) return false;
  if (trace_.is_open()) traceCanvas_ = std::make_unique<TraceCanvas>(trace_);
  progressOn_ = options.progress && standardErrorIsTerminal();
  return true;
}

void RunOutputs::logLine(const LogLine& line) {
  const HostDateTime now = clock_->now();
  ++messages_;
  alerts_ += line.alert ? 1 : 0;
  const char* mark = line.alert ? "ALERT " : "";
  if (log_.is_open()) log_ << support::formatDateTime(now) << "  " << mark << line.text << "\n" << std::flush;
  if (options_.quiet) return;
  clearProgressLine();
  std::cerr << support::formatTimeOfDay(now) << "  " << mark << line.text << "\n";
}

void RunOutputs::repaint(ChartSession& session, int64_t repaint, HostDateTime now) {
  if (traceCanvas_) traceCanvas_->beginRepaint(repaint, support::formatDateTime(now));
  session.repaint(traceCanvas_.get());
}

void RunOutputs::startProgress(int64_t totalCalls) {
  totalCalls_ = totalCalls;
  progressOn_ = progressOn_ && totalCalls >= 20;
}

void RunOutputs::showProgress(int64_t done, HostDateTime now) {
  if (!progressOn_ || (done % 5 != 0 && done != totalCalls_)) return;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(done * kWidth / totalCalls_);
  std::fprintf(stderr, "\r[%.*s%.*s] %3d%%  %s  %lld/%lld calls", filled, "##############################",
               kWidth - filled, "..............................", static_cast<int>(done * 100 / totalCalls_),
               support::formatTimeOfDay(now).c_str(), static_cast<long long>(done), static_cast<long long>(totalCalls_));
  std::fflush(stderr);
  progressShown_ = true;
}

void RunOutputs::clearProgressLine() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", stderr);
  progressShown_ = false;
}

void RunOutputs::endProgress() { clearProgressLine(); }

bool RunOutputs::writeEnd(StudyInstance& instance, std::string& error) {
  std::ofstream csv;
  std::ofstream drawings;
  if (!openFile(csv, options_.csvPath, error) || !openFile(drawings, options_.drawingsPath, error)) return false;
  if (csv.is_open()) writeOutputSeriesCsv(instance, csv);
  if (drawings.is_open()) writeDrawingsJson(instance, drawings);
  trace_.flush();
  for (auto [stream, path] : {std::pair<std::ostream*, const std::string*>{&csv, &options_.csvPath},
                              {&drawings, &options_.drawingsPath}, {&trace_, &options_.tracePath}}) {
    if (!path->empty() && !*stream) {
      error = *path + ": writing failed";
      return false;
    }
  }
  return true;
}

std::string RunOutputs::writeStatus(StudyInstance& instance, const ServiceRecord& record,
                                    const std::vector<std::string>& alerts, const ChartPictureOptions& picture,
                                    int64_t changes) {
  const Chart& chart = instance.chart();
  StatusExtras extras{picture.title, picture.dataAge, picture.warning, std::nullopt, chart.tickSize(), changes};
  if (!chart.bars().empty()) extras.lastPrice = chart.bars().back().close;
  const std::vector<study_door::DrawnLevel> levels = study_door::drawnLevels(instance);
  std::string status = statusJson(record, levels, alerts, picture.plotNotice, apiKey_, extras);
  if (options_.statusPath.empty()) return status;
  const std::string failure = status_.replace(status);
  if (failure.empty()) return status;
  clearProgressLine();
  std::cerr << "tarvio-chart: " << withoutKey(failure, apiKey_) << "\n";
  return status;
}

void RunOutputs::printSummary(const ServiceRecord& record) const {
  if (options_.quiet) return;
  std::string summary = "tarvio-chart: " + serviceSummary(record) + "; " + std::to_string(messages_) +
                        " messages (" + std::to_string(alerts_) + " alerts)";
  std::string written;
  for (const std::string* path : {&options_.pngPath, &options_.csvPath, &options_.drawingsPath, &options_.logPath,
                                  &options_.tracePath, &options_.statusPath})
    if (!path->empty()) written += (written.empty() ? "; wrote " : ", ") + *path;
  std::cerr << withoutKey(summary + written, apiKey_) << "\n";
}

void printInputs(StudyInstance& instance, std::ostream& out) {
  for (int32_t i = 0; i < StudyInstance::kInputSlots; ++i) {
    const HostInput& input = instance.input(i);
    if (input.kind == kInputNone) continue;
    out << i << "\t" << hostStringText(input.name) << "\t" << kindName(input.kind) << "\t" << inputValueText(input);
    if (input.kind == kInputList) out << "\t(" << hostStringText(input.listOptions) << ")";
    out << "\n";
  }
}

void markDataAge(ChartPictureOptions& picture, const ServiceRecord& record, StudyInstance& instance) {
  DataAgeMarks marks = dataAgeMarks(record, requestStartText(instance));
  picture.dataAge = std::move(marks.dataAge);
  picture.warning = std::move(marks.warning);
  picture.plotNotice = std::move(marks.plotNotice);
}

}  // namespace chart_tool::outputs
