#include "tools/chart/outputs/run_log.h"

#include "tools/chart/outputs/key_hiding.h"
#include "tools/support/date_time_text.h"
#include "tools/support/utf8_text.h"

namespace chart_tool::outputs {

bool openOutputFile(std::ofstream& file, const std::string& path, std::string& error) {
  if (path.empty()) return true;
  file.open(path, std::ios::binary | std::ios::trunc);
  if (!file) error = path + ": cannot be written";
  return static_cast<bool>(file);
}

bool RunLog::open(const std::string& path, std::string& error) { return openOutputFile(file_, path, error); }

void RunLog::add(const chart_host::LogLine& line) {
  const HostDateTime now = now_();
  // The program's own lines are notes, or level alerts when marked so.
  if (!chart_host::isHostLine(line)) {
    ++counts_.studyMessages;
    counts_.studyAlerts += line.alert ? 1 : 0;
  } else if (line.alert) {
    ++counts_.levelAlerts;
  }
  const char* mark = line.alert ? "ALERT " : "";
  const std::string text = support::oneLineText(withoutKey(line.text, apiKey_));
  if (file_.is_open()) file_ << support::formatDateTime(now) << "  " << mark << text << "\n" << std::flush;
  console_.logLine(support::formatTimeOfDay(now) + "  " + mark + text);
}

}  // namespace chart_tool::outputs
